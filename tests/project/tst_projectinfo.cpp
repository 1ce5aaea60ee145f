// The project record: generations and migration, reading, saving, the
// navigation panel, and files that are missing, damaged or read-only.

#include "globals.h"
#include "projectinfo.h"
#include "projecttesthelpers.h"
#include "samplefixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>
#include <cmath>

using namespace ProjectTest;

class TestProjectInfo : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void panelFactoryAndPageValues();
    void generations_data();
    void generations();
    void foreignTablesStayUnchanged_data();
    void foreignTablesStayUnchanged();
    void walFilesAreGoneAfterClosing();
    void upProjectStartsAtZero();
    void dates_data();
    void dates();
    void saveAndReload();
    void emptyRowKeepsDescriptiveFields();
    void missingPathIsNeverCreated();
    void damagedFilesStayUnchanged_data();
    void damagedFilesStayUnchanged();
    void projectWithoutImages();
    void readOnlyFiles_data();
    void readOnlyFiles();
    void writeProblemNamesThePlace_data();
    void writeProblemNamesThePlace();
    void pixelFactorWithoutDiameterOrWidth();
    void cleanupTestCase();

private:
    QString sample(const QString &name, const QStringList &args) { return makeSample(m_dir, name, args); }

    QTemporaryDir m_dir;
    FakePanel *m_panel = nullptr;
};

void TestProjectInfo::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestProjectInfo::init()
{
    if (m_panel)
        ProjectInfo::instance()->reset();
}

void TestProjectInfo::panelFactoryAndPageValues()
{
    // The record exists before the shell registers its panel.
    ProjectInfo *info = ProjectInfo::instance();
    QVERIFY(!info->fileInfoWidget());
    info->setPageStart(12345); // no panel yet: must not crash
    info->setPageEnd(23456);
    QCOMPARE(info->pageStart(), 12345);

    ProjectInfo::setPanelFactory([this]() {
        m_panel = new FakePanel;
        return m_panel;
    });
    QVERIFY(m_panel);
    QCOMPARE(info->fileInfoWidget(), static_cast<NavigationPanel *>(m_panel));

    // Whole metres: start rounded down, end rounded up.
    for (const QPair<int, int> &c : {qMakePair(25000, 2), qMakePair(30000, 3), qMakePair(9999, 0)}) {
        info->setPageStart(c.first);
        QCOMPARE(m_panel->startSpin, c.second);
    }
    for (const QPair<int, int> &c : {qMakePair(25000, 3), qMakePair(30000, 3), qMakePair(30001, 4)}) {
        info->setPageEnd(c.first);
        QCOMPARE(m_panel->endSpin, c.second);
    }
    QCOMPARE(info->pageEnd(), 30001);

    // reset() clears the page and resets the panel (what it does to the
    // project's facts is checked in generations()).
    const int resets = m_panel->resets;
    info->reset();
    QCOMPARE(m_panel->resets, resets + 1);
    QCOMPARE(m_panel->endSpin, 5);
    QCOMPARE(info->pageStart(), 0);
    QCOMPARE(info->pageEnd(), 0);
}

void TestProjectInfo::generations_data()
{
    QTest::addColumn<int>("generation");
    QTest::addColumn<int>("columnsAfter");
    QTest::addColumn<bool>("coordinates");
    QTest::addColumn<double>("longitude");

    QTest::newRow("3 columns") << 3 << 14 << false << 114.3;
    QTest::newRow("5 columns") << 5 << 16 << true << 112.9388;
    QTest::newRow("14 columns") << 14 << 14 << false << 114.3;
    QTest::newRow("16 columns") << 16 << 16 << true << 112.9388;
}

