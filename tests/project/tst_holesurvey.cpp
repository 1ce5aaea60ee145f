// The hole survey: CSV import with its refusals, the two tables in the
// project file, files that must not change, and the hole's direction between
// stations.

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "holesurveystore.h"
#include "projecttesthelpers.h"

using ProjectTest::fileHash;
using ProjectTest::Inspector;

class TstHoleSurvey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readsStations_data();
    void readsStations();
    void importRefusesBadFiles_data();
    void importRefusesBadFiles();
    void tablesOfTheFile();
    void directionBetweenStations_data();
    void directionBetweenStations();

private:
    QString writeCsv(const QString &name, const QByteArray &text);
    QTemporaryDir m_dir;
    QString m_sample;
};

void TstHoleSurvey::initTestCase()
{
    m_sample = ProjectTest::makeSample(m_dir, "sample.prj", {"--to", "2", "--width", "64"});
    QVERIFY(!m_sample.isEmpty());
}

QString TstHoleSurvey::writeCsv(const QString &name, const QByteArray &text)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        return QString();
    return path;
}

void TstHoleSurvey::readsStations_data()
{
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QVector<double>>("expected"); // depth, inclination, azimuth per station
    QTest::newRow("short headings, other columns") << QByteArray("Station,MD,INC,AZI\nA,0,0,0\nB,50.5,12.5,370\n")
                                                   << QVector<double>{0, 0, 0, 50.5, 12.5, 10};
    QTest::newRow("long headings with units, reordered")
        << QByteArray("azimuth (deg),Depth (m),Inclination [deg]\r\n45,10,30\r\n\r\n-90,20,31\r\n")
        << QVector<double>{10, 30, 45, 20, 31, 270};
    QTest::newRow("semicolons and decimal commas")
        << QByteArray("\xef\xbb\xbf" "depth;inc;azi\n0,5;1,25;180\n")
        << QVector<double>{0.5, 1.25, 180};
}

void TstHoleSurvey::readsStations()
{
    QFETCH(QByteArray, csv);
    QFETCH(QVector<double>, expected);
    QBuffer buffer(&csv);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    HoleSurvey survey;
    QString error;
    QVERIFY2(HoleSurvey::fromCsv(&buffer, &survey, &error), qPrintable(error));
    QVector<double> got;
    for (const HoleSurvey::Station &s : survey.stations())
        got << s.depth << s.inclination << s.azimuth;
    QCOMPARE(got, expected);
}

void TstHoleSurvey::importRefusesBadFiles_data()
{
    QTest::addColumn<QString>("file");     // "" = the sample project itself
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QString>("reason");   // a word the message must hold
    const QByteArray good("MD,INC,AZI\n0,10,20\n30,12,25\n");
    QTest::newRow("no azimuth column") << "" << QByteArray("MD,INC,Bearing\n0,10,20\n") << "azimuth";
    QTest::newRow("no depth column") << "" << QByteArray("INC,AZI\n10,20\n") << "depth";
    QTest::newRow("not a number") << "" << QByteArray("MD,INC,AZI\n0,10,20\n5,ten,20\n") << "Line 3";
    QTest::newRow("depths out of order") << "" << QByteArray("MD,INC,AZI\n0,10,20\n9,1,1\n8,1,1\n")
                                         << "increasing";
    QTest::newRow("inclination beyond 180") << "" << QByteArray("MD,INC,AZI\n0,190,20\n") << "190";
    QTest::newRow("empty") << "" << QByteArray("\n\n") << "empty";
    QTest::newRow("headings only") << "" << QByteArray("MD,INC,AZI\n") << "no stations";
    QTest::newRow("read-only project") << "readonly" << good << "read-only";
    QTest::newRow("not a project") << "foreign" << good << "not a project";
}

// A file that cannot be imported leaves the project byte for byte as it was.
void TstHoleSurvey::importRefusesBadFiles()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, csv);
    QFETCH(QString, reason);
    const QString path = m_dir.filePath(QStringLiteral("refuse.prj"));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QFile::remove(path);
    QVERIFY(QFile::copy(m_sample, path));
    if (file == "foreign")
        QVERIFY(Inspector(path).exec("drop table projectInfo"));
    if (file == "readonly")
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    const QByteArray before = fileHash(path);
    const QString csvPath = writeCsv("bad.csv", csv);
    QVERIFY(!csvPath.isEmpty());

    HoleSurveyStore store(path);
    QVERIFY(!store.importCsv(csvPath, HoleSurvey::North));
    QVERIFY2(store.lastError().contains(reason, Qt::CaseInsensitive), qPrintable(store.lastError()));
    QVERIFY(store.read().isEmpty());
    QCOMPARE(fileHash(path), before);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// The tables other programs read: their names and columns, one reference
