// A rewrite of the big-image table (upward conversion, depth or azimuth
// correction) never loses the user's images: it lands as a whole or not at
// all, whatever happens while it runs.

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <memory>
#include <sys/mount.h>

#include "correctionfixture.h"
#include "killfixture.h"
#include "samplefixture.h"
#include "../project/projecttesthelpers.h"

using namespace ConversionFixture;

namespace {

const char *const kChildArgument = "--rewrite-child";

// The correction of the kind given (depth: the 20 m sample 5 % deeper, or
// angle) of the project at path, its record loaded.
std::unique_ptr<CorrectionThread> correction(const QString &kind, const QString &path)
{
    loadRecord(path);
    return kind == QLatin1String("depth") ? std::unique_ptr<CorrectionThread>(new CorrectDepthThread(path, 21000))
                                          : std::make_unique<CorrectAngleThread>(path, 120);
}

// Child mode: one rewrite of the kind given as the main window runs it, held
// at pauseAt when that is >= 0.
int runChild(const QString &kind, const QString &path, int pauseAt)
{
    if (kind == QLatin1String("convert")) {
        loadRecord(path);
        ProcessUpProjectThread worker(path);
        return KillFixture::runReported(worker, pauseAt);
    }
    return KillFixture::runReported(*correction(kind, path), pauseAt);
}

// Child of failedCorrectionSaysWhy: the correction args[0] of args[1] on a full disk.
int fullDiskChild(const QString &routine, const QStringList &args)
{
    if (routine != QLatin1String("correct") || args.size() < 2)
        return 2;
    const std::unique_ptr<CorrectionThread> worker = correction(args.at(0), args.at(1));
    const bool ok = CorrectionFixture::run(*worker).succeeded;
    ProjectTest::print(QStringLiteral("failure"), ok ? QStringLiteral("succeeded") : worker->failureText());
    return 0;
}

} // namespace

class TestRewriteSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void leftoverNewTableIsNotSwappedIn();
    void failedRunLeavesProjectUnchanged_data();
    void failedRunLeavesProjectUnchanged();
    void cancelBeforeStartChangesNothing();
    void failedCorrectionSaysWhy_data();
    void failedCorrectionSaysWhy();
    void killedAtRandomMomentsLeavesOldOrNew_data();
    void killedAtRandomMomentsLeavesOldOrNew();

private:
    QString copyOf(const QString &source, const QString &name);
    QTemporaryDir m_dir;
    QString m_small;      // 6 m upward project
    QString m_large;      // 30 m upward project
    QString m_kill;       // 40 m upward project, 600 px wide
    QString m_down;       // 20 m downward project, 600 px wide
};

void TestRewriteSafety::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_small = m_dir.filePath(QStringLiteral("small.prj"));
    m_large = m_dir.filePath(QStringLiteral("large.prj"));
    m_kill = m_dir.filePath(QStringLiteral("kill.prj"));
    QVERIFY(SampleFixture::make(m_small, {"--direction", "up", "--to", "6", "--width", "400"}));
    QVERIFY(SampleFixture::make(m_large, {"--direction", "up", "--to", "30", "--width", "400",
                                          "--seed", "5"}));
    m_down = m_dir.filePath(QStringLiteral("down.prj"));
    QVERIFY(SampleFixture::make(m_kill, {"--direction", "up", "--to", "40", "--width", "600",
                                         "--seed", "8"}));
    QVERIFY(SampleFixture::make(m_down, {"--to", "20", "--width", "600", "--seed", "9"}));
}

QString TestRewriteSafety::copyOf(const QString &source, const QString &name)
{
    const QString path = m_dir.filePath(name);
    return copyProject(source, path) ? path : QString();
}

void TestRewriteSafety::leftoverNewTableIsNotSwappedIn()
{
    const QString reference = copyOf(m_small, QStringLiteral("leftover-ref.prj"));
    loadRecord(reference);
    QVERIFY(convert(reference).succeeded);
    const FileState expected = readState(reference);

    // An older run died after creating newBigImages outside a transaction.
    const QString path = copyOf(m_small, QStringLiteral("leftover.prj"));
    QVERIFY(execOn(path, {QStringLiteral("create table newBigImages (id integer primary key, data blob)"),
                          QStringLiteral("insert into newBigImages values (10000, 'stale')"),
                          QStringLiteral("insert into newBigImages values (777777, 'stale')")}));
    QVERIFY(readState(path).hasNewTable);
    loadRecord(path);
    QVERIFY(convert(path).succeeded);
    const FileState after = readState(path);
    QVERIFY(!after.hasNewTable);
    QCOMPARE(after.ids(), expected.ids());
    QCOMPARE(after.hash, expected.hash);
}

