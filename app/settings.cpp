#include "settings.h"

Settings *Settings::instance()
{
    static Settings *settings = new Settings;
    return settings;
}

Settings::Settings()
    : m_store(QSettings::NativeFormat, QSettings::UserScope,
              QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication))
{
}

QString Settings::stringValue(const char *key) const
{
    return m_store.value(QString::fromLatin1(key)).toString();
}

void Settings::setValue(const char *key, const QVariant &value)
{
    m_store.setValue(QString::fromLatin1(key), value);
    m_store.sync();
}

QString Settings::projectDir() const { return stringValue("projectDir"); }
void Settings::setProjectDir(const QString &path) { setValue("projectDir", path); }
QString Settings::openPicDir() const { return stringValue("openPicDir"); }
void Settings::setOpenPicDir(const QString &path) { setValue("openPicDir", path); }
QString Settings::savePicDir() const { return stringValue("savePicDir"); }
void Settings::setSavePicDir(const QString &path) { setValue("savePicDir", path); }

int Settings::saveDepth() const
{
    return m_store.value(QStringLiteral("saveDepth"), 0).toInt();
}

void Settings::setSaveDepth(int millimetres) { setValue("saveDepth", millimetres); }

QString Settings::language() const { return stringValue(kLanguage); }
void Settings::setLanguage(const QString &localeName) { setValue(kLanguage, localeName); }

QStringList Settings::recentFileList() const { return readRecent(kRecentFileList); }
QStringList Settings::recentProjectList() const { return readRecent(kRecentProjectList); }

QStringList Settings::readRecent(const char *key)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope,
                    QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
    return store.value(QString::fromLatin1(key)).toStringList();
}

QStringList Settings::addRecent(const char *key, const QString &path)
{
    return changeRecent(key, path, true);
}

QStringList Settings::removeRecent(const char *key, const QString &path)
{
    return changeRecent(key, path, false);
}

QStringList Settings::changeRecent(const char *key, const QString &path, bool add)
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope,
                    QString::fromLatin1(kOrganisation), QString::fromLatin1(kApplication));
    QStringList list = store.value(QString::fromLatin1(key)).toStringList();
    list.removeAll(path);
    if (add)
        list.prepend(path);
    while (list.size() > maxRecent)
        list.removeLast();
    store.setValue(QString::fromLatin1(key), list);
    store.sync();
    // The process-wide store caches values; make it see the change too.
    instance()->m_store.sync();
    return list;
}
