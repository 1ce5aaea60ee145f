#include "odfpackage.h"

#include <QStringList>
#include <QVector>
#include <QtEndian>
#include <algorithm>

namespace {

const quint32 kLocalSig = 0x04034b50;
const quint32 kCentralSig = 0x02014b50;
const quint32 kEndSig = 0x06054b50;

quint16 u16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
quint32 u32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }

void put16(QByteArray &b, quint16 v)
{
    char c[2];
    qToLittleEndian<quint16>(v, c);
    b.append(c, 2);
}

void put32(QByteArray &b, quint32 v)
{
    char c[4];
    qToLittleEndian<quint32>(v, c);
    b.append(c, 4);
}

struct Entry
{
    QString name;
    int localOffset = 0;
    int localEnd = 0;       // end of its data (and descriptor) in the package
    QByteArray central;     // its central directory record
};

// Reads the central directory; false when zip is not a well-formed package.
bool readEntries(const QByteArray &zip, QVector<Entry> *entries, int *centralOffset)
{
    const int size = zip.size();
    if (size < 22)
        return false;
    int end = -1;
    for (int at = size - 22; at >= 0 && at >= size - 22 - 0xffff; --at) {
        if (u32(zip, at) == kEndSig) {
            end = at;
            break;
        }
    }
    if (end < 0)
        return false;
    const int count = u16(zip, end + 10);
    const qint64 cdSize = u32(zip, end + 12);
    const qint64 cdOffset = u32(zip, end + 16);
    if (cdOffset + cdSize > end)
        return false;
    int at = int(cdOffset);
    for (int i = 0; i < count; ++i) {
        if (at + 46 > end || u32(zip, at) != kCentralSig)
            return false;
        const int nameLen = u16(zip, at + 28);
        const int extraLen = u16(zip, at + 30);
        const int commentLen = u16(zip, at + 32);
        const int recordLen = 46 + nameLen + extraLen + commentLen;
        if (at + recordLen > end)
            return false;
        Entry e;
        e.name = QString::fromUtf8(zip.constData() + at + 46, nameLen);
        e.localOffset = int(u32(zip, at + 42));
        e.central = zip.mid(at, recordLen);
        if (e.localOffset + 30 > cdOffset || u32(zip, e.localOffset) != kLocalSig)
            return false;
        entries->append(e);
        at += recordLen;
    }
    // Each entry runs up to the next one (or the central directory), which
    // keeps a trailing data descriptor with it.
    QVector<int> starts;
    for (const Entry &e : *entries)
        starts << e.localOffset;
    std::sort(starts.begin(), starts.end());
    for (Entry &e : *entries) {
        const auto next = std::upper_bound(starts.cbegin(), starts.cend(), e.localOffset);
        e.localEnd = next == starts.cend() ? int(cdOffset) : *next;
    }
    *centralOffset = int(cdOffset);
    return true;
}

void appendStored(QByteArray &out, QByteArray &central, const QString &name, const QByteArray &data)
{
    const QByteArray n = name.toUtf8();
    const quint32 crc = OdfPackage::crc32(data);
    const quint32 offset = quint32(out.size());
    put32(out, kLocalSig);
    put16(out, 10);            // version needed
    put16(out, 0x0800);        // names in UTF-8
    put16(out, 0);             // stored
    put16(out, 0);             // time
    put16(out, 0x21);          // date: 1980-01-01
    put32(out, crc);
    put32(out, quint32(data.size()));
    put32(out, quint32(data.size()));
    put16(out, quint16(n.size()));
    put16(out, 0);
    out.append(n);
    out.append(data);

    put32(central, kCentralSig);
    put16(central, 20);        // made by
    put16(central, 10);
    put16(central, 0x0800);
    put16(central, 0);
    put16(central, 0);
    put16(central, 0x21);
    put32(central, crc);
    put32(central, quint32(data.size()));
    put32(central, quint32(data.size()));
    put16(central, quint16(n.size()));
    put16(central, 0);         // extra
    put16(central, 0);         // comment
    put16(central, 0);         // disk
    put16(central, 0);         // internal attributes
    put32(central, 0);         // external attributes
    put32(central, offset);
    central.append(n);
}

QByteArray manifestFor(const QStringList &names)
{
    QByteArray m = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
                   "manifest:version=\"1.2\">\n"
                   " <manifest:file-entry manifest:media-type=\"application/vnd.oasis.opendocument.text\" "
                   "manifest:full-path=\"/\"/>\n";
    for (const QString &name : names) {
        if (name == QLatin1String("mimetype") || name.startsWith(QLatin1String("META-INF/")))
            continue;
        QByteArray type = "";
        if (name.endsWith(QLatin1String(".xml")))
            type = "text/xml";
        else if (name.startsWith(QLatin1String("Pictures/")))
            type = "image/png";
        m += " <manifest:file-entry manifest:media-type=\"" + type + "\" manifest:full-path=\""
            + name.toHtmlEscaped().toUtf8() + "\"/>\n";
    }
    m += "</manifest:manifest>\n";
    return m;
}

} // namespace

quint32 OdfPackage::crc32(const QByteArray &data)
{
    static quint32 table[256];
    static const bool ready = [] {
        for (quint32 i = 0; i < 256; ++i) {
            quint32 c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        return true;
    }();
    Q_UNUSED(ready)
    quint32 crc = 0xffffffffu;
    for (const char ch : data)
        crc = table[(crc ^ quint8(ch)) & 0xff] ^ (crc >> 8);
    return crc ^ 0xffffffffu;
}

QStringList OdfPackage::entryNames(const QByteArray &zip)
{
    QVector<Entry> entries;
    int cd = 0;
    QStringList names;
    if (!readEntries(zip, &entries, &cd))
        return names;
    for (const Entry &e : entries)
        names << e.name;
    return names;
}

bool OdfPackage::addStyles(QByteArray &odt, const QByteArray &stylesXml)
{
    QVector<Entry> entries;
    int cdOffset = 0;
    if (!readEntries(odt, &entries, &cdOffset))
        return false;
    // The "mimetype" entry stays first, as the format requires.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        return (a.name == QLatin1String("mimetype")) > (b.name == QLatin1String("mimetype"));
    });

    QByteArray out;
    out.reserve(odt.size() + stylesXml.size() + 4096);
    QByteArray central;
    QStringList names;
    int count = 0;
    for (const Entry &e : entries) {
        if (e.name == QLatin1String("styles.xml") || e.name == QLatin1String("META-INF/manifest.xml"))
            continue;
        QByteArray record = e.central;
        char offset[4];
        qToLittleEndian<quint32>(quint32(out.size()), offset);
        record.replace(42, 4, offset, 4);
        out.append(odt.constData() + e.localOffset, e.localEnd - e.localOffset);
        central.append(record);
        names << e.name;
        ++count;
    }
    appendStored(out, central, QStringLiteral("styles.xml"), stylesXml);
    names << QStringLiteral("styles.xml");
    appendStored(out, central, QStringLiteral("META-INF/manifest.xml"), manifestFor(names));
    count += 2;

    const quint32 cdStart = quint32(out.size());
    out.append(central);
    put32(out, kEndSig);
    put16(out, 0);
    put16(out, 0);
    put16(out, quint16(count));
    put16(out, quint16(count));
    put32(out, quint32(central.size()));
    put32(out, cdStart);
    put16(out, 0);
    odt = out;
    return true;
}
