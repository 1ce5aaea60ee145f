// Interface language: the language manager's translators, the language
// actions and the retranslation of every receiver of the language signal.

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTextStream>
#include <QXmlStreamReader>
#include <QtTest>

#include "languagemanager.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "projectinfodialog.h"
#include "qdlgdisplaysetting.h"
#include "shelltestsupport.h"
#include "toolbar.h"

namespace {

QStringList childTexts(const QWidget *root)
{
    QStringList texts;
    for (const QLabel *label : root->findChildren<QLabel *>())
        texts << label->text();
    for (const QPushButton *button : root->findChildren<QPushButton *>())
        texts << button->text();
    return texts;
}

bool hasChinese(const QString &text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x2E80 && c.unicode() <= 0x9FFF)
            return true;
    return false;
}

// Started as "tst_language --start-language SETTINGS_DIR": starts as the
// program does (the language manager and its translators before any window)
// and prints the locale it chose and the display settings' title.
int reportStartLanguage(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString settingsDir = QString::fromLocal8Bit(argv[2]);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir);
    LanguageManager::instance()->reloadTranslators();
    int index = 0;
    QDlgDisplaySetting dialog(index);
    QTextStream out(stdout);
    out.setCodec("UTF-8");
    out << "locale=" << LanguageManager::instance()->localeName() << "\n"
        << "title=" << dialog.windowTitle() << "\n";
    return 0;
}

// Runs a fresh copy of this program under the locale given by LC_ALL with
// the settings in settingsDir; returns its "locale=" and "title=" lines.
QStringList startIn(const QString &locale, const QString &settingsDir)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANGUAGE", "LC_MESSAGES", "LANG"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--start-language"), settingsDir});
    if (!child.waitForFinished(60000) || child.exitCode() != 0)
        return {QStringLiteral("failed: ") + QString::fromLocal8Bit(child.readAllStandardError())};
    QStringList lines;
    for (const QString &line : QString::fromUtf8(child.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("locale=")) || line.startsWith(QLatin1String("title=")))
            lines << line;
    return lines;
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void translatorsFollowTheLocale();
    void catalogueFoundOutsideTheWorkingDirectory();
    void switchingRetranslatesEveryReceiver();
    void eitherActionSwitchesToTheOther();
    void startLanguage_data();
    void startLanguage();
    void chosenLanguageIsRemembered();
    void englishUnitsAsShown_data();
    void englishUnitsAsShown();
    void englishCatalogueReadsWell();
    void chineseCatalogueCoversEverySubsystem_data();
    void chineseCatalogueCoversEverySubsystem();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_elsewhere;
};

void TestLanguage::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_elsewhere.isValid());
    ShellTest::setUp(m_settingsDir, 0);
    // The catalogues are built next to the executables; run from elsewhere.
    const QString qm = QCoreApplication::applicationDirPath() + QStringLiteral("/KORA_zh_CN.qm");
    QVERIFY2(QFile::exists(qm), "build the kora_translations target first");
    QVERIFY(QDir::setCurrent(m_elsewhere.path()));
}

void TestLanguage::init()
{
    LanguageManager::instance()->setLocaleName(QStringLiteral("en_US"));
    LanguageManager::instance()->reloadTranslators();
}

void TestLanguage::translatorsFollowTheLocale()
{
    LanguageManager *manager = LanguageManager::instance();

    // A locale with no catalogue of its own reads English, not the Chinese
    // texts some sources are written in.
    manager->setLocaleName(QStringLiteral("de_DE"));
    QVERIFY(!manager->isChinese());
    manager->reloadTranslators();
    QVERIFY(!manager->hasQtTranslator());
    QVERIFY(manager->hasAppTranslator());
    QCOMPARE(QCoreApplication::translate("MainWindow", "&File"), QStringLiteral("&File"));
    QCOMPARE(QCoreApplication::translate("QDlgDisplaySetting", "显示设置"),
             QStringLiteral("Display Settings"));

    // The first switch goes to Chinese, with the toolkit's own catalogue.
    manager->toggleLanguage();
    QCOMPARE(manager->localeName(), QStringLiteral("zh_CN"));
    QVERIFY(manager->isChinese());
    QVERIFY(manager->hasAppTranslator());
    QVERIFY(manager->hasQtTranslator());
    QCOMPARE(QLocale().language(), QLocale::Chinese);
    QCOMPARE(QCoreApplication::translate("MainWindow", "&File"), QStringLiteral("文件(&F)"));
    QCOMPARE(QCoreApplication::translate("MainWindow", "No pictures!"), QStringLiteral("没有图像！"));

    // Back to English: the toolkit catalogue goes, the texts are English again.
    manager->toggleLanguage();
    QCOMPARE(manager->localeName(), QStringLiteral("en_US"));
    QVERIFY(!manager->hasQtTranslator());
    QCOMPARE(QLocale().language(), QLocale::English);
    QCOMPARE(QCoreApplication::translate("MainWindow", "&File"), QStringLiteral("&File"));

    // Reloading twice leaves one translator of each kind, not two.
    manager->setLocaleName(QStringLiteral("zh_CN"));
    manager->reloadTranslators();
    manager->reloadTranslators();
    manager->setLocaleName(QStringLiteral("en_US"));
    manager->reloadTranslators();
    QCOMPARE(QCoreApplication::translate("MainWindow", "&File"), QStringLiteral("&File"));
}

