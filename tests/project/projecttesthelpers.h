#ifndef PROJECTTESTHELPERS_H
#define PROJECTTESTHELPERS_H

// Helpers shared by the project store tests: file hashes, a separate
// inspection connection, a log recorder, a fake navigation panel, and child
// processes that run one routine of the test binary under a memory limit or
// on a full disk.

#include "globals.h"
#include "navigationpanel.h"
#include "projectinfo.h"
#include "samplefixture.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDebug>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <atomic>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace ProjectTest {

// Writes a sample project into dir with kora-sample; empty when that fails.
inline QString makeSample(const QTemporaryDir &dir, const QString &name, const QStringList &args)
{
    const QString path = dir.filePath(name);
    if (!SampleFixture::make(path, QStringList(args) << QStringLiteral("--quiet")))
        return QString();
    return path;
}

// Opens a project in the record the way the main window does.
inline void openProject(const QString &path)
{
    ProjectInfo *info = ProjectInfo::instance();
    pixelsPerUnit = 0.0;
    info->reset();
    info->setDatabase(path);
    info->loadProjectInfo();
}

inline QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex();
}

// A connection of the test itself, to inspect or prepare a fixture.
class Inspector
{
public:
    explicit Inspector(const QString &path)
    {
        static std::atomic<int> counter{0};
        m_name = QStringLiteral("test-inspector-%1").arg(++counter);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        m_ok = db.open();
    }
    ~Inspector()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool ok() const { return m_ok; }
    bool exec(const QString &sql)
    {
        QSqlQuery q = query();
        const bool res = q.exec(sql);
        if (!res)
            qWarning() << "inspector:" << sql << q.lastError().text();
        return res;
    }
    QVariant scalar(const QString &sql)
    {
        QSqlQuery q = query();
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
    // The values of one column of every row the statement gives.
    QVariantList values(const QString &sql, int column = 0)
    {
        QVariantList out;
        QSqlQuery q = query();
        if (q.exec(sql))
            while (q.next())
                out << q.value(column);
        return out;
    }
    QStringList columns(const QString &table)
    {
        QStringList names;
        for (const QVariant &v : values(QStringLiteral("pragma table_info(%1)").arg(table), 1))
            names << v.toString();
        return names;
    }
    QList<int> ids()
    {
        QList<int> list;
        for (const QVariant &v : values(QStringLiteral("select id from bigImages order by id")))
            list << v.toInt();
        return list;
    }
    QByteArray blob(int id)
    {
        QSqlQuery q = query();
        q.prepare(QStringLiteral("select data from bigImages where id = ?"));
        q.addBindValue(id);
        return q.exec() && q.next() ? q.value(0).toByteArray() : QByteArray();
    }

private:
    QSqlQuery query() const { return QSqlQuery(QSqlDatabase::database(m_name, false)); }
    QString m_name;
    bool m_ok = false;
};

// Records every message while alive (thread-safe), then restores the
// previous handler.
class LogRecorder
{
public:
    LogRecorder() { s_previous = qInstallMessageHandler(&LogRecorder::handler); s_active = this; }
    ~LogRecorder() { s_active = nullptr; qInstallMessageHandler(s_previous); }
    QStringList messages() const
    {
        QMutexLocker lock(&s_mutex);
        return m_messages;
    }
    bool contains(const QString &text) const
    {
        for (const QString &m : messages())
            if (m.contains(text))
                return true;
        return false;
    }
    // Qt's complaints about connections used across threads or removed
    // while still referenced.
    QStringList connectionWarnings() const
    {
        QStringList found;
        for (const QString &m : messages())
            if (m.contains(QLatin1String("still in use")) || m.contains(QLatin1String("does not belong"))
                || m.contains(QLatin1String("duplicate connection name")))
                found << m;
        return found;
    }

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &msg)
    {
        {
            QMutexLocker lock(&s_mutex);
            if (s_active)
                s_active->m_messages << msg;
        }
        if (s_previous)
            s_previous(type, context, msg);
    }
    QStringList m_messages;
    static inline QtMessageHandler s_previous = nullptr;
    static inline LogRecorder *s_active = nullptr;
    static inline QMutex s_mutex;
};