void TestProjectInfo::generations()
{
    QFETCH(int, generation);
    QFETCH(int, columnsAfter);
    QFETCH(bool, coordinates);
    QFETCH(double, longitude);

    const QString path = sample(QStringLiteral("gen%1.prj").arg(generation),
                                {"--generation", QString::number(generation), "--from", "2", "--to", "5",
                                 "--diameter", "120", "--width", "300", "--name", "Hole A", "--date", "2021/03/04"});
    QVERIFY(!path.isEmpty());

    {
        // Every statement of the opening succeeds: the row is read with the
        // statement of its generation, not by a fallback after an error.
        LogRecorder log;
        openProject(path);
        QCOMPARE(log.messages(), QStringList());
    }
    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->projectPath(), path);
    QCOMPARE(info->direction(), QStringLiteral("down"));
    QCOMPARE(info->start(), 20000);
    QCOMPARE(info->diameter(), 1200);
    QCOMPARE(info->maxDepth(), 50000);
    QCOMPARE(info->imageWidth(), 300);
    QCOMPARE(info->hasCoordinateColumns(), coordinates);
    QCOMPARE(info->fLongitude(), longitude);
    if (generation >= 14) {
        QCOMPARE(info->projectName(), QStringLiteral("Hole A"));
        QCOMPARE(info->date(), QDate(2021, 3, 4));
    }
    // The panel shows the depth range.
    QCOMPARE(m_panel->startText, 20000);
    QCOMPARE(m_panel->endText, 50000);

    QStringList columns;
    {
        Inspector db(path);
        columns = db.columns(QStringLiteral("projectInfo"));
    }
    QCOMPARE(columns.size(), columnsAfter);
    QCOMPARE(columns.mid(columns.size() - 11, 11),
             QStringList({"projectName", "detectionUnit", "coordinatesLongitude", "coordinatesLatitude",
                          "orificeNumber", "date", "testTotalDepth", "testStartDepth", "testPerson",
                          "orificeElevation", "stableWaterLevel"}));

    // A second opening finds the current column set and writes nothing.
    const QByteArray before = fileHash(path);
    openProject(path);
    QCOMPARE(fileHash(path), before);
    QCOMPARE(info->maxDepth(), 50000);
    QCOMPARE(info->hasCoordinateColumns(), coordinates);

    // reset() forgets the project's facts but keeps the descriptive fields.
    info->setPageHeight(99);
    info->reset();
    QCOMPARE(info->start(), 0);
    QCOMPARE(info->maxDepth(), 0);
    QCOMPARE(info->diameter(), 0);
    QCOMPARE(info->imageWidth(), 0);
    QCOMPARE(info->pageHeight(), 0);
    QVERIFY(!info->hasCoordinateColumns());
    QCOMPARE(info->fLongitude(), 114.3);
    QCOMPARE(info->fLatitude(), 30.57);
    QVERIFY(info->direction().isEmpty());
    QVERIFY(info->projectPath().isEmpty());
    if (generation >= 14) {
        QCOMPARE(info->projectName(), QStringLiteral("Hole A"));
        QCOMPARE(info->date(), QDate(2021, 3, 4));
    }
}

void TestProjectInfo::foreignTablesStayUnchanged_data()
{
    QTest::addColumn<int>("generation");
    QTest::addColumn<QStringList>("mutation");
    QTest::addColumn<int>("maxDepth");

    const QString recreate = QStringLiteral("drop table projectInfo");
    QTest::newRow("two columns") << 3
        << QStringList{recreate, "create table projectInfo (direction text, start integer)",
                       "insert into projectInfo values ('down', 0)"}
        << 20000;
    QTest::newRow("one flipped letter") << 3
        << QStringList{recreate, "create table projectInfo (direction text, start integer, diametes integer)",
                       "insert into projectInfo values ('down', 0, 1000)"}
        << 20000;
    QTest::newRow("flipped coordinate column") << 5
        << QStringList{recreate, "create table projectInfo (direction text, start integer, diameter integer, "
                                 "fLongitude real, fLatitudf real)",
                       "insert into projectInfo values ('down', 0, 1000, 1.0, 2.0)"}
        << 20000;
    // Five columns, two of them from the new set: the first ALTERs would
    // succeed before one clashes.
    QTest::newRow("partly migrated") << 3
        << QStringList{"ALTER  table projectInfo ADD  orificeNumber varchar(20)",
                       "ALTER  table projectInfo ADD  date varchar(20)"}
        << 20000;
    QTest::newRow("a column of the new set among the old") << 3
        << QStringList{recreate, "create table projectInfo (direction text, start integer, date varchar(20))",
                       "insert into projectInfo values ('down', 0, '2020/02/02')"}
        << 20000;
    QTest::newRow("no bigImages table") << 3 << QStringList{"drop table bigImages"} << 0;
    // An extra table whose last page (an overflow page) then points beyond
    // the end of the file: SQLite's quick check fails, the rest reads.
    QTest::newRow("fails the quick check") << 5
        << QStringList{"create table extra (x blob)", "insert into extra values (zeroblob(9000))", "corrupt"}
        << 20000;
}