void TestLanguage::catalogueFoundOutsideTheWorkingDirectory()
{
    const QStringList dirs = LanguageManager::appTranslationDirs();
    QCOMPARE(dirs.first(), QDir::cleanPath(QDir::currentPath()));
    QVERIFY(dirs.contains(QDir::cleanPath(QCoreApplication::applicationDirPath())));
    QVERIFY(dirs.contains(QDir::cleanPath(QCoreApplication::applicationDirPath()
                                          + QStringLiteral("/../share/kora/translations"))));
    // A catalogue in the working directory wins over the one beside the
    // executable.
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/KORA_en_US.qm"),
                        QDir::current().filePath(QStringLiteral("KORA_zh_CN.qm"))));
    LanguageManager::instance()->setLocaleName(QStringLiteral("zh_CN"));
    LanguageManager::instance()->reloadTranslators();
    QVERIFY(LanguageManager::instance()->hasAppTranslator());
    QCOMPARE(QCoreApplication::translate("MainWindow", "&File"), QStringLiteral("&File"));
    QVERIFY(QFile::remove(QDir::current().filePath(QStringLiteral("KORA_zh_CN.qm"))));
    LanguageManager::instance()->reloadTranslators();
    QCOMPARE(QCoreApplication::translate("MainWindow", "&File"), QStringLiteral("文件(&F)"));
}

void TestLanguage::switchingRetranslatesEveryReceiver()
{
    MainWindow w;
    QVERIFY(w.englishAct()->isChecked());
    QVERIFY(!w.chineseAct()->isChecked());
    QCOMPARE(w.fileMenu()->title(), QStringLiteral("&File"));
    auto *infoDialog = w.findChild<ProjectInfoDialog *>();
    if (!infoDialog) {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (auto *d = qobject_cast<ProjectInfoDialog *>(top))
                infoDialog = d;
        }
    }
    QVERIFY(infoDialog);
    QVERIFY(childTexts(w.fileInfoWidget()).contains(QStringLiteral("Go")));

    QSignalSpy spy(&w, &MainWindow::NotifyLanguageChanged);
    w.chineseAct()->trigger();
    QCOMPARE(spy.count(), 1);
    QVERIFY(LanguageManager::instance()->isChinese());
    QVERIFY(w.chineseAct()->isChecked());
    QVERIFY(!w.englishAct()->isChecked());

    // One text of each receiver: main window menus and actions, the tool-bar
    // toggle, the tool bar.
    QCOMPARE(w.fileMenu()->title(), QStringLiteral("文件(&F)"));
    QCOMPARE(w.recentFilesMenu()->title(), QStringLiteral("最近的文件"));
    QCOMPARE(w.closeAct()->text(), QStringLiteral("关闭(&L)"));
    QCOMPARE(w.englishAct()->text(), QStringLiteral("英文(&E)"));
    QCOMPARE(w.viewMenu()->actions().first()->text(), QStringLiteral("工具栏"));
    QCOMPARE(w.toolBar()->toolAction(ToolBar::Pen)->text(), QStringLiteral("画笔(&E)"));
    QCOMPARE(w.toolBar()->editAction(ToolBar::DeleteItem)->toolTip(), QStringLiteral("删除图元"));

    // Navigation panel and project information dialog.
    const QStringList panel = childTexts(w.fileInfoWidget());
    QVERIFY2(panel.contains(QStringLiteral("转到")), qPrintable(panel.join(QLatin1Char(','))));
    QVERIFY(panel.contains(QStringLiteral("页深度：")));
    QVERIFY(childTexts(infoDialog).contains(QStringLiteral("工程名称：")));

    // And back.
    w.englishAct()->trigger();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(w.fileMenu()->title(), QStringLiteral("&File"));
    QCOMPARE(w.toolBar()->toolAction(ToolBar::Pen)->text(), QStringLiteral("P&en"));
    QVERIFY(childTexts(w.fileInfoWidget()).contains(QStringLiteral("Go")));
    QVERIFY(childTexts(infoDialog).contains(QStringLiteral("Project name:")));
    QCOMPARE(w.viewMenu()->actions().first()->text(),
             QCoreApplication::translate("MainWindow", "ToolBar"));
    QVERIFY(!hasChinese(w.viewMenu()->actions().first()->text()));
}

