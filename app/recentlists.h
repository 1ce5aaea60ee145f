#ifndef RECENTLISTS_H
#define RECENTLISTS_H

#include <QList>
#include <QString>

class QAction;
class QObject;

// The entries of the "RecentFiles" and "RecentProjects" submenus of one
// window, filled from the recent lists of the settings. Every window shows
// the one list of recent projects.
class RecentLists
{
public:
    // Number of entries in each recent submenu.
    static constexpr int MaxRecentFiles = 5;

    // The actions are made hidden, as children of owner.
    explicit RecentLists(QObject *owner);
    ~RecentLists();

    QList<QAction *> fileActs() const { return m_fileActs; }
    QList<QAction *> projectActs() const { return m_projectActs; }

    // Refreshes the entries of this window from the store.
    void updateFiles();
    void updateProjects();
    // Puts path at the front of a list and refreshes the menus.
    void addFile(const QString &path);
    void addProject(const QString &path);
    // Takes path off a list (it is gone) and refreshes the menus.
    void removeFile(const QString &path);
    void removeProject(const QString &path);

private:
    static void updateProjectsEverywhere();

    QList<QAction *> m_fileActs;
    QList<QAction *> m_projectActs;
};

#endif // RECENTLISTS_H
