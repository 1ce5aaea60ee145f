#include "sampleprojectwriter.h"

#include "sampleoptions.h"
#include "samplewall.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>
#include <random>

namespace {

const int kMaxPieceRows = 65000; // JPEG height limit is 65535

QString sqlError(const QSqlQuery &query) { return query.lastError().text(); }

// A 16 x 16 JPEG whose frame header claims width x height pixels.
QByteArray hugeHeaderJpeg(int width, int height)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(QColor(120, 100, 80));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG"))
        return QByteArray();
    // Walk the marker segments to the start of frame (SOF0..SOF2).
    int pos = 2;
    while (pos + 9 < bytes.size() && uchar(bytes.at(pos)) == 0xFF) {
        const uchar marker = uchar(bytes.at(pos + 1));
        const int length = (uchar(bytes.at(pos + 2)) << 8) | uchar(bytes.at(pos + 3));
        if (marker >= 0xC0 && marker <= 0xC2) {
            bytes[pos + 5] = char(height >> 8);
            bytes[pos + 6] = char(height & 0xff);
            bytes[pos + 7] = char(width >> 8);
            bytes[pos + 8] = char(width & 0xff);
            return bytes;
        }
        pos += 2 + length;
    }
    return QByteArray();
}

} // namespace

SampleProjectWriter::SampleProjectWriter(const SampleOptions &options)
    : m_options(options)
{
}

bool SampleProjectWriter::plan(QString *error)
{
    m_pieces.clear();
    const int from = m_options.fromUnits();
    const int to = m_options.toUnits();
    const int step = m_options.pieceUnits();
    const double ppu = m_options.pixelsPerUnit();
    auto row = [ppu](qint64 depthFromTop) { return int(std::llround(double(depthFromTop) * ppu)); };

    // Stored ids: from+step, from+2*step, ..., the last one exactly 'to'. For
    // an upward run (from is 0) the same ids count upward from the bottom of
    // the hole: id k covers the wall from to-k down to to-k+span.
    qint64 previous = from;
    while (previous < to) {
        const qint64 id = std::min<qint64>(previous + step, to);
        Piece piece;
        piece.id = int(id);
        if (!m_options.isUp()) {
            piece.firstRow = row(previous - from);
            piece.endRow = row(id - from);
        } else {
            const qint64 top = to - id;
            piece.firstRow = row(top);
            piece.endRow = row(top + (id - previous));
        }
        const int height = piece.endRow - piece.firstRow;
        if (height < 1) {
            *error = QStringLiteral("the piece ending at id %1 spans %2 depth units, less than one "
                                    "pixel row at %3 px per unit; choose another --piece, --to or --width")
                         .arg(id).arg(id - previous).arg(ppu);
            return false;
        }
        if (height > kMaxPieceRows) {
            *error = QStringLiteral("a piece of %1 m would be %2 pixels high, more than a JPEG can "
                                    "hold (%3); use a shorter --piece")
                         .arg((id - previous) / 10000.0).arg(height).arg(kMaxPieceRows);
            return false;
        }
        m_pieces.append(piece);
        previous = id;
        if (m_pieces.size() > 10000000) {
            *error = QStringLiteral("too many pieces; use a longer --piece");
            return false;
        }
    }

    for (int index : m_options.badPieces) {
        if (index >= m_pieces.size()) {
            *error = QStringLiteral("--bad-piece %1: the project has only %2 pieces (0-based index)")
                         .arg(index).arg(m_pieces.size());
            return false;
        }
    }
    for (const SampleOptions::HugeHeader &huge : m_options.hugeHeaders) {
        if (huge.index >= m_pieces.size()) {
            *error = QStringLiteral("--huge-header %1: the project has only %2 pieces (0-based index)")
                         .arg(huge.index).arg(m_pieces.size());
            return false;
        }
    }
    for (const SampleOptions::PieceWidth &w : m_options.pieceWidths) {
        if (w.index >= m_pieces.size()) {
            *error = QStringLiteral("--piece-width %1: the project has only %2 pieces (0-based index)")
                         .arg(w.index).arg(m_pieces.size());
            return false;
        }
    }
    for (int id : m_options.missingIds) {
        bool found = false;
        for (const Piece &p : m_pieces)
            found = found || p.id == id;
        if (!found) {
            *error = QStringLiteral("--missing-metre %1: no piece has the id %2")
                         .arg(id / 10000.0).arg(id);
            return false;
        }
    }
    return true;
}