void TestLanguage::eitherActionSwitchesToTheOther()
{
    LanguageManager::instance()->setLocaleName(QStringLiteral("zh_CN"));
    LanguageManager::instance()->reloadTranslators();
    MainWindow w;
    QVERIFY(w.chineseAct()->isChecked());
    QVERIFY(!w.englishAct()->isChecked());
    QCOMPARE(w.fileMenu()->title(), QStringLiteral("文件(&F)"));

    // "&Chinese" while Chinese: English, "&English" checked, "&Chinese" not.
    w.chineseAct()->trigger();
    QVERIFY(!LanguageManager::instance()->isChinese());
    QVERIFY(w.englishAct()->isChecked());
    QVERIFY(!w.chineseAct()->isChecked());

    // "&English" while English: Chinese.
    w.englishAct()->trigger();
    QVERIFY(LanguageManager::instance()->isChinese());
    QVERIFY(w.chineseAct()->isChecked());
    QVERIFY(!w.englishAct()->isChecked());
}

void TestLanguage::chineseCatalogueCoversEverySubsystem_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("chinese");

    // One text of each context that has its own: the shell, its parts, the
    // project store and the canvas (the navigation panel's: the switching test).
    QTest::newRow("unsaved prompt") << "MainWindow" << "Whether to save the changes?"
                                    << "是否保存修改？";
    QTest::newRow("tool bar busy") << "ToolBar" << "Working now, Please Waiting!"
                                   << "正在工作，请稍候！";
    QTest::newRow("range dialog") << "RangeDialog" << "The range must less than 2m!"
                                  << "范围必须小于 2 m！";
    QTest::newRow("message box") << "frmMessageBox" << "Prompt" << "提示";
    QTest::newRow("read-out") << "MouseLabel" << "depth " << "深度 ";
    // Project store (its dialog's labels: the switching test above).
    QTest::newRow("store message") << "ProjectInfoDialog"
                                   << "The project information could not be saved to the project file!"
                                   << "工程信息无法保存到工程文件！";
    // Canvas: item dialogs and the area measurement.
    QTest::newRow("text item dialog") << "GraphicsTextItem" << "Input text" << "输入文字";
    QTest::newRow("font dialog") << "TextDialog" << "Select Font" << "选择字体";
    QTest::newRow("area outline") << "GraphicsScene"
                                  << "Points are not enough to form a closed curve"
                                  << "点数不足，无法构成闭合曲线";
    QTest::newRow("area result") << "GraphicsSelCurveItem" << "Area of this closed curve is:"
                                 << "该闭合曲线的面积为：";
    QTest::newRow("ruler") << "GraphicsRulerItem" << "Total:" << "总长：";
}

void TestLanguage::chineseCatalogueCoversEverySubsystem()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, chinese);

    LanguageManager::instance()->setLocaleName(QStringLiteral("zh_CN"));
    LanguageManager::instance()->reloadTranslators();
    QVERIFY(LanguageManager::instance()->hasAppTranslator());
    const QByteArray ctx = context.toUtf8();
    const QByteArray src = source.toUtf8();
    QCOMPARE(QCoreApplication::translate(ctx.constData(), src.constData()), chinese);

    // English shows no Chinese again.
    LanguageManager::instance()->setLocaleName(QStringLiteral("en_US"));
    LanguageManager::instance()->reloadTranslators();
    QVERIFY(!hasChinese(QCoreApplication::translate(ctx.constData(), src.constData())));
}

void TestLanguage::startLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QString>("expectedLocale");
    QTest::addColumn<QString>("expectedTitle");
    const QString english = QStringLiteral("Display Settings");
    const QString chinese = QStringLiteral("显示设置");
    QTest::newRow("British") << "en_GB.UTF-8" << "" << "en_US" << english;
    QTest::newRow("C") << "C" << "" << "en_US" << english;
    QTest::newRow("German") << "de_DE.UTF-8" << "" << "en_US" << english;
    QTest::newRow("American") << "en_US.UTF-8" << "" << "en_US" << english;
    QTest::newRow("Chinese") << "zh_CN.UTF-8" << "" << "zh_CN" << chinese;
    QTest::newRow("German, Chinese chosen") << "de_DE.UTF-8" << "zh_CN" << "zh_CN" << chinese;
    QTest::newRow("Chinese, English chosen") << "zh_CN.UTF-8" << "en_US" << "en_US" << english;
    QTest::newRow("German, junk remembered") << "de_DE.UTF-8" << "xx" << "en_US" << english;
}

