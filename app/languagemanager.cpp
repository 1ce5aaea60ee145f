#include "languagemanager.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "settings.h"

namespace {
const QString kChinese = QStringLiteral("zh_CN");
const QString kEnglish = QStringLiteral("en_US");
} // namespace

LanguageManager *LanguageManager::instance()
{
    static LanguageManager *manager = new LanguageManager;
    return manager;
}

LanguageManager::LanguageManager()
    : m_localeName(startLocaleName(Settings::instance()->language(), QLocale::system()))
{
}

QString LanguageManager::startLocaleName(const QString &remembered, const QLocale &system)
{
    if (remembered == kChinese || remembered == kEnglish)
        return remembered;
    return system.language() == QLocale::Chinese ? kChinese : kEnglish;
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

    // Every locale that is not Chinese reads English: the display settings,
    // for one, are written in Chinese and rendered by the English catalogue.
    const QString catalogue = isChinese() ? m_localeName : kEnglish;
    m_appTranslator = loadFirst(QStringLiteral("KORA_") + catalogue, appTranslationDirs());
    if (m_appTranslator) {
        qDebug() << "current language:" << m_localeName;
        QCoreApplication::installTranslator(m_appTranslator);
    }
}

void LanguageManager::toggleLanguage()
{
    if (isChinese()) {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::AnyCountry));
        m_localeName = kEnglish;
    } else {
        QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::AnyCountry));
        m_localeName = kChinese;
    }
    Settings::instance()->setLanguage(m_localeName);
    reloadTranslators();
}
