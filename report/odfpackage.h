#ifndef ODFPACKAGE_H
#define ODFPACKAGE_H

#include <QByteArray>
#include <QString>

// Completes an OpenDocument text package as Qt's document writer makes it:
// that writer leaves out the styles part, where page size, margins and the
// document's base font live. The package entries are copied unchanged; the
// styles part is added (uncompressed) and the manifest rewritten to list it.
class OdfPackage
{
public:
    // Adds stylesXml as "styles.xml" to the ZIP package in odt (replacing one
    // already there). False, with odt untouched, when odt is not a ZIP package.
    static bool addStyles(QByteArray &odt, const QByteArray &stylesXml);

    // Names of the entries of a ZIP package in stored order; empty when it is
    // not one.
    static QStringList entryNames(const QByteArray &zip);

    // CRC-32 as ZIP uses it.
    static quint32 crc32(const QByteArray &data);
};

#endif // ODFPACKAGE_H
