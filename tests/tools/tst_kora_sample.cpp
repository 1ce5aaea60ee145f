// Checks the sample-project tool: the files it writes are read back with
// QSqlDatabase and QImage only, the way the program itself reads them.

#include "samplefixture.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QVector>
#include <QtTest>

#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

struct Piece
{
    int id = 0;
    QByteArray data;
};

// Opens a project under a connection name of its own and closes it again.
class ProjectReader
{
public:
    explicit ProjectReader(const QString &path)
        : m_name(QStringLiteral("tst_kora_sample_%1").arg(++s_counter))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        m_open = db.open();
    }
    ~ProjectReader()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    bool isOpen() const { return m_open; }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    QStringList tables() const { return db().tables(); }

    QSqlRecord projectInfo(int *rows) const
    {
        QSqlQuery q(db());
        *rows = 0;
        QSqlRecord record;
        if (!q.exec(QStringLiteral("select * from projectInfo")))
            return record;
        while (q.next()) {
            ++*rows;
            record = q.record();
        }
        if (*rows == 0)
            record = q.record();
        return record;
    }

    QVector<Piece> pieces() const
    {
        QVector<Piece> result;
        QSqlQuery q(db());
        if (!q.exec(QStringLiteral("select id, data from bigImages order by id")))
            return result;
        while (q.next())
            result.append({q.value(0).toInt(), q.value(1).toByteArray()});
        return result;
    }

    int count(const QString &table) const
    {
        QSqlQuery q(db());
        if (!q.exec(QStringLiteral("select count(*) from %1").arg(table)) || !q.next())
            return -1;
        return q.value(0).toInt();
    }

private:
    static int s_counter;
    QString m_name;
    bool m_open = false;
};

int ProjectReader::s_counter = 0;

QImage decode(const QByteArray &data)
{
    return QImage::fromData(data, "JPG").convertToFormat(QImage::Format_RGB32);
}

double pixelsPerUnit(int width, int diameterUnits)
{
    return double(width) / (double(diameterUnits) * 3.14);
}

// Stacks the decoded pieces of a downward project into one image.
QImage stitch(const QVector<Piece> &pieces)
{
    QVector<QImage> images;
    int height = 0;
    int width = 0;
    for (const Piece &p : pieces) {
        const QImage image = decode(p.data);
        if (image.isNull())
            return QImage();
        images.append(image);
        height += image.height();
        width = image.width();
    }
    QImage out(width, height, QImage::Format_RGB32);
    int y = 0;
    for (const QImage &image : images)
        for (int r = 0; r < image.height(); ++r, ++y)
            memcpy(out.scanLine(y), image.constScanLine(r), size_t(width) * 4);
    return out;
}

double meanAbsoluteDifference(const QImage &a, const QImage &b, int rowOffsetInB)
{
    double sum = 0;
    qint64 n = 0;
    for (int y = 0; y < a.height(); ++y) {
        const QRgb *la = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const QRgb *lb = reinterpret_cast<const QRgb *>(b.constScanLine(y + rowOffsetInB));
        for (int x = 0; x < a.width(); ++x) {
            sum += std::abs(qRed(la[x]) - qRed(lb[x])) + std::abs(qGreen(la[x]) - qGreen(lb[x]))
                   + std::abs(qBlue(la[x]) - qBlue(lb[x]));
            n += 3;
        }
    }
    return n ? sum / n : 1e9;
}

double grey(const QImage &image, int x, int y)
{
    x = ((x % image.width()) + image.width()) % image.width();
    y = qBound(0, y, image.height() - 1);
    return qGray(image.pixel(x, y));
}

struct Feature
{
    double depth;
    double dip;
    double direction;
    QString kind;
};

QVector<Feature> readFeatures(const QString &path)
{
    QVector<Feature> result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return result;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f = lines.at(i).split(QLatin1Char(','));
        if (f.size() == 4)
            result.append({f[0].toDouble(), f[1].toDouble(), f[2].toDouble(), f[3]});
    }
    return result;
}

struct RunResult
{
    int exitCode = -1;
    QString output;
};

// Runs the tool with exactly the given arguments (no --force added).
RunResult runTool(const QStringList &args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(SampleFixture::toolPath(), args);
    RunResult r;
    if (!p.waitForFinished(120000))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.output = QString::fromUtf8(p.readAll());
    return r;
}

} // namespace

class TestKoraSample : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void projectInfoGenerations_data();
    void projectInfoGenerations();
    void pieceLayout_data();
    void pieceLayout();
    void faultFixtures();
    void refusesBadRequests();
    void deterministicForASeed();
    void upwardProjectHoldsTheSameWall();
    void fracturesAreDrawnWhereTheCsvSays();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestKoraSample::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(SampleFixture::toolPath()), qPrintable(SampleFixture::toolPath()));
}

