#ifndef SETTINGS_H
#define SETTINGS_H

#include <QSettings>
#include <QString>
#include <QStringList>

// Persistent per-user settings of the shell (organisation "KD", application
// "QVNKORA", native format): the last project, picture and save paths, the
// last piece depth of a save, the two most-recent-first lists and the
// interface language chosen last.
// One process-wide instance, created on first use.
class Settings
{
public:
    static Settings *instance();

    static constexpr const char *kOrganisation = "KD";
    static constexpr const char *kApplication = "QVNKORA";
    static constexpr const char *kRecentFileList = "recentFileList";
    static constexpr const char *kRecentProjectList = "recentProjectList";
    static constexpr const char *kLanguage = "language";
    // Length of each recent list.
    static constexpr int maxRecent = 5;

    QString projectDir() const;
    void setProjectDir(const QString &path);
    QString openPicDir() const;
    void setOpenPicDir(const QString &path);
    QString savePicDir() const;
    void setSavePicDir(const QString &path);
    int saveDepth() const;
    void setSaveDepth(int millimetres);
    // Locale name of the language the user switched to last ("zh_CN" or
    // "en_US"); empty until the first switch.
    QString language() const;
    void setLanguage(const QString &localeName);

    QStringList recentFileList() const;
    QStringList recentProjectList() const;

    // Puts path at the front of the list stored under key, removing every
    // other copy of it and keeping at most maxRecent entries. Returns the
    // list as written.
    static QStringList addRecent(const char *key, const QString &path);
    // Removes every copy of path from the list stored under key (a file
    // that is gone). Returns the list as written.
    static QStringList removeRecent(const char *key, const QString &path);
    // The list stored under key, read through a short-lived store object.
    static QStringList readRecent(const char *key);

private:
    Settings();
    static QStringList changeRecent(const char *key, const QString &path, bool add);
    QString stringValue(const char *key) const;
    void setValue(const char *key, const QVariant &value);

    mutable QSettings m_store;
};

#endif // SETTINGS_H