void TestProjectInfo::foreignTablesStayUnchanged()
{
    QFETCH(int, generation);
    QFETCH(QStringList, mutation);
    QFETCH(int, maxDepth);

    const QString path = sample(QStringLiteral("foreign.prj"),
                                {"--generation", QString::number(generation), "--to", "2"});
    QVERIFY(!path.isEmpty());
    {
        Inspector db(path);
        for (const QString &sql : mutation)
            if (sql != QLatin1String("corrupt"))
                QVERIFY(db.exec(sql));
    }
    if (mutation.contains(QStringLiteral("corrupt"))) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(file.size() - 4096));
        file.write(QByteArray::fromHex("00000fff"));
        file.close();
        Inspector db(path);
        QVERIFY(db.scalar(QStringLiteral("pragma quick_check")).toString() != QLatin1String("ok"));
    }
    const QByteArray before = fileHash(path);

    LogRecorder log;
    openProject(path);
    openProject(path); // and a second time
    QCOMPARE(fileHash(path), before);
    for (const QString &line : log.messages())
        QVERIFY2(!line.contains(QLatin1String("duplicate column")), qPrintable(line));
    // What the table has is still read, and so are the images.
    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->direction(), QStringLiteral("down"));
    QCOMPARE(info->maxDepth(), maxDepth);
    QCOMPARE(info->imageWidth(), maxDepth ? 400 : 0);
    info->reset();
    QCOMPARE(fileHash(path), before);
}

void TestProjectInfo::walFilesAreGoneAfterClosing()
{
    // Projects of the old five-column generation in WAL mode: the opening
    // migrates them, and the migration first lives in the -wal file.
    auto walSample = [this](const QString &name) {
        const QString path = sample(name, {"--generation", "5", "--to", "2"});
        Inspector db(path);
        return db.scalar(QStringLiteral("pragma journal_mode=wal")).toString() == QLatin1String("wal") ? path
                                                                                                      : QString();
    };
    const QString path = walSample(QStringLiteral("wal.prj"));
    QVERIFY(!path.isEmpty());
    const QString wal = path + QStringLiteral("-wal");
    const QString shm = path + QStringLiteral("-shm");
    QVERIFY(!QFile::exists(wal));

    // Closing the project closes its connection.
    openProject(path);
    QVERIFY(QFile::exists(wal)); // the connection is open
    ProjectInfo::instance()->reset();
    QVERIFY(!QFile::exists(wal));
    QVERIFY(!QFile::exists(shm));
    {
        Inspector db(path);
        QCOMPARE(db.columns(QStringLiteral("projectInfo")).size(), 16);
    }
    QVERIFY(!QFile::exists(wal));

    // The end of the program closes it too: a child opens the project and
    // exits without closing it.
    const QString second = walSample(QStringLiteral("wal-exit.prj"));
    QVERIFY(!second.isEmpty());
    const ChildResult child = runChild(QStringLiteral("open-and-exit"), {second}, 0, Limit::MemoryMiB, 60000);
    QVERIFY2(child.finished && !child.crashed, qPrintable(child.err.right(2000)));
    QCOMPARE(child.exitCode, 0);
    QCOMPARE(child.out.trimmed(), QStringLiteral("open with -wal"));
    QVERIFY(!QFile::exists(second + QStringLiteral("-wal")));
    QVERIFY(!QFile::exists(second + QStringLiteral("-shm")));
    Inspector db(second);
    QCOMPARE(db.columns(QStringLiteral("projectInfo")).size(), 16);
}

