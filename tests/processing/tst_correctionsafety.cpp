// A depth or azimuth correction killed at any moment leaves the project as it
// was or wholly corrected, never half done.

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstdlib>

#include "correctionfixture.h"
#include "samplefixture.h"

using namespace ConversionFixture;

namespace {

const char *const kChildArgument = "--correct-child";
const int kRealDepthMm = 21000;   // the 20 m sample, 5 % deeper
const int kAngle = 120;

// Child mode: run one correction and exit with 0 on success. Every progress
// value goes to stdout as "step N"; with pauseAt >= 0 the worker stops for
// good after reporting that step ("paused"), inside its open transaction.
int runChild(const QString &kind, const QString &path, int pauseAt)
{
    loadRecord(path);
    CorrectionThread *worker = nullptr;
    if (kind == QLatin1String("depth"))
        worker = new CorrectDepthThread(path, kRealDepthMm);
    else
        worker = new CorrectAngleThread(path, kAngle);
    QObject::connect(worker, &CorrectionThread::signalOneImageProcessed, worker,
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
    worker->start();
    worker->wait();
    const bool ok = worker->succeeded();
    delete worker;
    return ok ? 0 : 3;
}

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

class TestCorrectionSafety : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void killedAtRandomMomentsLeavesOldOrNew_data();
    void killedAtRandomMomentsLeavesOldOrNew();

private:
    QString copyOf(const QString &name);
    QTemporaryDir m_dir;
    QString m_sample;   // 20 m downward project, 600 px wide
};

void TestCorrectionSafety::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_sample = m_dir.filePath(QStringLiteral("sample.prj"));
    QVERIFY(SampleFixture::make(m_sample, {"--to", "20", "--width", "600", "--seed", "9"}));
}

QString TestCorrectionSafety::copyOf(const QString &name)
{
    const QString path = m_dir.filePath(name);
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
    if (!QFile::copy(m_sample, path))
        return QString();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void TestCorrectionSafety::killedAtRandomMomentsLeavesOldOrNew_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("lastStep");   // the last progress value of a run
    QTest::newRow("depth correction") << QStringLiteral("depth") << 20;
    QTest::newRow("azimuth correction") << QStringLiteral("angle") << 19;
}

void TestCorrectionSafety::killedAtRandomMomentsLeavesOldOrNew()
{
    QFETCH(QString, kind);
    QFETCH(int, lastStep);
    const QString self = QCoreApplication::applicationFilePath();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    // A run to the end gives the new state, the time a run takes and the
    // time from its last progress value (swap and commit follow) to its exit.
    const QString reference = copyOf(kind + QStringLiteral("-ref.prj"));
    const FileState oldState = readState(reference);
    QProcess full;
    full.setProcessEnvironment(env);
    full.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    full.start(self, {QString::fromLatin1(kChildArgument), kind, reference});
    QVERIFY(waitForLine(full, QByteArray("step ") + QByteArray::number(lastStep)));
    const qint64 lastStepMs = clock.elapsed();
    QVERIFY(full.waitForFinished(300000));
    const qint64 runMs = clock.elapsed();
    const qint64 tailMs = qMax<qint64>(1, runMs - lastStepMs);
    QCOMPARE(full.exitCode(), 0);
    const FileState newState = readState(reference);
    QVERIFY(newState.hash != oldState.hash);

    const quint32 seed = QRandomGenerator::global()->generate();
    qDebug() << kind << "kill test: full run" << runMs << "ms, tail" << tailMs << "ms, seed" << seed;
    QRandomGenerator random(seed);
    int olds = 0;
    int news = 0;
    const int rounds = 9;
    for (int round = 0; round < rounds; ++round) {
        const QString path = copyOf(QStringLiteral("%1-kill-%2.prj").arg(kind).arg(round));
        // 0: held inside the transaction after a random step, killed there;
        // 1: killed a random time after the last progress value (swap, commit);
        // 2: killed at a random time of the whole run.
        const int moment = round % 3;
        const int pauseAt = moment == 0 ? int(random.bounded(lastStep + 1)) : -1;
        QStringList args{QString::fromLatin1(kChildArgument), kind, path};
        if (pauseAt >= 0)
            args << QString::number(pauseAt);
        QProcess child;
        child.setProcessEnvironment(env);
        child.setStandardErrorFile(QProcess::nullDevice());
        QString where;
        child.start(self, args);
        QVERIFY(child.waitForStarted());
        if (moment == 0) {
            QVERIFY(waitForLine(child, "paused"));
            where = QStringLiteral("round %1, held after step %2").arg(round).arg(pauseAt);
        } else if (moment == 1) {
            QVERIFY(waitForLine(child, QByteArray("step ") + QByteArray::number(lastStep)));
            const int delay = int(random.bounded(double(tailMs) * 1.2));
            QThread::msleep(ulong(delay));
            where = QStringLiteral("round %1, killed %2 ms after the last step").arg(round).arg(delay);
        } else {
            const int delay = int(random.bounded(double(runMs) * 1.1));
            QThread::msleep(ulong(delay));
            where = QStringLiteral("round %1, killed after %2 ms").arg(round).arg(delay);
        }
        child.kill();   // SIGKILL
        QVERIFY(child.waitForFinished(60000));

        const FileState state = readState(path);
        QVERIFY2(state.opened, qPrintable(where));
        QVERIFY2(state.integrity == QLatin1String("ok"), qPrintable(where + state.integrity));
        QVERIFY2(!state.hasNewTable, qPrintable(where));
        if (state.hash == oldState.hash) {
            ++olds;
        } else {
            QVERIFY2(moment != 0, qPrintable(where + QStringLiteral(": changed before the swap")));
            QVERIFY2(state.hash == newState.hash, qPrintable(where + QStringLiteral(": neither old nor new")));
            ++news;
        }
    }
    qDebug() << kind << "kill test:" << olds << "rounds left the old table," << news << "the new one";
    QVERIFY(olds >= rounds / 3);
}

int main(int argc, char **argv)
{
    if ((argc == 4 || argc == 5) && qstrcmp(argv[1], kChildArgument) == 0) {
        QApplication app(argc, argv);
        return runChild(QString::fromLatin1(argv[2]), QString::fromLocal8Bit(argv[3]),
                        argc == 5 ? std::atoi(argv[4]) : -1);
    }
    QApplication app(argc, argv);
    TestCorrectionSafety test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_correctionsafety.moc"
