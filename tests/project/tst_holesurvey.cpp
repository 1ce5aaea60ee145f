// The hole survey: CSV import with its refusals, the two tables in the
// project file, files that must not change, and the hole's direction between
// stations.

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

    QTemporaryDir m_dir;
    QString m_sample;

    QString writeCsv(const QString &name, const QByteArray &text)
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() ? file.fileName() : QString();
    }

private slots:
    void initTestCase()
    {
        m_sample = ProjectTest::makeSample(m_dir, "sample.prj", {"--to", "2", "--width", "64"});
        QVERIFY(!m_sample.isEmpty());
    }

    void importCsv_data()
    {
        QTest::addColumn<QString>("file"); // "" = a copy of the sample project
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QVector<double>>("stations"); // depth, inclination, azimuth per station read back
        QTest::addColumn<QString>("reason");           // of a refusal: a word the message must hold
        const auto read = [](const char *name, const char *csv, const QVector<double> &stations) {
            QTest::newRow(name) << QString() << QByteArray(csv) << stations << QString();
        };
        const auto refuse = [](const char *name, const QString &file, const char *csv, const QString &reason) {
            QTest::newRow(name) << file << QByteArray(csv) << QVector<double>() << reason;
        };
        read("short headings, other columns", "Station,MD,INC,AZI\nA,0,0,0\nB,50.5,12.5,370\n",
             {0, 0, 0, 50.5, 12.5, 10});
        read("long headings with units, reordered",
             "azimuth (deg),Depth (m),Inclination [deg]\r\n45,10,30\r\n\r\n-90,20,31\r\n", {10, 30, 45, 20, 31, 270});
        read("semicolons and decimal commas", "\xef\xbb\xbf" "depth;inc;azi\n0,5;1,25;180\n", {0.5, 1.25, 180});
        refuse("no azimuth column", "", "MD,INC,Bearing\n0,10,20\n", "azimuth");
        refuse("no depth column", "", "INC,AZI\n10,20\n", "depth");
        refuse("not a number", "", "MD,INC,AZI\n0,10,20\n5,ten,20\n", "Line 3");
        refuse("depths out of order", "", "MD,INC,AZI\n0,10,20\n9,1,1\n8,1,1\n", "increasing");
        refuse("inclination beyond 180", "", "MD,INC,AZI\n0,190,20\n", "190");
        refuse("empty", "", "\n\n", "empty");
        refuse("headings only", "", "MD,INC,AZI\n", "no stations");
        refuse("read-only project", "readonly", "MD,INC,AZI\n0,10,20\n30,12,25\n", "read-only");
        refuse("not a project", "foreign", "MD,INC,AZI\n0,10,20\n30,12,25\n", "not a project");
    }

    // A file that cannot be imported leaves the project byte for byte as it was.
    void importCsv()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, csv);
        QFETCH(QVector<double>, stations);
        QFETCH(QString, reason);
        const QString path = m_dir.filePath(QStringLiteral("import.prj"));
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);
        QVERIFY(QFile::copy(m_sample, path));
        if (file == "foreign")
            QVERIFY(Inspector(path).exec("drop table projectInfo"));
        if (file == "readonly")
            QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
        const QByteArray before = fileHash(path);
        const QString csvPath = writeCsv("import.csv", csv);
        QVERIFY(!csvPath.isEmpty());

        HoleSurveyStore store(path);
        QCOMPARE(store.importCsv(csvPath, HoleSurvey::North), reason.isEmpty());
        QVERIFY2(store.lastError().contains(reason, Qt::CaseInsensitive), qPrintable(store.lastError()));
        QVector<double> got;
        for (const HoleSurvey::Station &s : store.read().stations())
            got << s.depth << s.inclination << s.azimuth;
        QCOMPARE(got, stations);
        if (!reason.isEmpty())
            QCOMPARE(fileHash(path), before);
    }

    // The tables other programs read: their names and columns, one reference
    // row, the stations replaced by a second import, nothing else touched.
    void tablesOfTheFile()
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
        QCOMPARE(HoleSurveyStore(path).read().reference(), HoleSurvey::HighSide);

        Inspector inspect(path);
        QCOMPARE(inspect.values("select inclination from holeSurvey"), QVariantList{20.0});
        QCOMPARE(inspect.columns("holeSurvey"), (QStringList{"depth", "inclination", "azimuth"}));
        QCOMPARE(inspect.values("pragma table_info(holeSurvey)", 2), (QVariantList{"REAL", "REAL", "REAL"}));
        QCOMPARE(inspect.values("select reference from holeReference"), QVariantList{"highside"});
        QCOMPARE(inspect.scalar("select count(*) from bigImages").toInt(),
                 Inspector(m_sample).scalar("select count(*) from bigImages").toInt());
    }

    void directionBetweenStations_data()
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
    void directionBetweenStations()
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
        const double gotAzimuth = std::fmod(std::atan2(t[1], t[0]) * 180.0 / M_PI + 360.0, 360.0);
        QVERIFY2(inclination == 0.0 || std::fabs(gotAzimuth - azimuth) < 1e-9, qPrintable(QString::number(gotAzimuth)));
        QVERIFY(std::acos(survey.axisAt(250.0)[2]) * 180.0 / M_PI < 60.0 - 1.0);
    }
};

QTEST_GUILESS_MAIN(TstHoleSurvey)
#include "tst_holesurvey.moc"