void TestKoraSample::projectInfoGenerations_data()
{
    QTest::addColumn<int>("generation");
    QTest::addColumn<QStringList>("columns");
    const QStringList base = {"direction", "start", "diameter"};
    const QStringList coords = {"fLongitude", "fLatitude"};
    const QStringList texts = {"projectName",    "detectionUnit",   "coordinatesLongitude",
                               "coordinatesLatitude", "orificeNumber", "date",
                               "testTotalDepth", "testStartDepth",  "testPerson",
                               "orificeElevation", "stableWaterLevel"};
    QTest::newRow("3 columns") << 3 << base;
    QTest::newRow("5 columns") << 5 << base + coords;
    QTest::newRow("14 columns") << 14 << base + texts;
    QTest::newRow("16 columns") << 16 << base + coords + texts;
}

void TestKoraSample::projectInfoGenerations()
{
    QFETCH(int, generation);
    QFETCH(QStringList, columns);
    const QString file = path(QStringLiteral("gen%1.prj").arg(generation));
    QVERIFY(SampleFixture::make(file, {"--generation", QString::number(generation), "--from", "2",
                                       "--to", "4", "--diameter", "75.5", "--width", "120",
                                       "--name", "Hole A", "--unit", "Survey B", "--number", "ZK-7",
                                       "--date", "2019/04/30", "--person", "Li", "--longitude",
                                       "101.25", "--latitude", "-12.5", "--quiet"}));
    ProjectReader r(file);
    QVERIFY(r.isOpen());
    const QStringList tables = r.tables();
    QVERIFY(tables.contains("bigImages"));
    QVERIFY(tables.contains("projectInfo"));
    QVERIFY(tables.contains("images"));
    QCOMPARE(r.count("images"), 0);

    int rows = 0;
    const QSqlRecord info = r.projectInfo(&rows);
    QCOMPARE(rows, 1);
    QStringList names;
    for (int i = 0; i < info.count(); ++i)
        names << info.fieldName(i);
    QCOMPARE(names, columns);

    QCOMPARE(info.value("direction").toString(), QString("down"));
    QCOMPARE(info.value("start").toInt(), 20000);
    QCOMPARE(info.value("diameter").toInt(), 755);
    if (columns.contains("fLongitude")) {
        QCOMPARE(info.value("fLongitude").toDouble(), 101.25);
        QCOMPARE(info.value("fLatitude").toDouble(), -12.5);
    }
    if (columns.contains("projectName")) {
        QCOMPARE(info.value("projectName").toString(), QString("Hole A"));
        QCOMPARE(info.value("detectionUnit").toString(), QString("Survey B"));
        QCOMPARE(info.value("orificeNumber").toString(), QString("ZK-7"));
        QCOMPARE(info.value("date").toString(), QString("2019/04/30"));
        QCOMPARE(info.value("testPerson").toString(), QString("Li"));
        for (const QString &c : {"coordinatesLongitude", "coordinatesLatitude", "testTotalDepth",
                                 "testStartDepth", "orificeElevation", "stableWaterLevel"})
            QVERIFY2(!info.value(c).toString().isEmpty(), qPrintable(c));
    }
}

void TestKoraSample::pieceLayout_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("diameterUnits");
    QTest::addColumn<int>("start");
    QTest::addColumn<QVector<int>>("ids");

    QTest::newRow("whole metres") << QStringList{"--from", "0", "--to", "3", "--width", "200"} << 200
                                  << 1000 << 0 << QVector<int>{10000, 20000, 30000};
    QTest::newRow("short last piece")
        << QStringList{"--from", "1.5", "--to", "4.2", "--width", "160", "--diameter", "76"} << 160
        << 760 << 15000 << QVector<int>{25000, 35000, 42000};
    QTest::newRow("half-metre pieces")
        << QStringList{"--from", "10", "--to", "12", "--piece", "0.5", "--width", "100", "--diameter", "130"}
        << 100 << 1300 << 100000 << QVector<int>{105000, 110000, 115000, 120000};
    QTest::newRow("piece longer than the range")
        << QStringList{"--to", "3", "--piece", "1e10", "--width", "50"} << 50 << 1000 << 0 << QVector<int>{30000};
    QTest::newRow("missing metre")
        << QStringList{"--to", "4", "--width", "90", "--missing-metre", "2", "--missing-metre", "4"}
        << 90 << 1000 << 0 << QVector<int>{10000, 30000};
    QTest::newRow("missing range") << QStringList{"--to", "5", "--width", "90", "--missing-range", "1:4"} << 90
                                   << 1000 << 0 << QVector<int>{10000, 40000, 50000};
}

