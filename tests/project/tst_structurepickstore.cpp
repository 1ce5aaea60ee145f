// Structure picks kept in the project file: round trip, whole transactions,
// files that must not change, and the CSV export.

#include <QBuffer>
#include <QTemporaryDir>
#include <QtTest>

#include "projecttesthelpers.h"
#include "structurepickstore.h"
#include "trueorientation.h"

#include <cmath>

using ProjectTest::fileHash;
using ProjectTest::Inspector;

class TstStructurePickStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void roundTripThroughTheFile();
    void filesThatMustNotChange_data();
    void filesThatMustNotChange();
    void failingWriteChangesNothing();
    void csvOfThreePicks();
    void storedValuesThatAreNoNumbers_data();
    void storedValuesThatAreNoNumbers();
    void csvToAReadOnlyFolderSaysWhy();

private:
    QTemporaryDir m_dir;
    QString m_sample;
};

void TstStructurePickStore::initTestCase()
{
    m_sample = ProjectTest::makeSample(m_dir, "sample.prj", {"--from", "0", "--to", "3", "--width", "200"});
    QVERIFY(!m_sample.isEmpty());
}

void TstStructurePickStore::roundTripThroughTheFile()
{
    const QString path = m_dir.filePath("roundtrip.prj");
    QVERIFY(QFile::copy(m_sample, path));
    StructurePickStore store(path);
    QVERIFY(store.allPicks().isEmpty());

    StructurePick a;
    a.depth = 12000.5;
    a.dip = 38.2;
    a.dipDirection = 215.0;
    a.amplitude = 430.0;
    StructurePick b = a;
    b.depth = 25000.0;
    b.type = QStringLiteral("vein");
    b.comment = QStringLiteral("方解石脉, open");
    QVERIFY2(store.add(&a), qPrintable(store.lastError()));
    QVERIFY(store.add(&b));
    QVERIFY(a.id > 0 && b.id > a.id);

    // A store opened afresh (as after reopening the project) sees the same picks.
    StructurePickStore again(path);
    QCOMPARE(again.allPicks(), (QVector<StructurePick>{a, b}));
    QCOMPARE(again.picks(20000, 30000), QVector<StructurePick>{b});

    b.comment = QStringLiteral("closed");
    b.dip = 41.0;
    QVERIFY(again.update(b));
    QVERIFY(again.remove(a.id));
    QCOMPARE(store.allPicks(), QVector<StructurePick>{b});
    // The image table is untouched.
    Inspector inspect(path);
    QCOMPARE(inspect.scalar("select count(*) from bigImages").toInt(),
             Inspector(m_sample).scalar("select count(*) from bigImages").toInt());
}

void TstStructurePickStore::filesThatMustNotChange_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("read-only project") << "readonly";
    QTest::newRow("not a project") << "foreign";
    QTest::newRow("project only read") << "read";
}

