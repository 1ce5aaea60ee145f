// The rewrite of the big-image table never loses the user's images: it lands
// as a whole or not at all, whatever happens while it runs.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstdlib>
#include <sys/mount.h>

#include "conversionfixture.h"
#include "samplefixture.h"

using namespace ConversionFixture;

namespace {

const char *const kChildArgument = "--convert-child";

// Child mode: convert the project like the main window does and exit with 0
// on success. Every progress value is written to stdout as "step N" so the
// parent can kill at a known point; with pauseAt >= 0 the worker stops for
// good after reporting that step ("paused"), inside its open transaction.
int runChild(const QString &path, int pauseAt)
{
    loadRecord(path);
    ProcessUpProjectThread worker(path);
    QObject::connect(&worker, &ProcessUpProjectThread::signalOneImageProcessed, &worker,
                     [pauseAt](int step) {
                         std::fprintf(stdout, "step %d\n", step);
                         std::fflush(stdout);
                         if (step == pauseAt) {
                             std::fprintf(stdout, "paused\n");
                             std::fflush(stdout);
                             for (;;)
                                 QThread::sleep(60);
                         }
                     },
                     Qt::DirectConnection);
    worker.start();
    worker.wait();
    return worker.succeeded() ? 0 : 3;
}

// Reads the child's output until a line equal to line arrives; false when
// the child ends or stays silent for a minute first.
bool waitForLine(QProcess &child, const QByteArray &line)
{
    for (;;) {
        while (child.canReadLine()) {
            if (child.readLine().trimmed() == line)
                return true;
        }
        if (!child.waitForReadyRead(60000)) {
            while (child.canReadLine()) {
                if (child.readLine().trimmed() == line)
                    return true;
            }
            return false;
        }
    }
}

} // namespace

class TestRewriteSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void leftoverNewTableIsNotSwappedIn();
    void cancelMidRunKeepsOldTable();
    void cancelBeforeStartChangesNothing();
    void fullDiskLeavesProjectUnchanged();
    void fullFileSystemLeavesProjectUnchanged();
    void readOnlyFileLeavesProjectUnchanged();
    void lockedFileLeavesProjectUnchanged();
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
    QVERIFY(SampleFixture::make(m_small, {"--direction", "up", "--to", "6", "--width", "400"}));
    QVERIFY(SampleFixture::make(m_large, {"--direction", "up", "--to", "30", "--width", "400",
                                          "--seed", "5"}));
    m_kill = m_dir.filePath(QStringLiteral("kill.prj"));
    QVERIFY(SampleFixture::make(m_kill, {"--direction", "up", "--to", "40", "--width", "600",
                                         "--seed", "8"}));
}

QString TestRewriteSafety::copyOf(const QString &source, const QString &name)
{
    const QString path = m_dir.filePath(name);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
    if (!QFile::copy(source, path))
        return QString();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
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
    const RunResult run = convert(path);
    QVERIFY(run.succeeded);
    const FileState after = readState(path);
    QVERIFY(!after.hasNewTable);
    QVERIFY(!after.ids().contains(777777));
    QCOMPARE(after.ids(), expected.ids());
    QCOMPARE(after.hash, expected.hash);
}

void TestRewriteSafety::cancelMidRunKeepsOldTable()
{
    const QString path = copyOf(m_large, QStringLiteral("cancel.prj"));
    const FileState before = readState(path);
    loadRecord(path);
    QTest::ignoreMessage(QtDebugMsg, "process project canceled");
    QTest::ignoreMessage(QtDebugMsg, "conversion canceled, project left unchanged");
    const RunResult run = convert(path, {}, 2);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.finishedLast);
    QCOMPARE(run.counts, QList<int>{30});
    // It stopped at the next piece.
    QCOMPARE(run.progress, (QList<int>{0, 1, 2}));
    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QCOMPARE(after.hash, before.hash);
    QCOMPARE(after.direction, QStringLiteral("up"));
    QVERIFY(!after.hasNewTable);
}