namespace {

// A small tmpfs mounted for one test, unmounted when it goes out of scope.
struct TinyFileSystem
{
    QString path;
    bool mounted = false;
    TinyFileSystem(const QString &dir, qint64 bytes) : path(dir)
    {
        QDir().mkpath(dir);
        const QByteArray options = "size=" + QByteArray::number(bytes);
        mounted = ::mount("tmpfs", QFile::encodeName(dir).constData(), "tmpfs", 0,
                          options.constData()) == 0;
    }
    ~TinyFileSystem()
    {
        if (mounted)
            ::umount2(QFile::encodeName(path).constData(), MNT_DETACH);
    }
};

// Another program's connection, holding the write lock of a file while alive.
struct WriteLock
{
    const QString name = QStringLiteral("locker");
    bool held = false;
    explicit WriteLock(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        held = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~WriteLock()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
};

} // namespace

void TestRewriteSafety::failedRunLeavesProjectUnchanged_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QStringList>("logged");   // patterns of the debug lines that say why
    const QString failed = QStringLiteral("conversion failed, project left unchanged:.*");
    QTest::newRow("canceled mid-run")
        << "cancel" << QStringList{"conversion canceled", "conversion canceled, project left unchanged"};
    // Room for about two new pieces, then SQLite reports a full disk.
    QTest::newRow("page limit reached") << "page limit" << QStringList{failed + "full"};
    // A real full disk: the file lies on a file system with a little more
    // room than it takes, which fills up near the end of the run (when
    // SQLite writes its cached pages out).
    QTest::newRow("file system full") << "tmpfs" << QStringList{failed + "full"};
    // Refused before any work: the file is found read-only first.
    QTest::newRow("read-only file") << "read-only" << QStringList{"project file cannot be written: read-only"};
    // Another program holds the write lock for longer than the worker waits.
    QTest::newRow("write lock held elsewhere")
        << "locked" << QStringList{"project file cannot be written:.*locked"};
}

void TestRewriteSafety::failedRunLeavesProjectUnchanged()
{
    QFETCH(QString, trouble);
    QFETCH(QStringList, logged);
    std::unique_ptr<TinyFileSystem> fs;
    QString path;
    if (trouble == QLatin1String("tmpfs")) {
        fs.reset(new TinyFileSystem(m_dir.filePath(QStringLiteral("tiny")),
                                    (QFileInfo(m_small).size() / 4096 + 24) * 4096));
        if (!fs->mounted)
            QSKIP("cannot mount a tmpfs here (needs root); the page-limit row covers the rest");
        path = fs->path + QStringLiteral("/full.prj");
        QVERIFY(QFile::copy(m_small, path));
    } else {
        path = copyOf(trouble == QLatin1String("cancel") ? m_large : m_small, trouble + QStringLiteral(".prj"));
    }
    const FileState before = readState(path);
    const int pages = scalarOn(path, QStringLiteral("PRAGMA page_count")).toInt();
    QVERIFY(pages > 0);
    if (trouble == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    loadRecord(path);
    for (const QString &pattern : logged)
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(pattern));

    RunResult run;
    if (trouble == QLatin1String("locked")) {
        WriteLock lock(path);
        QVERIFY(lock.held);
        run = convert(path);
    } else if (trouble == QLatin1String("page limit")) {
        run = convert(path, {QStringLiteral("PRAGMA max_page_count = %1").arg(pages + 40)});
    } else {
        run = convert(path, {}, trouble == QLatin1String("cancel") ? 2 : -1);
    }
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.finishedLast);
    if (trouble == QLatin1String("cancel")) {
        QCOMPARE(run.counts, QList<int>{30});
        QCOMPARE(run.progress, steps(0, 2));   // it stopped at the next piece
    } else if (trouble == QLatin1String("page limit") || fs) {
        QVERIFY(!run.progress.isEmpty());   // it failed part-way, after some pieces went in
    }
    // Let go of the record's connection before the file system goes.
    ProjectInfo::instance()->setDatabase(QString());
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
    QCOMPARE(scalarOn(path, QStringLiteral("PRAGMA page_count")).toInt(), pages);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
}

void TestRewriteSafety::failedCorrectionSaysWhy_data()
{
    for (const char *column : {"kind", "trouble", "cause"})
        QTest::addColumn<QString>(column);
    // Both kinds fail through the same table rewrite: each trouble once.
    QTest::newRow("depth, disk full") << "depth" << "full disk" << "the disk is full";
    QTest::newRow("angle, page limit") << "angle" << "page limit" << "the disk is full";
    QTest::newRow("depth, read-only file") << "depth" << "read-only file" << "the file \"%1\" is read-only";
    QTest::newRow("angle, read-only folder") << "angle" << "read-only folder" << "the folder \"%2\" is read-only";
    QTest::newRow("angle, locked") << "angle" << "locked" << "the file is locked by another program";
}