void TestKoraSample::pieceLayout()
{
    QFETCH(QStringList, args);
    QFETCH(int, width);
    QFETCH(int, diameterUnits);
    QFETCH(int, start);
    QFETCH(QVector<int>, ids);
    const QString file = path(QStringLiteral("layout_%1.prj").arg(QTest::currentDataTag()).replace(' ', '_'));
    QString out;
    QVERIFY(SampleFixture::make(file, args, &out));
    QVERIFY2(out.contains(QStringLiteral("%1 pieces").arg(ids.size())), qPrintable(out));

    ProjectReader r(file);
    const QVector<Piece> pieces = r.pieces();
    QVector<int> got;
    for (const Piece &p : pieces)
        got << p.id;
    QCOMPARE(got, ids);

    // Heights follow the depth spans without drift: cumulative rows match the
    // total depth within one row.
    const double ppu = pixelsPerUnit(width, diameterUnits);
    int previous = start;
    int totalRows = 0;
    const bool gaps = args.contains("--missing-metre") || args.contains("--missing-range");
    for (const Piece &p : pieces) {
        const QImage image = decode(p.data);
        QVERIFY2(!image.isNull(), qPrintable(QString::number(p.id)));
        QCOMPARE(image.width(), width);
        const int span = gaps ? 10000 : p.id - previous;
        QVERIFY2(std::abs(image.height() - span * ppu) <= 1.0,
                 qPrintable(QStringLiteral("id %1: %2 rows for %3 units").arg(p.id).arg(image.height()).arg(span)));
        totalRows += image.height();
        previous = p.id;
    }
    if (!gaps)
        QVERIFY(std::abs(totalRows - (ids.last() - start) * ppu) <= 1.0);
}

void TestKoraSample::faultFixtures()
{
    // A piece planted as garbage does not decode; the others do.
    const QString bad = path("bad.prj");
    QVERIFY(SampleFixture::make(bad, {"--to", "3", "--width", "100", "--bad-piece", "0", "--bad-piece", "2"}));
    {
        ProjectReader r(bad);
        const QVector<Piece> pieces = r.pieces();
        QCOMPARE(pieces.size(), 3);
        QVERIFY(decode(pieces[0].data).isNull());
        QVERIFY(!pieces[0].data.isEmpty());
        QVERIFY(!decode(pieces[1].data).isNull());
        QVERIFY(decode(pieces[2].data).isNull());
    }

    // An empty image table next to a complete projectInfo.
    const QString empty = path("empty.prj");
    QVERIFY(SampleFixture::make(empty, {"--to", "3", "--no-images", "--generation", "5"}));
    {
        ProjectReader r(empty);
        QVERIFY(r.tables().contains("bigImages"));
        QCOMPARE(r.count("bigImages"), 0);
        QCOMPARE(r.count("projectInfo"), 1);
    }

    // Diameter 0 is stored as 0; the pictures still have a sane height (100 mm).
    const QString zero = path("zero.prj");
    QVERIFY(SampleFixture::make(zero, {"--to", "2", "--diameter", "0", "--width", "100"}));
    {
        ProjectReader r(zero);
        int rows = 0;
        QCOMPARE(r.projectInfo(&rows).value("diameter").toInt(), 0);
        const QVector<Piece> pieces = r.pieces();
        QCOMPARE(pieces.size(), 2);
        QVERIFY(std::abs(decode(pieces[0].data).height() - 10000 * pixelsPerUnit(100, 1000)) <= 1.0);
    }

    // An unparsable date is stored as given.
    const QString date = path("date.prj");
    QVERIFY(SampleFixture::make(date, {"--to", "1", "--width", "50", "--date", "not a date"}));
    {
        ProjectReader r(date);
        int rows = 0;
        QCOMPARE(r.projectInfo(&rows).value("date").toString(), QString("not a date"));
    }
}