void TestRewriteSafety::cancelBeforeStartChangesNothing()
{
    const QString path = copyOf(m_small, QStringLiteral("cancel-early.prj"));
    const FileState before = readState(path);
    loadRecord(path);
    ProcessUpProjectThread worker(path);
    int finished = 0;
    connect(&worker, &ProcessUpProjectThread::signalProcessFinished, &worker,
            [&finished]() { ++finished; }, Qt::DirectConnection);
    worker.canceled();
    worker.start();
    QVERIFY(worker.wait(60000));
    QCOMPARE(finished, 1);
    QVERIFY(!worker.succeeded());
    QCOMPARE(readState(path).hash, before.hash);
}

void TestRewriteSafety::fullDiskLeavesProjectUnchanged()
{
    const QString path = copyOf(m_small, QStringLiteral("full.prj"));
    const FileState before = readState(path);
    const int pages = pageCount(path);
    QVERIFY(pages > 0);
    loadRecord(path);
    // Room for about two new pieces, then SQLite reports a full disk.
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression(QStringLiteral("conversion failed, project left unchanged:.*full")));
    const RunResult run = convert(path, {QStringLiteral("PRAGMA max_page_count = %1").arg(pages + 40)});
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.finishedLast);
    // It failed part-way, after some pieces went in.
    QVERIFY(!run.progress.isEmpty());
    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
    QCOMPARE(pageCount(path), pages);
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

} // namespace

void TestRewriteSafety::fullFileSystemLeavesProjectUnchanged()
{
    // A real full disk: the project lies on a file system with a little more
    // room than the file takes, so writing the new table fills it up near the
    // end of the run (when SQLite writes its cached pages out).
    const qint64 size = QFileInfo(m_small).size();
    TinyFileSystem fs(m_dir.filePath(QStringLiteral("tiny")), (size / 4096 + 24) * 4096);
    if (!fs.mounted)
        QSKIP("cannot mount a tmpfs here (needs root); the page-limit test covers the rest");
    const QString path = fs.path + QStringLiteral("/full.prj");
    QVERIFY(QFile::copy(m_small, path));
    const FileState before = readState(path);
    loadRecord(path);
    QTest::ignoreMessage(QtDebugMsg,
                         QRegularExpression(QStringLiteral("conversion failed, project left unchanged:.*full")));
    const RunResult run = convert(path);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.finishedLast);
    QVERIFY(!run.progress.isEmpty());
    // Let go of the record's connection before the file system goes.
    ProjectInfo::instance()->setDatabase(QString());
    const FileState after = readState(path);
    QCOMPARE(after.integrity, QStringLiteral("ok"));
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
    QVERIFY(!QFile::exists(path + QStringLiteral("-journal")));
    QFile::remove(path);
}

void TestRewriteSafety::readOnlyFileLeavesProjectUnchanged()
{
    const QString path = copyOf(m_small, QStringLiteral("readonly.prj"));
    const FileState before = readState(path);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    loadRecord(path);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(
                                         QStringLiteral("conversion failed, project left unchanged:.*readonly")));
    const RunResult run = convert(path);
    QVERIFY(!run.succeeded);
    QCOMPARE(run.finished, 1);
    QVERIFY(run.finishedLast);
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    const FileState after = readState(path);
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
}

void TestRewriteSafety::lockedFileLeavesProjectUnchanged()
{
    // Another program holds the write lock for longer than the worker waits.
    const QString path = copyOf(m_small, QStringLiteral("locked.prj"));
    const FileState before = readState(path);
    loadRecord(path);
    const QString name = QStringLiteral("locker");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery lock(db);
        QVERIFY(lock.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(
                                             QStringLiteral("project file cannot be written:.*locked")));
        const RunResult run = convert(path);
        QVERIFY(!run.succeeded);
        QCOMPARE(run.finished, 1);
        QVERIFY(lock.exec(QStringLiteral("ROLLBACK")));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    QCOMPARE(readState(path).hash, before.hash);
}