// row, the stations replaced by a second import, nothing else touched.
void TstHoleSurvey::tablesOfTheFile()
{
    const QString path = m_dir.filePath("tables.prj");
    QVERIFY(QFile::copy(m_sample, path));
    const QByteArray before = fileHash(path);
    HoleSurveyStore store(path);
    // No survey yet: the reference cannot be set, the file stays as it is.
    QVERIFY(!store.setReference(HoleSurvey::HighSide));
    QCOMPARE(fileHash(path), before);

    QVERIFY2(store.importCsv(writeCsv("one.csv", "MD,INC,AZI\n0,0,0\n100,30,90\n"), HoleSurvey::HighSide),
             qPrintable(store.lastError()));
    QVERIFY(store.importCsv(writeCsv("two.csv", "MD,INC,AZI\n5,20,45\n"), HoleSurvey::North));
    QVERIFY(store.setReference(HoleSurvey::HighSide));
    const HoleSurvey survey = HoleSurveyStore(path).read();
    QCOMPARE(survey.stations().size(), 1);
    QCOMPARE(survey.stations().first().inclination, 20.0);
    QCOMPARE(survey.reference(), HoleSurvey::HighSide);

    Inspector inspect(path);
    QCOMPARE(inspect.columns("holeSurvey"), (QStringList{"depth", "inclination", "azimuth"}));
    QCOMPARE(inspect.values("pragma table_info(holeSurvey)", 2),
             (QVariantList{"REAL", "REAL", "REAL"}));
    QCOMPARE(inspect.values("select reference from holeReference"), QVariantList{"highside"});
    QCOMPARE(inspect.scalar("select count(*) from bigImages").toInt(),
             Inspector(m_sample).scalar("select count(*) from bigImages").toInt());
}

void TstHoleSurvey::directionBetweenStations_data()
{
    QTest::addColumn<double>("depth");
    QTest::addColumn<double>("inclination");
    QTest::addColumn<double>("azimuth");
    // Stations at 100 m (vertical), 200 m (60° towards east), 300 m (60° towards south).
    QTest::newRow("above the first station") << 10.0 << 0.0 << 0.0;
    QTest::newRow("half way along the first arc") << 150.0 << 30.0 << 90.0;
    QTest::newRow("at a station") << 200.0 << 60.0 << 90.0;
    QTest::newRow("below the last station") << 900.0 << 60.0 << 180.0;
}

// Minimum curvature: along a circular arc the direction turns at a constant
// rate, so half way between a vertical and a 60° station the hole is at 30°.
// Between two stations of one inclination and different azimuths the arc
// passes nearer the vertical.
void TstHoleSurvey::directionBetweenStations()
{
    QFETCH(double, depth);
    QFETCH(double, inclination);
    QFETCH(double, azimuth);
    HoleSurvey survey;
    survey.setStations({{100, 0, 0}, {200, 60, 90}, {300, 60, 180}});
    const auto t = survey.axisAt(depth);
    QVERIFY(std::fabs(std::sqrt(t[0] * t[0] + t[1] * t[1] + t[2] * t[2]) - 1.0) < 1e-12);
    const double gotInclination = std::acos(t[2]) * 180.0 / M_PI;
    QVERIFY2(std::fabs(gotInclination - inclination) < 1e-9, qPrintable(QString::number(gotInclination)));
    if (inclination > 0.0) {
        const double gotAzimuth = std::fmod(std::atan2(t[1], t[0]) * 180.0 / M_PI + 360.0, 360.0);
        QVERIFY2(std::fabs(gotAzimuth - azimuth) < 1e-9, qPrintable(QString::number(gotAzimuth)));
    }
    const auto middle = survey.axisAt(250.0);
    QVERIFY(std::acos(middle[2]) * 180.0 / M_PI < 60.0 - 1.0);
}

QTEST_GUILESS_MAIN(TstHoleSurvey)
#include "tst_holesurvey.moc"
