#ifndef KILLFIXTURE_H
#define KILLFIXTURE_H

// Kills a child run of the test binary at random moments of a rewrite, so a
// test can check what the project file holds afterwards.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <QtTest>

#include <cstdio>

namespace KillFixture {

// Child side: prints every progress value of worker as "step N"; at pauseAt
// it prints "paused" and holds the worker there for good, inside its open
// transaction. Returns the child's exit code (0 on success).
template <class Worker>
int runReported(Worker &worker, int pauseAt)
{
    QObject::connect(&worker, &Worker::signalOneImageProcessed, &worker,
                     [pauseAt](int step) {
                         std::printf("step %d\n", step);
                         std::fflush(stdout);
                         if (step == pauseAt) {
                             std::printf("paused\n");
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
inline bool waitForLine(QProcess &child, const QByteArray &line)
{
    for (;;) {
        while (child.canReadLine()) {
            if (child.readLine().trimmed() == line)
                return true;
        }
        if (!child.waitForReadyRead(60000) && !child.canReadLine())
            return false;
    }
}

// Parent side, for a child whose last progress value is lastStep.
class Killer
{
public:
    explicit Killer(int lastStep)
        : m_lastStep(lastStep), m_env(QProcessEnvironment::systemEnvironment())
    {
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const quint32 seed = QRandomGenerator::global()->generate();
        m_random.seed(seed);
        qDebug() << "kill test seed" << seed;
    }

    // Runs the child with args to its end and times it: the whole run and
    // the tail from its last progress value (swap and commit) to its exit.
    bool runToEnd(const QStringList &args)
    {
        QProcess full;
        QElapsedTimer clock;
        clock.start();
        start(full, args);
        if (!waitForLine(full, lastStepLine()))
            return false;
        const qint64 lastStepMs = clock.elapsed();
        if (!full.waitForFinished(300000))
            return false;
        m_runMs = clock.elapsed();
        m_tailMs = qMax<qint64>(1, m_runMs - lastStepMs);
        qDebug() << "kill test: full run" << m_runMs << "ms, tail" << m_tailMs << "ms";
        return full.exitStatus() == QProcess::NormalExit && full.exitCode() == 0;
    }

    // Starts the child with args and kills it (SIGKILL) at a moment of kind
    // round % 3:
    //  0: held inside its transaction after a random step (up to the last);
    //  1: a random time after its last progress value, while it swaps the
    //     tables and commits (or just after);
    //  2: a random time of the whole run.
    // *heldInTransaction tells kind 0. Returns where it was killed, empty when
    // the child never got there.
    QString killAtRandomMoment(QStringList args, int round, bool *heldInTransaction)
    {
        const int kind = round % 3;
        *heldInTransaction = kind == 0;
        const int pauseAt = kind == 0 ? int(m_random.bounded(m_lastStep + 1)) : -1;
        if (pauseAt >= 0)
            args << QString::number(pauseAt);
        QProcess child;
        start(child, args);
        if (!child.waitForStarted())
            return QString();
        QString where;
        if (kind == 0) {
            if (!waitForLine(child, "paused"))
                return QString();
            where = QStringLiteral("round %1, held after step %2").arg(round).arg(pauseAt);
        } else if (kind == 1) {
            if (!waitForLine(child, lastStepLine()))
                return QString();
            const int delay = int(m_random.bounded(double(m_tailMs) * 1.2));
            QThread::msleep(ulong(delay));
            where = QStringLiteral("round %1, killed %2 ms after the last step").arg(round).arg(delay);
        } else {
            const int delay = int(m_random.bounded(double(m_runMs) * 1.1));
            QThread::msleep(ulong(delay));
            where = QStringLiteral("round %1, killed after %2 ms").arg(round).arg(delay);
        }
        child.kill();
        return child.waitForFinished(60000) ? where : QString();
    }

private:
    QByteArray lastStepLine() const { return "step " + QByteArray::number(m_lastStep); }
    void start(QProcess &child, const QStringList &args)
    {
        child.setProcessEnvironment(m_env);
        child.setStandardErrorFile(QProcess::nullDevice());
        child.start(QCoreApplication::applicationFilePath(), args);
    }

    int m_lastStep;
    QProcessEnvironment m_env;
    QRandomGenerator m_random;
    qint64 m_runMs = 0;
    qint64 m_tailMs = 1;
};

} // namespace KillFixture

#endif // KILLFIXTURE_H
