#include "reportleftovers.h"

#include "partfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>

namespace {

const QString kPrefix = QStringLiteral("kora-report-");
const QString kTargetNote = QStringLiteral("target");

bool processRuns(qint64 pid)
{
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

QString ReportLeftovers::folderTemplate()
{
    return QDir::tempPath() + QLatin1Char('/') + kPrefix
           + QString::number(QCoreApplication::applicationPid()) + QStringLiteral("-XXXXXX");
}

void ReportLeftovers::noteTarget(const QString &folder, const QString &target)
{
    QFile note(QDir(folder).filePath(kTargetNote));
    if (note.open(QIODevice::WriteOnly | QIODevice::Truncate))
        note.write(target.toUtf8());
}

int ReportLeftovers::removeStale()
{
    static const QRegularExpression withPid(QStringLiteral("^kora-report-(\\d+)-[A-Za-z0-9]{6}$"));
    static const QRegularExpression older(QStringLiteral("^kora-report-[A-Za-z0-9]{6}$"));
    int removed = 0;
    const QDir temp(QDir::tempPath());
    const QStringList names = temp.entryList({kPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        QDir folder(temp.filePath(name));
        const QRegularExpressionMatch match = withPid.match(name);
        if (match.hasMatch()) {
            if (processRuns(match.captured(1).toLongLong()))
                continue;
            QFile note(folder.filePath(kTargetNote));
            if (note.open(QIODevice::ReadOnly)) {
                const QString target = QString::fromUtf8(note.readAll());
                note.close();
                PartFile::removeLeftover(target);
            }
            if (folder.removeRecursively())
                ++removed;
        } else if (older.match(name).hasMatch() && folder.isEmpty()) {
            if (temp.rmdir(name))
                ++removed;
        }
    }
    return removed;
}