void TestProjectInfo::upProjectStartsAtZero()
{
    const QString path = sample(QStringLiteral("up.prj"), {"--direction", "up", "--to", "3"});
    QVERIFY(!path.isEmpty());
    {
        Inspector db(path);
        QVERIFY(db.exec(QStringLiteral("update projectInfo set start = 15000")));
    }
    openProject(path);
    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->direction(), QStringLiteral("up"));
    QCOMPARE(info->start(), 0);
    QCOMPARE(m_panel->startText, 0);
    QCOMPARE(info->maxDepth(), 30000);
}

void TestProjectInfo::dates_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QDate>("parsed");
    QTest::addColumn<QString>("written");
    QTest::newRow("valid") << "2019/12/31" << QDate(2019, 12, 31) << "2019/12/31";
    QTest::newRow("other format") << "31.12.2019" << QDate() << "";
    QTest::newRow("nonsense") << "yesterday" << QDate() << "";
}

void TestProjectInfo::dates()
{
    QFETCH(QString, stored);
    QFETCH(QDate, parsed);
    QFETCH(QString, written);

    const QString path = sample(QStringLiteral("date.prj"), {"--date", stored, "--to", "1"});
    QVERIFY(!path.isEmpty());
    openProject(path);
    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->date(), parsed);

    QVERIFY(info->saveProjectInfo());
    Inspector db(path);
    QCOMPARE(db.scalar(QStringLiteral("select date from projectInfo")).toString(), written);
    QCOMPARE(db.scalar(QStringLiteral("select typeof(date) from projectInfo")).toString(), QStringLiteral("text"));
}

void TestProjectInfo::saveAndReload()
{
    const QString path = sample(QStringLiteral("save.prj"), {"--from", "1", "--to", "3"});
    QVERIFY(!path.isEmpty());
    openProject(path);
    ProjectInfo *info = ProjectInfo::instance();
    QVERIFY(info->isDatabaseOpen());

    struct Field
    {
        void (ProjectInfo::*set)(const QString &);
        QString (ProjectInfo::*get)() const;
        QString value;
    };
    const QVector<Field> fields{
        {&ProjectInfo::setProjectName, &ProjectInfo::projectName, "North pit"},
        {&ProjectInfo::setDetectionUnit, &ProjectInfo::detectionUnit, "Survey 7"},
        {&ProjectInfo::setCoordinatesLongitude, &ProjectInfo::coordinatesLongitude, "113.1E"},
        {&ProjectInfo::setCoordinatesLatitude, &ProjectInfo::coordinatesLatitude, "29.9N"},
        {&ProjectInfo::setOrificeNumber, &ProjectInfo::orificeNumber, "ZK-42"},
        {&ProjectInfo::setTestTotalDepth, &ProjectInfo::testTotalDepth, "3.00"},
        {&ProjectInfo::setTestStartDepth, &ProjectInfo::testStartDepth, "1.00"},
        {&ProjectInfo::setTestPerson, &ProjectInfo::testPerson, "Li Wei"},
        {&ProjectInfo::setOrificeElevation, &ProjectInfo::orificeElevation, "120.5"},
        {&ProjectInfo::setStableWaterLevel, &ProjectInfo::stableWaterLevel, "4.2"}};
    for (const Field &f : fields)
        (info->*f.set)(f.value);
    info->setDate(QDate(2022, 7, 1));
    QVERIFY(info->saveProjectInfo());
    QVERIFY(!info->isDatabaseOpen()); // closed after a successful save

    // A second save opens the connection again.
    info->setTestPerson(QStringLiteral("Wang Fang"));
    QVERIFY(info->saveProjectInfo());

    // Forget the values in memory, then read them back from the file.
    for (const Field &f : fields)
        (info->*f.set)(QStringLiteral("stale"));
    info->setDate(QDate(2000, 1, 1));
    openProject(path);
    for (const Field &f : fields)
        QCOMPARE((info->*f.get)(), f.set == &ProjectInfo::setTestPerson ? QStringLiteral("Wang Fang") : f.value);
    QCOMPARE(info->date(), QDate(2022, 7, 1));
    // The other facts of the file are untouched by the save.
    QCOMPARE(info->start(), 10000);
    QCOMPARE(info->maxDepth(), 30000);

    // After reset no project is open: saving fails instead of writing to the
    // previous file.
    info->reset();
    const QByteArray before = fileHash(path);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("^database open failed!"));
    QVERIFY(!info->saveProjectInfo());
    QCOMPARE(fileHash(path), before);
}

