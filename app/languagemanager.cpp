#include "languagemanager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

LanguageManager *LanguageManager::instance()
{
    static LanguageManager *manager = new LanguageManager;
    return manager;
}

LanguageManager::LanguageManager()
    : m_localeName(QLocale::system().name())
{
}

static void appendUnique(QStringList &dirs, const QString &dir)
{
    if (dir.isEmpty())
        return;
    const QString clean = QDir::cleanPath(QDir(dir).absolutePath());
    if (!dirs.contains(clean))
        dirs << clean;
}

QStringList LanguageManager::appTranslationDirs()
{
    QStringList dirs;
    appendUnique(dirs, QDir::currentPath());
    if (QCoreApplication::instance()) {
        const QString exeDir = QCoreApplication::applicationDirPath();
        appendUnique(dirs, exeDir);
        appendUnique(dirs, exeDir + QStringLiteral("/../share/kora/translations"));
    }
    return dirs;
}

QStringList LanguageManager::qtTranslationDirs()
{
    QStringList dirs;
    appendUnique(dirs, QDir::currentPath());
    appendUnique(dirs, QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    return dirs;
}

// Loads baseName (".qm" appended by the loader) from the first folder that
// has it; returns null when none does.
static QTranslator *loadFirst(const QString &baseName, const QStringList &dirs)
{
    auto *translator = new QTranslator;
    for (const QString &dir : dirs) {
        if (translator->load(baseName, dir))
            return translator;
    }
    delete translator;
    return nullptr;
}

void LanguageManager::reloadTranslators()
{
    if (m_qtTranslator) {
        QCoreApplication::removeTranslator(m_qtTranslator);
        delete m_qtTranslator;
        m_qtTranslator = nullptr;
    }
    if (m_appTranslator) {
        QCoreApplication::removeTranslator(m_appTranslator);
        delete m_appTranslator;
        m_appTranslator = nullptr;
    }

    if (isChinese()) {
        m_qtTranslator = loadFirst(QStringLiteral("qt_") + m_localeName, qtTranslationDirs());
        if (m_qtTranslator)
            QCoreApplication::installTranslator(m_qtTranslator);
    }

    m_appTranslator = loadFirst(QStringLiteral("KORA_") + m_localeName, appTranslationDirs());
    if (m_appTranslator) {
        qDebug() << "current language:" << m_localeName;
        QCoreApplication::installTranslator(m_appTranslator);
    }
}

void LanguageManager::toggleLanguage()
{
    if (isChinese()) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::AnyCountry));
        m_localeName = QStringLiteral("en_US");
    } else {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::AnyCountry));
        m_localeName = QStringLiteral("zh_CN");
    }
    reloadTranslators();
}
