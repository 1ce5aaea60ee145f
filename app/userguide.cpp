#include "userguide.h"

#include <QDir>
#include <QFileInfo>

QString UserGuide::fileName(bool chinese)
{
    return chinese ? QStringLiteral("guide.zh_CN.md") : QStringLiteral("guide.md");
}

QStringList UserGuide::searchDirs(const QString &executableDir)
{
    QStringList dirs;
    dirs << QDir::cleanPath(executableDir + QStringLiteral("/../share/doc/kora"));
#ifdef KORA_SOURCE_DOCS_DIR
    dirs << QDir::cleanPath(QStringLiteral(KORA_SOURCE_DOCS_DIR));
#endif
    return dirs;
}

QString UserGuide::find(bool chinese, const QStringList &dirs)
{
    QStringList names{fileName(chinese)};
    if (chinese)
        names << fileName(false);
    for (const QString &name : qAsConst(names)) {
        for (const QString &dir : dirs) {
            const QFileInfo info(QDir(dir).filePath(name));
            if (info.isFile() && info.isReadable())
                return info.absoluteFilePath();
        }
    }
    return QString();
}