void SampleProjectWriter::paintMarkers(QImage *image, int firstRow) const
{
    // Wall rows count from the top of the wall at the project's scale, as
    // the pieces do.
    const double ppu = m_options.pixelsPerUnit();
    const int wallTop = m_options.isUp() ? 0 : m_options.fromUnits();
    for (const SampleOptions::Marker &marker : m_options.markers) {
        const int top = int(std::llround(double(marker.depth - wallTop) * ppu)) - firstRow;
        const int end = std::max(top + 1, int(std::llround(double(marker.depth + marker.thickness - wallTop) * ppu))
                                              - firstRow);
        for (int y = std::max(0, top); y < std::min(end, image->height()); ++y)
            for (int x = 0; x < image->width(); ++x)
                image->setPixel(x, y, qRgb(255, 0, 255));
    }
}

bool SampleProjectWriter::write(QString *error)
{
    const QFileInfo target(m_options.out);
    const QString finalPath = target.absoluteFilePath();
    const QString partial = finalPath + QStringLiteral(".partial-%1")
                                            .arg(QCoreApplication::applicationPid());
    QFile::remove(partial);

    const bool ok = writeDatabase(partial, error);
    const QString connection = QStringLiteral("kora-sample-%1").arg(QCoreApplication::applicationPid());
    QSqlDatabase::removeDatabase(connection);
    if (!ok) {
        QFile::remove(partial);
        return false;
    }
    if (QFileInfo::exists(finalPath) && !QFile::remove(finalPath)) {
        QFile::remove(partial);
        *error = QStringLiteral("cannot replace %1").arg(finalPath);
        return false;
    }
    if (!QFile::rename(partial, finalPath)) {
        QFile::remove(partial);
        *error = QStringLiteral("cannot create %1").arg(finalPath);
        return false;
    }
    return true;
}

