// The rewrite of the big-image table never loses the user's images: it lands
// as a whole or not at all, whatever happens while it runs.

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <memory>
#include <sys/mount.h>

#include "conversionfixture.h"
#include "killfixture.h"
#include "samplefixture.h"

using namespace ConversionFixture;

namespace {

const char *const kChildArgument = "--convert-child";

// Child mode: the conversion as the main window runs it, held at pauseAt
// when that is >= 0.
int runChild(const QString &path, int pauseAt)
{
    loadRecord(path);
    ProcessUpProjectThread worker(path);
    return KillFixture::runReported(worker, pauseAt);
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
    void killedAtRandomMomentsLeavesOldOrNew();

private:
    QString copyOf(const QString &source, const QString &name);
    QTemporaryDir m_dir;
    QString m_small;      // 6 m upward project
    QString m_large;      // 30 m upward project
    QString m_kill;       // 40 m upward project, 600 px wide
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
    QVERIFY(SampleFixture::make(m_kill, {"--direction", "up", "--to", "40", "--width", "600",
                                         "--seed", "8"}));
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
        << "cancel" << QStringList{"process project canceled", "conversion canceled, project left unchanged"};
    // Room for about two new pieces, then SQLite reports a full disk.
    QTest::newRow("page limit reached") << "page limit" << QStringList{failed + "full"};
    // A real full disk: the file lies on a file system with a little more
    // room than it takes, which fills up near the end of the run (when
    // SQLite writes its cached pages out).
    QTest::newRow("file system full") << "tmpfs" << QStringList{failed + "full"};
    QTest::newRow("read-only file") << "read-only" << QStringList{failed + "readonly"};
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

void TestRewriteSafety::killedAtRandomMomentsLeavesOldOrNew()
{
    const int pieces = 40;
    const auto childArgs = [](const QString &path) {
        return QStringList{QString::fromLatin1(kChildArgument), path};
    };
    KillFixture::Killer killer(pieces);
    const QString reference = copyOf(m_kill, QStringLiteral("kill-ref.prj"));
    const FileState oldState = readState(reference);
    QCOMPARE(oldState.pieces.size(), pieces);
    QVERIFY(killer.runToEnd(childArgs(reference)));
    const FileState newState = readState(reference);
    QCOMPARE(newState.direction, QStringLiteral("down"));
    QVERIFY(newState.hash != oldState.hash);

    int olds = 0;
    int news = 0;
    const int rounds = 12;
    for (int round = 0; round < rounds; ++round) {
        const QString path = copyOf(m_kill, QStringLiteral("kill-%1.prj").arg(round));
        bool held = false;
        const QString where = killer.killAtRandomMoment(childArgs(path), round, &held);
        QVERIFY2(!where.isEmpty(), qPrintable(QStringLiteral("round %1").arg(round)));

        const FileState state = readState(path);
        QVERIFY2(state.opened, qPrintable(where));
        QVERIFY2(state.integrity == QLatin1String("ok"), qPrintable(where + state.integrity));
        QVERIFY2(!state.pieces.isEmpty(), qPrintable(where));
        for (const Piece &p : state.pieces)
            QVERIFY2(!decode(p.data).isNull(), qPrintable(where));
        if (state.hash == oldState.hash) {
            QCOMPARE(state.direction, QStringLiteral("up"));
            ++olds;
        } else {
            QVERIFY2(!held, qPrintable(where + QStringLiteral(": changed before the swap")));
            QVERIFY2(state.hash == newState.hash, qPrintable(where + QStringLiteral(": neither old nor new")));
            QCOMPARE(state.direction, QStringLiteral("down"));
            QCOMPARE(state.start, 0);
            ++news;
        }
        QVERIFY2(!state.hasNewTable, qPrintable(where));
        // What a kill inside the transaction left converts (again) to the
        // same result.
        if (round == 0) {
            loadRecord(path);
            QVERIFY(convert(path).succeeded);
            QCOMPARE(readState(path).hash, newState.hash);
        }
    }
    qDebug() << "kill test:" << olds << "rounds left the old table," << news << "the new one";
    QVERIFY(olds >= rounds / 3);
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if ((argc == 3 || argc == 4) && qstrcmp(argv[1], kChildArgument) == 0)
        return runChild(QString::fromLocal8Bit(argv[2]), argc == 4 ? std::atoi(argv[3]) : -1);
    TestRewriteSafety test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rewritesafety.moc"