void TestRewriteSafety::killedAtRandomMomentsLeavesOldOrNew()
{
    const QString self = QCoreApplication::applicationFilePath();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const int pieces = 40;

    // A run to the end gives the new state, the time a run takes and the
    // time from its last progress value (the swap and the commit follow) to
    // its exit.
    const QString reference = copyOf(m_kill, QStringLiteral("kill-ref.prj"));
    const FileState oldState = readState(reference);
    QCOMPARE(oldState.pieces.size(), pieces);
    QProcess full;
    full.setProcessEnvironment(env);
    full.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    full.start(self, {QString::fromLatin1(kChildArgument), reference});
    QVERIFY(waitForLine(full, QByteArray("step ") + QByteArray::number(pieces)));
    const qint64 lastStepMs = clock.elapsed();
    QVERIFY(full.waitForFinished(300000));
    const qint64 runMs = clock.elapsed();
    const qint64 tailMs = qMax<qint64>(1, runMs - lastStepMs);
    QCOMPARE(full.exitStatus(), QProcess::NormalExit);
    QCOMPARE(full.exitCode(), 0);
    const FileState newState = readState(reference);
    QCOMPARE(newState.direction, QStringLiteral("down"));
    QVERIFY(newState.hash != oldState.hash);

    const quint32 seed = QRandomGenerator::global()->generate();
    qDebug() << "kill test: full run" << runMs << "ms, tail" << tailMs << "ms, seed" << seed;
    QRandomGenerator random(seed);
    int olds = 0;
    int news = 0;
    const int rounds = 12;
    for (int round = 0; round < rounds; ++round) {
        const QString path = copyOf(m_kill, QStringLiteral("kill-%1.prj").arg(round));
        // Three kinds of moment, in turn:
        //  0: the worker is held inside its transaction after a random step
        //     (up to the last one) and killed there: the old table must stay;
        //  1: killed a random time after its last progress value, while it
        //     swaps the tables and commits (or just after);
        //  2: killed at a random time of the whole run.
        const int kind = round % 3;
        const int pauseAt = kind == 0 ? int(random.bounded(pieces + 1)) : -1;
        QStringList args{QString::fromLatin1(kChildArgument), path};
        if (pauseAt >= 0)
            args << QString::number(pauseAt);
        QProcess child;
        child.setProcessEnvironment(env);
        child.setStandardErrorFile(QProcess::nullDevice());
        QString where;
        child.start(self, args);
        QVERIFY(child.waitForStarted());
        if (kind == 0) {
            QVERIFY(waitForLine(child, "paused"));
            where = QStringLiteral("round %1, held after step %2").arg(round).arg(pauseAt);
        } else if (kind == 1) {
            QVERIFY(waitForLine(child, QByteArray("step ") + QByteArray::number(pieces)));
            const int delay = int(random.bounded(double(tailMs) * 1.2));
            QThread::msleep(ulong(delay));
            where = QStringLiteral("round %1, killed %2 ms after the last step").arg(round).arg(delay);
        } else {
            const int delay = int(random.bounded(double(runMs) * 1.1));
            QThread::msleep(ulong(delay));
            where = QStringLiteral("round %1, killed after %2 ms").arg(round).arg(delay);
        }
        child.kill();
        QVERIFY(child.waitForFinished(60000));

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
            QVERIFY2(kind != 0, qPrintable(where + QStringLiteral(": changed before the swap")));
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
    QCOMPARE(olds + news, rounds);
    QVERIFY(olds >= rounds / 3);
}

int main(int argc, char **argv)
{
    if ((argc == 3 || argc == 4) && qstrcmp(argv[1], kChildArgument) == 0) {
        QApplication app(argc, argv);
        return runChild(QString::fromLocal8Bit(argv[2]), argc == 4 ? std::atoi(argv[3]) : -1);
    }
    QApplication app(argc, argv);
    TestRewriteSafety test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_rewritesafety.moc"