bool SampleProjectWriter::writeDatabase(const QString &path, QString *error)
{
    const SampleOptions &o = m_options;
    const QString connection = QStringLiteral("kora-sample-%1").arg(QCoreApplication::applicationPid());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(path);
    if (!db.open()) {
        *error = QStringLiteral("cannot create the database %1: %2").arg(path, db.lastError().text());
        return false;
    }

    auto fail = [&](const QString &what, const QSqlQuery &q) {
        *error = QStringLiteral("%1: %2").arg(what, sqlError(q));
        db.rollback();
        db.close();
        return false;
    };

    if (!db.transaction()) {
        *error = QStringLiteral("cannot start a transaction: %1").arg(db.lastError().text());
        db.close();
        return false;
    }

    {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("create table bigImages (id integer primary key, data blob)")))
            return fail(QStringLiteral("create table bigImages"), q);
        if (!q.exec(QStringLiteral("create table images (id integer, data blob)")))
            return fail(QStringLiteral("create table images"), q);

        QStringList columns = {QStringLiteral("direction text"), QStringLiteral("start integer"),
                               QStringLiteral("diameter integer")};
        const bool coordinates = o.generation == 5 || o.generation == 16;
        const bool descriptive = o.generation == 14 || o.generation == 16;
        if (coordinates)
            columns << QStringLiteral("fLongitude real") << QStringLiteral("fLatitude real");
        const QStringList texts = {
            QStringLiteral("projectName"), QStringLiteral("detectionUnit"),
            QStringLiteral("coordinatesLongitude"), QStringLiteral("coordinatesLatitude"),
            QStringLiteral("orificeNumber"), QStringLiteral("date"), QStringLiteral("testTotalDepth"),
            QStringLiteral("testStartDepth"), QStringLiteral("testPerson"),
            QStringLiteral("orificeElevation"), QStringLiteral("stableWaterLevel")};
        if (descriptive)
            for (const QString &t : texts)
                columns << t + QStringLiteral(" varchar(20)");
        if (!q.exec(QStringLiteral("create table projectInfo (%1)").arg(columns.join(QStringLiteral(", ")))))
            return fail(QStringLiteral("create table projectInfo"), q);

        QStringList names;
        for (const QString &c : columns)
            names << c.section(QLatin1Char(' '), 0, 0);
        QStringList marks;
        for (int i = 0; i < names.size(); ++i)
            marks << QStringLiteral("?");
        q.prepare(QStringLiteral("insert into projectInfo (%1) values (%2)")
                      .arg(names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
        q.addBindValue(o.direction);
        q.addBindValue(o.isUp() ? 0 : o.fromUnits());
        q.addBindValue(o.diameterUnits());
        if (coordinates) {
            q.addBindValue(o.longitude);
            q.addBindValue(o.latitude);
        }
        if (descriptive) {
            std::mt19937 rnd(o.seed ^ 0x2545f491u);
            const double elevation = 20.0 + double(rnd() % 38000) / 100.0;
            const double water = 1.0 + double(rnd() % 1400) / 100.0;
            q.addBindValue(o.name);
            q.addBindValue(o.unit);
            q.addBindValue(QStringLiteral("%1E").arg(o.longitude, 0, 'f', 4));
            q.addBindValue(QStringLiteral("%1N").arg(o.latitude, 0, 'f', 4));
            q.addBindValue(o.number);
            q.addBindValue(o.date);
            q.addBindValue(QString::number(o.toMetres, 'f', 2));
            q.addBindValue(QString::number(o.isUp() ? 0.0 : o.fromMetres, 'f', 2));
            q.addBindValue(o.person);
            q.addBindValue(QString::number(elevation, 'f', 2));
            q.addBindValue(QString::number(water, 'f', 2));
        }
        if (!q.exec())
            return fail(QStringLiteral("insert into projectInfo"), q);
    }

    const double ppu = o.pixelsPerUnit();
    const double wallTop = o.isUp() ? 0.0 : o.fromUnits() / 10000.0;
    const double wallBottom = o.toUnits() / 10000.0;
    SampleWall::Hole hole;
    hole.inclination = o.inclination;
    hole.azimuth = o.holeAzimuth;
    hole.highSide = o.highSide;
    QVector<SampleWall::Plane> planes;
    for (const SampleOptions::Plane &p : o.planes)
        planes.append({p.depthMetres, p.dip, p.dipDirection});
    const SampleWall wall(o.seed, wallTop, wallBottom, o.imageDiameterUnits() / 10000.0, o.width,
                          ppu * 10000.0, hole, planes);

    m_written = 0;
    if (!o.noImages) {
        QSqlQuery insert(db);
        if (!insert.prepare(QStringLiteral("insert into bigImages (id, data) values (?, ?)")))
            return fail(QStringLiteral("prepare insert into bigImages"), insert);
        for (int index = 0; index < m_pieces.size(); ++index) {
            const Piece &piece = m_pieces.at(index);
            if (o.isMissing(piece.id))
                continue;
            QByteArray bytes;
            const SampleOptions::HugeHeader *huge = nullptr;
            for (const SampleOptions::HugeHeader &h : o.hugeHeaders)
                if (h.index == index)
                    huge = &h;
            if (huge) {
                bytes = hugeHeaderJpeg(huge->width, huge->height);
                if (bytes.isEmpty()) {
                    *error = QStringLiteral("JPEG encoding failed (is the Qt JPEG image plugin installed?)");
                    db.rollback();
                    db.close();
                    return false;
                }
            } else if (o.badPieces.contains(index)) {
                bytes = QStringLiteral("This is not a JPEG picture: kora-sample bad piece %1, id %2.\n")
                            .arg(index).arg(piece.id).toLatin1();
            } else {
                QImage image = wall.render(piece.firstRow, piece.endRow - piece.firstRow);
                if (image.isNull()) {
                    *error = QStringLiteral("out of memory for a piece of %1 x %2 pixels")
                                 .arg(o.width).arg(piece.endRow - piece.firstRow);
                    db.rollback();
                    db.close();
                    return false;
                }
                paintMarkers(&image, piece.firstRow);
                for (const SampleOptions::PieceWidth &w : o.pieceWidths)
                    if (w.index == index)
                        image = image.scaled(w.width, image.height(), Qt::IgnoreAspectRatio,
                                             Qt::SmoothTransformation);
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                if (!image.save(&buffer, "JPG")) {
                    *error = QStringLiteral("JPEG encoding failed (is the Qt JPEG image plugin installed?)");
                    db.rollback();
                    db.close();
                    return false;
                }
            }
            insert.addBindValue(piece.id);
            insert.addBindValue(bytes);
            if (!insert.exec())
                return fail(QStringLiteral("insert into bigImages, id %1").arg(piece.id), insert);
            ++m_written;
        }
    }

    if (!db.commit()) {
        *error = QStringLiteral("commit failed: %1").arg(db.lastError().text());
        db.rollback();
        db.close();
        return false;
    }
    db.close();

    if (!o.featuresCsv.isEmpty() && !writeFeatures(wall.featuresCsv(o.holeGiven), error))
        return false;
    return true;
}

bool SampleProjectWriter::writeFeatures(const QString &csv, QString *error)
{
    QSaveFile file(m_options.featuresCsv);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot write %1: %2").arg(m_options.featuresCsv, file.errorString());
        return false;
    }
    file.write(csv.toUtf8());
    if (!file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(m_options.featuresCsv, file.errorString());
        return false;
    }
    return true;
}