void TestKoraSample::refusesBadRequests()
{
    const QString file = path("keep.prj");
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("precious field data");
    f.close();

    RunResult r = runTool({"--out", file, "--to", "1", "--width", "50"});
    QVERIFY(r.exitCode > 0);
    QVERIFY2(r.output.contains("--force"), qPrintable(r.output));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("precious field data"));
    f.close();

    // With --force the file is replaced by a project.
    r = runTool({"--out", file, "--to", "1", "--width", "50", "--force", "--quiet"});
    QCOMPARE(r.exitCode, 0);
    QVERIFY(r.output.isEmpty());
    {
        ProjectReader reader(file);
        QCOMPARE(reader.count("bigImages"), 1);
    }

    const QString fresh = path("never.prj");
    const QList<QStringList> refused = {
        {"--width", "0"},
        {"--from", "3", "--to", "3"},
        {"--from", "4", "--to", "3"},
        {"--direction", "up", "--from", "1", "--to", "3"},
        {"--direction", "sideways"},
        {"--generation", "7"},
        {"--piece", "0"},
        {"--diameter", "-5"},
        {"--to", "ten"},
        {"--to", "3", "--bad-piece", "3"},
        {"--to", "3", "--missing-metre", "3.5"},
        {"--from", "1e308"},
        {"--from", "250000", "--to", "250001"},
        {"--diameter", "0.01"},
        {"--to", "300000"},
        {"--inclination", "95"},
        {"--reference", "sideways"},
        {"--plane", "1:45"},
        {"--plane", "1:90:0"},
        {"--to", "3", "--piece-width", "3:100"},
        {"--missing-range", "4:2"},
        {"--marker", "deep"},
    };
    for (const QStringList &args : refused) {
        r = runTool(QStringList{"--out", fresh} + args);
        QVERIFY2(r.exitCode > 0, qPrintable(args.join(' ')));
        QVERIFY2(!r.output.trimmed().isEmpty(), qPrintable(args.join(' ')));
        QVERIFY2(!QFile::exists(fresh), qPrintable(args.join(' ')));
    }
    r = runTool({"--to", "1"});
    QVERIFY(r.exitCode > 0);
    QVERIFY(r.output.contains("--out"));

    r = runTool({"--help"});
    QCOMPARE(r.exitCode, 0);
    for (const char *option : {"--out", "--force", "--from", "--to", "--diameter", "--width", "--piece",
                               "--direction", "--generation", "--seed", "--name", "--unit", "--number",
                               "--date", "--person", "--bad-piece", "--missing-metre", "--missing-range",
                               "--piece-width", "--marker", "--no-images",
                               "--features-csv", "--quiet"})
        QVERIFY2(r.output.contains(option), option);
}

