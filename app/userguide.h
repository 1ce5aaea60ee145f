#ifndef USERGUIDE_H
#define USERGUIDE_H

#include <QString>
#include <QStringList>

// Where the user guide is: installed beside the program
// (<prefix>/bin/kora -> <prefix>/share/doc/kora/guide.md), or in the source
// tree's docs/ when KORA runs from its build tree.
class UserGuide
{
public:
    // File name of the guide in a language: "guide.md", "guide.zh_CN.md".
    static QString fileName(bool chinese);
    // Folders searched, in order, for a program in executableDir.
    static QStringList searchDirs(const QString &executableDir);
    // The guide to show: the language's own, else the English one; empty
    // when neither is in any folder.
    static QString find(bool chinese, const QStringList &dirs);
};

#endif // USERGUIDE_H