// Navigation panel stand-in that remembers what the record told it.
class FakePanel : public NavigationPanel
{
public:
    void setStartValue(int metres) override { startSpin = metres; }
    void setEndValue(int metres) override { endSpin = metres; }
    int startValue() const override { return startSpin; }
    int endValue() const override { return endSpin; }
    int pageDepth() const override { return pageDepthSpin * 10000; }
    void setStartText(int depth) override { startText = depth; }
    void setEndText(int depth) override { endText = depth; }
    void reset() override
    {
        ++resets;
        startSpin = 0;
        endSpin = 5;
        pageDepthSpin = 5;
        startText = endText = 0;
    }

    int startSpin = 0;
    int endSpin = 5;
    int pageDepthSpin = 5;
    int startText = -1;
    int endText = -1;
    int resets = 0;
};

// What a child run of the test binary left behind.
struct ChildResult
{
    bool finished = false; // ended on its own within the time allowed
    bool crashed = false;
    int exitCode = -1;
    QString out;
    QString err;

    // The value the child printed with print(key, ...) (empty when none).
    QString printed(const QString &key) const
    {
        const QString prefix = key + QStringLiteral(": ");
        for (const QString &line : out.split(QLatin1Char('\n')))
            if (line.startsWith(prefix))
                return line.mid(prefix.size());
        return QString();
    }
};

// What a child is limited in: its address space (MiB), or how far its files
// may grow (bytes), which makes every write beyond fail as on a full disk
// while the parent and the rest of the machine write on as usual.
enum class Limit { MemoryMiB, FileBytes };

// Runs routine in a child process of this test binary (see testMain()),
// limited as limit and kind say (0: no limit).
inline ChildResult runChild(const QString &routine, const QStringList &args, qint64 limit,
                            Limit kind = Limit::MemoryMiB, int timeoutMs = 300000)
{
    ChildResult result;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KORA_TEST_CHILD"), routine);
    env.insert(kind == Limit::MemoryMiB ? QStringLiteral("KORA_TEST_CHILD_LIMIT_MB")
                                        : QStringLiteral("KORA_TEST_CHILD_FILE_LIMIT"),
               QString::number(limit));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), args);
    result.finished = child.waitForStarted() && child.waitForFinished(timeoutMs);
    if (!result.finished) {
        child.kill();
        child.waitForFinished();
    }
    result.crashed = child.exitStatus() != QProcess::NormalExit;
    result.exitCode = child.exitCode();
    result.out = QString::fromUtf8(child.readAllStandardOutput());
    result.err = QString::fromUtf8(child.readAllStandardError());
    if (result.crashed || result.exitCode != 0)
        qDebug() << "child" << routine << result.err.right(2000);
    return result;
}

// A finding of a child, as "key: value" on one line of stdout.
inline void print(const QString &key, const QString &value)
{
    std::printf("%s: %s\n", qPrintable(key), qPrintable(QString(value).replace(QLatin1Char('\n'), QLatin1Char(' '))));
    std::fflush(stdout);
}

// The routine a child run executes: the routine's name and the arguments
// given to runChild(); prints its findings to stdout and returns the exit
// code.
using ChildRoutine = int (*)(const QString &routine, const QStringList &args);

// main() of a test binary whose tests run children: a child applies its
// limit before anything else, then runs the routine in a QApplication that
// ends normally when the routine returns.
template <class TestClass>
int testMain(int argc, char **argv, ChildRoutine childRoutine)
{
    const QByteArray routine = qgetenv("KORA_TEST_CHILD");
    if (!routine.isEmpty()) {
#ifdef Q_OS_UNIX
        const qint64 mib = qgetenv("KORA_TEST_CHILD_LIMIT_MB").toLongLong();
        const qint64 fileBytes = qgetenv("KORA_TEST_CHILD_FILE_LIMIT").toLongLong();
        rlimit limit;
        if (mib > 0) {
            limit.rlim_cur = limit.rlim_max = rlim_t(mib) << 20;
            if (setrlimit(RLIMIT_AS, &limit) != 0)
                return 99;
        }
        if (fileBytes > 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            limit.rlim_cur = limit.rlim_max = rlim_t(fileBytes);
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 99;
        }
#endif
        QApplication app(argc, argv);
        return childRoutine(QString::fromLatin1(routine), QCoreApplication::arguments().mid(1));
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestClass test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

} // namespace ProjectTest

#endif // PROJECTTESTHELPERS_H