void TestProjectInfo::emptyRowKeepsDescriptiveFields()
{
    const QString first = sample(QStringLiteral("first.prj"), {"--name", "First", "--person", "Ann"});
    const QString second = sample(QStringLiteral("norow.prj"), {"--name", "Second"});
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    {
        Inspector db(second);
        QVERIFY(db.exec(QStringLiteral("delete from projectInfo")));
    }
    openProject(first);
    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->projectName(), QStringLiteral("First"));
    openProject(second);
    QCOMPARE(info->projectName(), QStringLiteral("First"));
    QCOMPARE(info->testPerson(), QStringLiteral("Ann"));
    QCOMPARE(info->maxDepth(), 100000);
}

void TestProjectInfo::missingPathIsNeverCreated()
{
    const QString path = m_dir.filePath(QStringLiteral("does-not-exist.prj"));
    ProjectInfo *info = ProjectInfo::instance();
    openProject(sample(QStringLiteral("before-missing.prj"), {}));
    QCOMPARE(info->maxDepth(), 100000);

    LogRecorder log;
    openProject(path);
    QVERIFY(!QFile::exists(path));
    QVERIFY(log.contains(QStringLiteral("database open failed!")));
    QVERIFY(!info->isDatabaseOpen());
    QCOMPARE(info->projectPath(), path);
    QCOMPARE(info->maxDepth(), 0);
    QCOMPARE(info->imageWidth(), 0);
    QVERIFY(!info->saveProjectInfo());
    QVERIFY(!QFile::exists(path));

    // A directory is not a project file either.
    openProject(m_dir.path());
    QVERIFY(!info->saveProjectInfo());
    QVERIFY(QFileInfo(m_dir.path()).isDir());
}

void TestProjectInfo::damagedFilesStayUnchanged_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("garbage bytes") << "garbage";
    QTest::newRow("empty file") << "empty";
    QTest::newRow("database without tables") << "notables";
    QTest::newRow("database without projectInfo") << "noinfo";
    QTest::newRow("truncated database") << "truncated";
}

