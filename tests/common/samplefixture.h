#ifndef SAMPLEFIXTURE_H
#define SAMPLEFIXTURE_H

// Test helper: makes sample projects with the kora-sample tool at test time.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

namespace SampleFixture {

inline QString toolPath() { return QStringLiteral(KORA_SAMPLE_TOOL); }

// Runs kora-sample with args (plus --out path --force); returns true when the
// tool exited 0 and the file exists. Failures print the tool's output.
inline bool make(const QString &path, const QStringList &args, QString *stdOut = nullptr)
{
    QProcess p;
    QStringList all = args;
    all << QStringLiteral("--out") << path << QStringLiteral("--force");
    p.start(toolPath(), all);
    if (!p.waitForFinished(300000)) {
        qWarning() << "kora-sample did not finish" << all;
        return false;
    }
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    if (stdOut)
        *stdOut = out;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning() << "kora-sample failed" << all << out << p.readAllStandardError();
        return false;
    }
    return QFile::exists(path);
}

} // namespace SampleFixture

#endif // SAMPLEFIXTURE_H
