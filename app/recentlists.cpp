#include "recentlists.h"

#include "settings.h"

#include <QAction>

namespace {

// The recent lists of every open window.
QList<RecentLists *> &allLists()
{
    static QList<RecentLists *> lists;
    return lists;
}

void fillRecentActions(const QList<QAction *> &actions, const QStringList &list)
{
    const int n = qMin(list.size(), actions.size());
    for (int i = 0; i < n; ++i) {
        actions.at(i)->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(list.at(i)));
        actions.at(i)->setData(list.at(i));
        actions.at(i)->setVisible(true);
    }
    for (int i = n; i < actions.size(); ++i)
        actions.at(i)->setVisible(false);
}

} // namespace

RecentLists::RecentLists(QObject *owner)
{
    for (int i = 0; i < MaxRecentFiles; ++i) {
        auto *act = new QAction(owner);
        act->setVisible(false);
        m_fileActs << act;
    }
    for (int i = 0; i < MaxRecentFiles; ++i) {
        auto *act = new QAction(owner);
        act->setVisible(false);
        m_projectActs << act;
    }
    allLists() << this;
}

RecentLists::~RecentLists()
{
    allLists().removeAll(this);
}

void RecentLists::updateFiles()
{
    fillRecentActions(m_fileActs, Settings::readRecent(Settings::kRecentFileList));
}

void RecentLists::updateProjects()
{
    fillRecentActions(m_projectActs, Settings::readRecent(Settings::kRecentProjectList));
}

void RecentLists::addFile(const QString &path)
{
    Settings::addRecent(Settings::kRecentFileList, path);
    updateFiles();
}

void RecentLists::addProject(const QString &path)
{
    Settings::addRecent(Settings::kRecentProjectList, path);
    updateProjectsEverywhere();
}

void RecentLists::removeFile(const QString &path)
{
    Settings::removeRecent(Settings::kRecentFileList, path);
    updateFiles();
}

void RecentLists::removeProject(const QString &path)
{
    Settings::removeRecent(Settings::kRecentProjectList, path);
    updateProjectsEverywhere();
}

void RecentLists::updateProjectsEverywhere()
{
    for (RecentLists *lists : qAsConst(allLists()))
        lists->updateProjects();
}