void TestProjectInfo::damagedFilesStayUnchanged()
{
    QFETCH(QString, kind);
    const QString path = m_dir.filePath(kind + QStringLiteral(".prj"));
    QFile::remove(path);
    if (kind == QLatin1String("garbage")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray bytes;
        for (int i = 0; i < 8192; ++i)
            bytes.append(char((i * 7919 + 13) % 251));
        f.write(bytes);
    } else if (kind == QLatin1String("empty")) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    } else if (kind == QLatin1String("notables")) {
        QVERIFY(SampleFixture::make(path, {"--to", "1", "--quiet"}));
        Inspector db(path);
        QVERIFY(db.exec(QStringLiteral("drop table projectInfo")));
        QVERIFY(db.exec(QStringLiteral("drop table bigImages")));
        QVERIFY(db.exec(QStringLiteral("drop table images")));
    } else if (kind == QLatin1String("noinfo")) {
        QVERIFY(SampleFixture::make(path, {"--to", "2", "--quiet"}));
        Inspector db(path);
        QVERIFY(db.exec(QStringLiteral("drop table projectInfo")));
    } else {
        const QString full = m_dir.filePath(QStringLiteral("full.prj"));
        QVERIFY(SampleFixture::make(full, {"--to", "2", "--quiet"}));
        QFile f(full);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray head = f.read(1024); // header page and a bit
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(head);
    }
    QVERIFY(QFile::exists(path));
    const QByteArray before = fileHash(path);
    const qint64 sizeBefore = QFileInfo(path).size();

    ProjectInfo *info = ProjectInfo::instance();
    info->setDiameter(0);
    LogRecorder log;
    openProject(path);
    QCOMPARE(info->maxDepth(), 0);
    QCOMPARE(info->imageWidth(), 0);
    QVERIFY(!info->saveProjectInfo());
    QVERIFY(!log.contains(QStringLiteral("add column"))); // no migration was tried
    openProject(path); // and a second time
    QVERIFY(std::isfinite(info->computePixelFactor()));
    QCOMPARE(info->computePixelFactor(), 0.0);

    QCOMPARE(fileHash(path), before);
    QCOMPARE(QFileInfo(path).size(), sizeBefore);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
}

void TestProjectInfo::projectWithoutImages()
{
    const QString path = sample(QStringLiteral("noimages.prj"), {"--no-images", "--generation", "5"});
    QVERIFY(!path.isEmpty());
    openProject(path);
    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->direction(), QStringLiteral("down"));
    QCOMPARE(info->diameter(), 1000);
    QCOMPARE(info->maxDepth(), 0);
    QCOMPARE(info->imageWidth(), 0);
    // The projectInfo table is still migrated.
    Inspector db(path);
    QCOMPARE(db.columns(QStringLiteral("projectInfo")).size(), 16);
}

void TestProjectInfo::readOnlyFiles_data()
{
    QTest::addColumn<int>("generation");
    QTest::newRow("3 columns, cannot be migrated") << 3;
    QTest::newRow("16 columns") << 16;
}

void TestProjectInfo::readOnlyFiles()
{
    QFETCH(int, generation);
    const QString path = sample(QStringLiteral("readonly%1.prj").arg(generation),
                                {"--generation", QString::number(generation), "--from", "1", "--to", "4",
                                 "--name", "Locked"});
    QVERIFY(!path.isEmpty());
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray before = fileHash(path);

    ProjectInfo *info = ProjectInfo::instance();
    info->setProjectName(QStringLiteral("previous"));
    LogRecorder log;
    openProject(path);
    // The images can be viewed.
    QCOMPARE(info->direction(), QStringLiteral("down"));
    QCOMPARE(info->start(), 10000);
    QCOMPARE(info->diameter(), 1000);
    QCOMPARE(info->maxDepth(), 40000);
    QCOMPARE(info->imageWidth(), 400);
    if (generation == 3) {
        QVERIFY(log.contains(QStringLiteral("add column")));
        QCOMPARE(info->projectName(), QStringLiteral("previous"));
    } else {
        QCOMPARE(info->projectName(), QStringLiteral("Locked"));
    }

    // Saving fails with a logged error and leaves the file as it was.
    info->setProjectName(QStringLiteral("changed"));
    QVERIFY(!info->saveProjectInfo());
    QVERIFY(log.contains(QStringLiteral("add data")));
    QCOMPARE(fileHash(path), before);
    {
        Inspector db(path);
        QCOMPARE(db.columns(QStringLiteral("projectInfo")).size(), generation);
    }
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
}