void TstStructurePickStore::filesThatMustNotChange()
{
    QFETCH(QString, kind);
    const QString path = m_dir.filePath(kind + ".prj");
    QFile::remove(path);
    QVERIFY(QFile::copy(m_sample, path));
    if (kind == "foreign") {
        Inspector inspect(path);
        QVERIFY(inspect.exec("drop table bigImages"));
    }
    if (kind == "readonly")
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    const QByteArray before = fileHash(path);

    StructurePickStore store(path);
    QVERIFY(store.allPicks().isEmpty());
    QVERIFY(store.picks(0, 1e9).isEmpty());
    StructurePick pick;
    pick.depth = 1000;
    if (kind != "read") {
        QVERIFY(!store.add(&pick));
        QVERIFY(!store.lastError().isEmpty());
        QCOMPARE(pick.id, qint64(0));
    }
    QCOMPARE(fileHash(path), before);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// A write the file refuses half-way leaves the stored picks as they were.
void TstStructurePickStore::failingWriteChangesNothing()
{
    const QString path = m_dir.filePath("failing.prj");
    QVERIFY(QFile::copy(m_sample, path));
    StructurePickStore store(path);
    StructurePick pick;
    pick.depth = 5000;
    pick.dip = 20;
    QVERIFY(store.add(&pick));
    {
        Inspector inspect(path);
        QVERIFY(inspect.exec("create trigger refuse before update on structurePicks "
                             "begin select raise(abort, 'refused'); end"));
        QVERIFY(inspect.exec("create trigger refuseInsert after insert on structurePicks "
                             "begin select raise(abort, 'refused'); end"));
    }
    StructurePick changed = pick;
    changed.dip = 70;
    QVERIFY(!store.update(changed));
    StructurePick another = pick;
    another.id = 0;
    QVERIFY(!store.add(&another));
    QCOMPARE(store.allPicks(), QVector<StructurePick>{pick});
}

void TstStructurePickStore::csvOfThreePicks()
{
    StructurePick a, b, c;
    a.depth = 124300;
    a.dip = 38;
    a.dipDirection = 215;
    b.depth = 130000.4;
    b.dip = 5.26;
    b.dipDirection = 0;
    b.type = "bedding";
    b.comment = "said \"clay\", soft";
    c.depth = 7;
    c.type = "breakout";
    c.comment = "裂缝";
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(StructurePickStore::writeCsv({a, b, c}, &buffer));
    QCOMPARE(QString::fromUtf8(buffer.data()),
             QString::fromUtf8("depth_m,dip_deg,dip_direction_deg,type,comment\n"
                               "12.4300,38.0,215.0,fracture,\n"
                               "13.0000,5.3,0.0,bedding,\"said \"\"clay\"\", soft\"\n"
                               "0.0007,0.0,0.0,breakout,裂缝\n"));

    // With a hole survey the true orientation follows in two more columns.
    const TrueOrientation orientation(HoleSurvey::straight(30.0, 90.0));
    QBuffer surveyed;
    QVERIFY(surveyed.open(QIODevice::WriteOnly));
    QVERIFY(StructurePickStore::writeCsv({a}, &surveyed, &orientation));
    const QStringList lines = QString::fromUtf8(surveyed.data()).split('\n');
    QCOMPARE(lines.value(0), QString("depth_m,dip_deg,dip_direction_deg,type,comment,true_dip_deg,"
                                     "true_dip_direction_deg"));
    const StructurePick t = orientation.corrected(a);
    QVERIFY(std::fabs(t.dip - a.dip) > 1.0);
    QCOMPARE(lines.value(1), QString("12.4300,38.0,215.0,fracture,,%1,%2")
                                 .arg(t.dip, 0, 'f', 1)
                                 .arg(t.dipDirection, 0, 'f', 1));
}

void TstStructurePickStore::storedValuesThatAreNoNumbers_data()
{
    QTest::addColumn<QString>("values");   // dip, dipDirection as SQL
    QTest::addColumn<QString>("csv");      // the pick's line of the CSV
    QTest::newRow("NULL dip") << "NULL, 40" << "1.0000,,40.0,fracture,";
    QTest::newRow("text dip") << "'steep', 40" << "1.0000,,40.0,fracture,";
    QTest::newRow("dip above 90") << "95, 40" << "1.0000,,40.0,fracture,";
    QTest::newRow("infinite direction") << "30, 1e999" << "1.0000,30.0,,fracture,";
    QTest::newRow("NaN direction as text") << "30, 'NaN'" << "1.0000,30.0,,fracture,";
}

void TstStructurePickStore::storedValuesThatAreNoNumbers()
{
    QFETCH(QString, values);
    QFETCH(QString, csv);
    const QString path = m_dir.filePath(QStringLiteral("bad-%1.prj").arg(QTest::currentDataTag()));
    QFile::remove(path);
    QVERIFY(QFile::copy(m_sample, path));
    StructurePick good;
    good.depth = 20000;
    good.dip = 30;
    good.dipDirection = 100;
    StructurePickStore store(path);
    QVERIFY(store.add(&good));
    {
        Inspector db(path);
        QVERIFY(db.exec("INSERT INTO structurePicks (depth, dip, dipDirection, amplitude, type) VALUES (10000, "
                        + values + ", 1, 'fracture')"));
    }
    const QVector<StructurePick> picks = store.allPicks();
    QCOMPARE(picks.size(), 2);
    QVERIFY(!picks.first().isValid());
    QVERIFY(picks.last().isValid());
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(StructurePickStore::writeCsv(picks, &buffer));
    QCOMPARE(QString::fromUtf8(buffer.data()).split(QLatin1Char('\n')).value(1), csv);
}

void TstStructurePickStore::csvToAReadOnlyFolderSaysWhy()
{
    QTemporaryDir folder(m_dir.filePath(QStringLiteral("csv-XXXXXX")));
    const QString path = folder.filePath(QStringLiteral("picks.csv"));
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    QString error;
    QVERIFY(!StructurePickStore::writeCsv({StructurePick()}, path, &error));
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(error, QStringLiteral("the folder \"%1\" is read-only").arg(folder.path()));
    QVERIFY(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(TstStructurePickStore)
#include "tst_structurepickstore.moc"