void TestKoraSample::deterministicForASeed()
{
    const QStringList args = {"--to", "3", "--width", "120", "--diameter", "90"};
    const QString a = path("seed_a.prj"), b = path("seed_b.prj"), c = path("seed_c.prj");
    QVERIFY(SampleFixture::make(a, args + QStringList{"--seed", "42", "--features-csv", path("a.csv")}));
    QVERIFY(SampleFixture::make(b, args + QStringList{"--seed", "42", "--features-csv", path("b.csv")}));
    QVERIFY(SampleFixture::make(c, args + QStringList{"--seed", "43", "--features-csv", path("c.csv")}));

    auto blobs = [](const QString &file) {
        ProjectReader r(file);
        return r.pieces();
    };
    const QVector<Piece> pa = blobs(a), pb = blobs(b), pc = blobs(c);
    QCOMPARE(pa.size(), 3);
    QCOMPARE(pb.size(), 3);
    QCOMPARE(pc.size(), 3);
    for (int i = 0; i < pa.size(); ++i) {
        QCOMPARE(pa[i].id, pb[i].id);
        QVERIFY(pa[i].data == pb[i].data);
        QVERIFY(pa[i].data != pc[i].data);
    }
    auto text = [](const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    QVERIFY(!text(path("a.csv")).isEmpty());
    QCOMPARE(text(path("a.csv")), text(path("b.csv")));
    QVERIFY(text(path("a.csv")) != text(path("c.csv")));
}

void TestKoraSample::upwardProjectHoldsTheSameWall()
{
    // 3.5 m does not divide into 1 m pieces: the upward run is cut from the
    // bottom, so its pieces straddle the downward ones.
    const QStringList args = {"--to", "3.5", "--width", "160", "--seed", "9"};
    const QString down = path("wall_down.prj"), up = path("wall_up.prj");
    QVERIFY(SampleFixture::make(down, args));
    QVERIFY(SampleFixture::make(up, args + QStringList{"--direction", "up"}));

    QImage wall;
    {
        ProjectReader r(down);
        wall = stitch(r.pieces());
    }
    QVERIFY(!wall.isNull());
    const double ppu = pixelsPerUnit(160, 1000);

    ProjectReader r(up);
    int rows = 0;
    const QSqlRecord info = r.projectInfo(&rows);
    QCOMPARE(info.value("direction").toString(), QString("up"));
    QCOMPARE(info.value("start").toInt(), 0);

    const QVector<Piece> pieces = r.pieces();
    QVector<int> ids;
    for (const Piece &p : pieces)
        ids << p.id;
    QCOMPARE(ids, (QVector<int>{10000, 20000, 30000, 35000}));
    const int maxDepth = ids.last();
    int previous = 0;
    for (const Piece &p : pieces) {
        const QImage image = decode(p.data);
        QVERIFY(!image.isNull());
        QCOMPARE(image.width(), 160);
        const int top = maxDepth - p.id;           // depth of the top edge below the collar
        const int span = p.id - previous;
        previous = p.id;
        QVERIFY(std::abs(image.height() - span * ppu) <= 1.0);
        const int firstRow = int(std::lround(top * ppu));
        QVERIFY(firstRow + image.height() <= wall.height());
        const double same = meanAbsoluteDifference(image, wall, firstRow);
        QVERIFY2(same < 4.0, qPrintable(QStringLiteral("id %1: difference %2").arg(p.id).arg(same)));
        // The same comparison a few rows off must be clearly worse, or the
        // check above proves nothing.
        const int shifted = firstRow + (firstRow + image.height() + 12 <= wall.height() ? 12 : -12);
        const double off = meanAbsoluteDifference(image, wall, shifted);
        QVERIFY2(off > same + 2.0, qPrintable(QStringLiteral("id %1: %2 vs %3").arg(p.id).arg(off).arg(same)));
    }
}

void TestKoraSample::fracturesAreDrawnWhereTheCsvSays()
{
    const int width = 200;
    const double from = 2.0, to = 12.0;
    const QString file = path("fractures.prj"), csv = path("fractures.csv");
    QVERIFY(SampleFixture::make(file, {"--from", "2", "--to", "12", "--width", QString::number(width),
                                       "--seed", "5", "--features-csv", csv}));
    QFile header(csv);
    QVERIFY(header.open(QIODevice::ReadOnly));
    QCOMPARE(header.readLine().trimmed(), QByteArray("depth_m,dip_deg,dip_direction_deg,kind"));
    header.close();

    const QVector<Feature> features = readFeatures(csv);
    int fractures = 0, vugs = 0;
    for (const Feature &f : features) {
        QVERIFY(f.kind == "fracture" || f.kind == "vug");
        if (f.kind == "vug") {
            ++vugs;
            QCOMPARE(f.dip, 0.0);
            QCOMPARE(f.direction, 0.0);
            QVERIFY(f.depth > from && f.depth < to);
            continue;
        }
        ++fractures;
        QVERIFY(f.dip >= 10 && f.dip <= 70);
        QVERIFY(f.direction >= 0 && f.direction < 360);
        const double reach = 0.05 * std::tan(f.dip * kPi / 180);
        QVERIFY2(f.depth - reach >= from && f.depth + reach <= to, "trace leaves the data range");
    }
    QVERIFY2(fractures >= 2 && fractures <= 6, qPrintable(QString::number(fractures)));
    QVERIFY(vugs >= 1);

    QImage wall;
    {
        ProjectReader r(file);
        wall = stitch(r.pieces());
    }
    QVERIFY(!wall.isNull());
    const double pxPerMetre = pixelsPerUnit(width, 1000) * 10000;

    // Deepest at the dip direction: z(theta) = z0 + (D/2) tan(dip) cos(theta - direction).
    for (const Feature &f : features) {
        if (f.kind != "fracture")
            continue;
        double onTrace = 0, beside = 0;
        int samples = 0;
        for (double turn : {0.0, 45.0, 90.0, 135.0, 180.0, 225.0, 270.0, 315.0}) {
            const double theta = std::fmod(f.direction + turn, 360.0);
            const int x = int(theta / 360.0 * width);
            const double thetaAtX = (x + 0.5) / width * 2 * kPi;
            const double z = f.depth + 0.05 * std::tan(f.dip * kPi / 180) * std::cos(thetaAtX - f.direction * kPi / 180);
            const int y = int(std::floor((z - from) * pxPerMetre));
            double at = 0, away = 0;
            for (int dx = -1; dx <= 1; ++dx) {
                at += grey(wall, x + dx, y);
                away += grey(wall, x + dx, y - 9) + grey(wall, x + dx, y + 9);
            }
            onTrace += at / 3;
            beside += away / 6;
            ++samples;
        }
        onTrace /= samples;
        beside /= samples;
        QVERIFY2(beside - onTrace > 25,
                 qPrintable(QStringLiteral("fracture at %1 m: trace %2, beside %3").arg(f.depth).arg(onTrace).arg(beside)));
    }
}

QTEST_GUILESS_MAIN(TestKoraSample)
#include "tst_kora_sample.moc"