void TestProjectInfo::writeProblemNamesThePlace_data()
{
    QTest::addColumn<QString>("place"); // what is read-only: "", file, folder
    QTest::addColumn<bool>("hotJournal");
    QTest::addColumn<QString>("problem"); // %1: the file's name, %2: its folder
    QTest::newRow("writable") << "" << false << "";
    QTest::newRow("writable, journal waiting") << "" << true << "";
    QTest::newRow("read-only file") << "file" << false << "the file \"%1\" is read-only";
    QTest::newRow("read-only folder, journal waiting")
        << "folder" << true
        << "the folder \"%2\" is read-only; it was interrupted during a change; open it where it can be written to "
           "finish restoring it";
}

void TestProjectInfo::writeProblemNamesThePlace()
{
    QFETCH(QString, place);
    QFETCH(bool, hotJournal);
    QFETCH(QString, problem);
    QTemporaryDir folder(m_dir.filePath(QStringLiteral("place-XXXXXX")));
    const QString path = folder.filePath(QStringLiteral("p.prj"));
    QVERIFY(SampleFixture::make(path, {"--to", "2"}));
    QFile journal(path + QStringLiteral("-journal"));
    QVERIFY(!hotJournal || (journal.open(QIODevice::WriteOnly) && journal.write(QByteArray(512, 'j')) == 512));
    journal.close();
    if (!place.isEmpty())
        QVERIFY(QFile::setPermissions(place == "file" ? path : folder.path(), QFile::ReadOwner | QFile::ExeOwner));
    ProjectInfo::instance()->setDatabase(path);
    const QString found = ProjectInfo::instance()->writeProblem();
    ProjectInfo::instance()->setDatabase(QString());
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(found, problem.replace("%1", "p.prj").replace("%2", folder.path()));
}

void TestProjectInfo::pixelFactorWithoutDiameterOrWidth()
{
    ProjectInfo *info = ProjectInfo::instance();

    // Diameter 0 in the file.
    const QString path = sample(QStringLiteral("nodiameter.prj"), {"--diameter", "0", "--width", "1000"});
    QVERIFY(!path.isEmpty());
    openProject(path);
    QCOMPARE(info->diameter(), 0);
    QCOMPARE(info->imageWidth(), 1000);
    QCOMPARE(info->computePixelFactor(), 0.0);
    pixelsPerUnit = 0.5;
    info->setDiameter(0); // 0 leaves the factor alone
    QCOMPARE(pixelsPerUnit, 0.5);
    info->setDiameter(1000);
    QVERIFY(qFuzzyCompare(pixelsPerUnit, 1000 / 3140.0));
    QVERIFY(qFuzzyCompare(info->computePixelFactor(), 1000 / 3140.0));
    info->setDiameter(-50); // nonsense diameter: unknown, not negative
    QCOMPARE(pixelsPerUnit, 0.0);

    // Image width 0 (no images).
    openProject(sample(QStringLiteral("nowidth.prj"), {"--no-images"}));
    QCOMPARE(info->imageWidth(), 0);
    info->setDiameter(1000);
    QCOMPARE(pixelsPerUnit, 0.0);
    QVERIFY(std::isfinite(info->computePixelFactor()));
}

void TestProjectInfo::cleanupTestCase()
{
    ProjectInfo::instance()->reset();
}

namespace {

// Child: opens a project the way the main window does and ends without
// closing it.
int openAndExit(const QString &routine, const QStringList &args)
{
    if (routine != QLatin1String("open-and-exit") || args.size() != 1)
        return 3;
    openProject(args.first());
    if (!ProjectInfo::instance()->isDatabaseOpen())
        return 4;
    QTextStream(stdout) << (QFile::exists(args.first() + QStringLiteral("-wal")) ? "open with -wal" : "open")
                        << '\n';
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    return testMain<TestProjectInfo>(argc, argv, &openAndExit);
}

#include "tst_projectinfo.moc"
