#ifndef FULLDISK_H
#define FULLDISK_H

// A full disk for one child run of a test binary: the child gets a file size
// limit (RLIMIT_FSIZE) with SIGXFSZ ignored, so every write beyond the limit
// fails as it does on a full disk, while the parent and the rest of the
// machine write on as usual. The child runs one routine of the test and
// prints its findings on stdout.

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace FullDisk {

struct Outcome
{
    bool finished = false;
    int exitCode = -1;
    QString out;
};

// Runs routine in a child of this test binary whose files cannot grow beyond
// limitBytes; args go to the routine.
inline Outcome run(const QString &routine, const QStringList &args, qint64 limitBytes)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KORA_FULL_DISK_ROUTINE"), routine);
    env.insert(QStringLiteral("KORA_FULL_DISK_LIMIT"), QString::number(limitBytes));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), args);
    Outcome outcome;
    outcome.finished = child.waitForFinished(300000);
    if (!outcome.finished) {
        child.kill();
        child.waitForFinished();
    }
    outcome.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    outcome.out = QString::fromUtf8(child.readAllStandardOutput());
    if (outcome.exitCode != 0)
        qDebug() << "full-disk child" << routine << child.readAllStandardError().right(2000);
    return outcome;
}

// The value the child printed as "key: value" (empty when it printed none).
inline QString printed(const Outcome &outcome, const QString &key)
{
    const QString prefix = key + QStringLiteral(": ");
    for (const QString &line : outcome.out.split(QLatin1Char('\n')))
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    return QString();
}

// The bytes of the file at path (empty when it cannot be read).
inline QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void print(const QString &key, const QString &value)
{
    std::printf("%s: %s\n", qPrintable(key), qPrintable(QString(value).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    std::fflush(stdout);
}

using Routine = int (*)(const QString &routine, const QStringList &args);

// main() of a test binary with full-disk children.
template <class TestClass>
int testMain(int argc, char **argv, Routine routine)
{
    const QByteArray name = qgetenv("KORA_FULL_DISK_ROUTINE");
    if (!name.isEmpty()) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit;
        limit.rlim_cur = limit.rlim_max = rlim_t(qgetenv("KORA_FULL_DISK_LIMIT").toLongLong());
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 99;
        QApplication app(argc, argv);
        return routine(QString::fromLatin1(name), QCoreApplication::arguments().mid(1));
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestClass test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

} // namespace FullDisk

#endif // FULLDISK_H