void TestLanguage::startLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QString, remembered);
    QFETCH(QString, expectedLocale);
    QFETCH(QString, expectedTitle);
    QTemporaryDir settings;
    QVERIFY(settings.isValid());
    if (!remembered.isEmpty()) {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings store(QStringLiteral("KD"), QStringLiteral("QVNKORA"));
        store.setValue(QStringLiteral("language"), remembered);
        store.sync();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    }
    const QStringList shown = startIn(locale, settings.path());
    QCOMPARE(shown, QStringList({QStringLiteral("locale=") + expectedLocale,
                                 QStringLiteral("title=") + expectedTitle}));
}

void TestLanguage::chosenLanguageIsRemembered()
{
    // Switching through the menu survives a restart in a German locale, in
    // both directions; the six other keys are untouched.
    {
        MainWindow w;
        QVERIFY(w.englishAct()->isChecked());
        w.chineseAct()->trigger();
        QVERIFY(LanguageManager::instance()->isChinese());
    }
    QSettings store(QStringLiteral("KD"), QStringLiteral("QVNKORA"));
    QCOMPARE(store.value(QStringLiteral("language")).toString(), QStringLiteral("zh_CN"));
    QCOMPARE(startIn(QStringLiteral("de_DE.UTF-8"), m_settingsDir.path()),
             QStringList({QStringLiteral("locale=zh_CN"), QStringLiteral("title=显示设置")}));

    {
        MainWindow w;
        QVERIFY(w.chineseAct()->isChecked());
        w.englishAct()->trigger();
    }
    QCOMPARE(startIn(QStringLiteral("zh_CN.UTF-8"), m_settingsDir.path()),
             QStringList({QStringLiteral("locale=en_US"), QStringLiteral("title=Display Settings")}));
}

void TestLanguage::englishUnitsAsShown_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("english");
    // Labels name the unit their field shows: the project's total and start
    // depths are entered in metres, its diameter shown in millimetres.
    QTest::newRow("total depth") << "ProjectInfoDialog" << "Total diameter(mm):" << "Total depth (m):";
    QTest::newRow("start depth") << "ProjectInfoDialog" << "Start depth(mm):" << "Start depth (m):";
    QTest::newRow("diameter") << "ProjectInfoDialog" << "Diameter(mm):" << "Diameter (mm):";
    QTest::newRow("range") << "FileInfoWidget" << "depth range(mm):" << "Depth range (mm):";
    QTest::newRow("range start") << "RangeDialog" << "start(m)" << "Start (m)";
    QTest::newRow("degrees") << "MainWindow" << "d" << "°";
}

void TestLanguage::englishUnitsAsShown()
{
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, english);
    const QByteArray ctx = context.toUtf8();
    const QByteArray src = source.toUtf8();
    QCOMPARE(QCoreApplication::translate(ctx.constData(), src.constData()), english);
}

void TestLanguage::englishCatalogueReadsWell()
{
    // Every text of the catalogue: English, no leftover "Btn", no leading
    // space, and an action's tip shows no mnemonic ampersand.
    QFile ts(QFINDTESTDATA("../../resources/KORA_en_US.ts"));
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    QString name;
    int checked = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            name = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            const QByteArray c = name.toUtf8();
            const QByteArray s = xml.readElementText().toUtf8();
            const QString shown = QCoreApplication::translate(c.constData(), s.constData());
            const QString where = name + QStringLiteral(": \"") + shown + QLatin1Char('"');
            QVERIFY2(!hasChinese(shown), qPrintable(where));
            QVERIFY2(!shown.contains(QLatin1String("Btn")), qPrintable(where));
            QVERIFY2(!shown.startsWith(QLatin1Char(' ')), qPrintable(where));
            ++checked;
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(checked > 100);
    ToolBar bar(QStringLiteral("Tools"));
    for (QAction *a : bar.fileGroupActions() + bar.editGroupActions() + bar.toolGroupActions())
        QVERIFY2(!a->toolTip().contains(QLatin1Char('&')), qPrintable(a->toolTip()));
}

int main(int argc, char *argv[])
{
    if (argc > 2 && qstrcmp(argv[1], "--start-language") == 0)
        return reportStartLanguage(argc, argv);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestLanguage test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_language.moc"