void TestRewriteSafety::failedCorrectionSaysWhy()
{
    QFETCH(QString, kind);
    QFETCH(QString, trouble);
    QFETCH(QString, cause);
    QTemporaryDir folder(m_dir.filePath(QStringLiteral("why-XXXXXX")));
    const QString path = folder.filePath(QStringLiteral("p.prj"));
    QVERIFY(copyProject(m_down, path));
    cause.replace(QLatin1String("%1"), QStringLiteral("p.prj")).replace(QLatin1String("%2"), folder.path());
    const FileState before = readState(path);

    QString failure;
    if (trouble == QLatin1String("full disk")) {
        // The file may grow by a few pages only.
        const auto child = ProjectTest::runChild(QStringLiteral("correct"), {kind, path},
                                                 QFileInfo(path).size() + 64 * 1024, ProjectTest::Limit::FileBytes);
        QVERIFY(child.finished);
        failure = child.printed(QStringLiteral("failure"));
    } else {
        const std::unique_ptr<CorrectionThread> worker = correction(kind, path);
        if (trouble == QLatin1String("page limit"))   // room for about 20 new pages
            worker->rewriter().setConnectionPragmas(
                {QStringLiteral("PRAGMA max_page_count = %1").arg(scalarOn(path, "PRAGMA page_count").toInt() + 20)});
        if (trouble == QLatin1String("read-only file"))
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
        if (trouble == QLatin1String("read-only folder"))
            QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        std::unique_ptr<WriteLock> lock(trouble == QLatin1String("locked") ? new WriteLock(path) : nullptr);
        failure = CorrectionFixture::run(*worker).succeeded ? QStringLiteral("succeeded") : worker->failureText();
        lock.reset();
        ProjectInfo::instance()->setDatabase(QString());
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QCOMPARE(failure, cause);
    QCOMPARE(readState(path).hash, before.hash);
}

void TestRewriteSafety::cancelBeforeStartChangesNothing()
{
    const QString path = copyOf(m_small, QStringLiteral("cancel-early.prj"));
    const FileState before = readState(path);
    loadRecord(path);
    ProcessUpProjectThread worker(path);
    worker.canceled();
    Reports reports;
    runWorker(worker, &reports);
    QCOMPARE(reports.finished, 1);
    QVERIFY(!worker.succeeded());
    QCOMPARE(readState(path).hash, before.hash);
}

void TestRewriteSafety::killedAtRandomMomentsLeavesOldOrNew_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<int>("lastStep");   // the last progress value of a run
    QTest::newRow("upward conversion") << "convert" << m_kill << 40;
    QTest::newRow("depth correction") << "depth" << m_down << 20;
    QTest::newRow("azimuth correction") << "angle" << m_down << 19;
}

void TestRewriteSafety::killedAtRandomMomentsLeavesOldOrNew()
{
    QFETCH(QString, kind);
    QFETCH(QString, sample);
    QFETCH(int, lastStep);
    const auto childArgs = [&kind](const QString &path) {
        return QStringList{QString::fromLatin1(kChildArgument), kind, path};
    };
    KillFixture::Killer killer(lastStep);
    const QString reference = copyOf(sample, kind + QStringLiteral("-ref.prj"));
    const FileState oldState = readState(reference);
    QVERIFY(killer.runToEnd(childArgs(reference)));
    const FileState newState = readState(reference);
    QVERIFY(newState.hash != oldState.hash);
    if (kind == QLatin1String("convert"))
        QCOMPARE(newState.direction, QStringLiteral("down"));

    int olds = 0;
    const int rounds = 12;
    for (int round = 0; round < rounds; ++round) {
        const QString path = copyOf(sample, QStringLiteral("%1-kill-%2.prj").arg(kind).arg(round));
        bool held = false;
        const QString where = killer.killAtRandomMoment(childArgs(path), round, &held);
        QVERIFY2(!where.isEmpty(), qPrintable(QStringLiteral("round %1").arg(round)));

        const FileState state = readState(path);
        QVERIFY2(state.opened, qPrintable(where));
        QVERIFY2(state.integrity == QLatin1String("ok"), qPrintable(where + state.integrity));
        QVERIFY2(!state.hasNewTable, qPrintable(where));
        QVERIFY2(!state.pieces.isEmpty(), qPrintable(where));
        for (const Piece &p : state.pieces)
            QVERIFY2(!decode(p.data).isNull(), qPrintable(where));
        if (state.hash == oldState.hash) {
            ++olds;
        } else {
            QVERIFY2(!held, qPrintable(where + QStringLiteral(": changed before the swap")));
            QVERIFY2(state.hash == newState.hash, qPrintable(where + QStringLiteral(": neither old nor new")));
        }
        // What a kill inside the transaction left runs (again) to the same
        // result.
        if (round == 0) {
            QVERIFY(killer.runToEnd(childArgs(path)));
            QCOMPARE(readState(path).hash, newState.hash);
        }
    }
    qDebug() << kind << "kill test:" << olds << "of" << rounds << "rounds left the old table";
    QVERIFY(olds >= rounds / 3);
}

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsEmpty("KORA_TEST_CHILD"))
        return ProjectTest::testMain<TestRewriteSafety>(argc, argv, fullDiskChild);
    QApplication app(argc, argv);
    if ((argc == 4 || argc == 5) && qstrcmp(argv[1], kChildArgument) == 0)
        return runChild(QString::fromLatin1(argv[2]), QString::fromLocal8Bit(argv[3]),
                        argc == 5 ? std::atoi(argv[4]) : -1);
    TestRewriteSafety test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rewritesafety.moc"
