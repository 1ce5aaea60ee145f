#ifndef LANGUAGEMANAGER_H
#define LANGUAGEMANAGER_H

#include <QString>
#include <QStringList>

class QLocale;
class QTranslator;

// The interface language: the current locale name and the two installed
// translators (the toolkit's own texts and the application's texts).
// One process-wide instance, created on first use with the language chosen
// last, or else the system's: Chinese for a Chinese system, English for any
// other.
class LanguageManager
{
public:
    static LanguageManager *instance();

    QString localeName() const { return m_localeName; }
    void setLocaleName(const QString &name) { m_localeName = name; }
    bool isChinese() const { return m_localeName == QLatin1String("zh_CN"); }

    // Removes and deletes both translators, then loads and installs the ones
    // of the current language: the Chinese catalogues for Chinese, the
    // English application catalogue for any other locale (some source texts
    // are not English).
    void reloadTranslators();
    // Chinese <-> English (anything but Chinese counts as English), then
    // reloadTranslators(); the new language is remembered in the settings.
    void toggleLanguage();

    // Locale to start with: the remembered one if it is "zh_CN" or "en_US",
    // otherwise "zh_CN" for a Chinese system locale and "en_US" for any other.
    static QString startLocaleName(const QString &remembered, const QLocale &system);

    bool hasQtTranslator() const { return m_qtTranslator != nullptr; }
    bool hasAppTranslator() const { return m_appTranslator != nullptr; }

    // Folders searched for "KORA_<locale>.qm", in order: the working
    // directory, the executable's folder and <prefix>/share/kora/translations.
    static QStringList appTranslationDirs();
    // Folders searched for "qt_<locale>.qm": the working directory, then the
    // toolkit's installed translations.
    static QStringList qtTranslationDirs();

private:
    LanguageManager();

    QString m_localeName;
    QTranslator *m_qtTranslator = nullptr;
    QTranslator *m_appTranslator = nullptr;
};

#endif // LANGUAGEMANAGER_H
