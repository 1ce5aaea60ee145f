// The user guide: its pictures exist for every task, cmake --install puts it
// where Help > User guide looks, and the command shows it inside KORA in the
// interface language.

#include <QDesktopServices>
#include <QDir>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPointer>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QtTest>

#include "languagemanager.h"
#include "mainwindow.h"
#include "shelltestsupport.h"
#include "userguide.h"

namespace {

const QString kDocs = QStringLiteral(KORA_SOURCE_DOCS_DIR);

// Image targets of a Markdown file, and the task headings ("## 1. ...")
// with no picture before the next heading.
struct GuideScan {
    QStringList images;
    QStringList tasksWithoutPicture;
    int tasks = 0;
};

GuideScan scan(const QString &path)
{
    GuideScan result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return result;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const QRegularExpression image(QStringLiteral("!\\[[^\\]]*\\]\\(([^)\\s]+)[^)]*\\)"));
    const QRegularExpression task(QStringLiteral("^##\\s+\\d+\\."));
    QString openTask;
    bool taskHasPicture = false;
    auto closeTask = [&] {
        if (!openTask.isEmpty() && !taskHasPicture)
            result.tasksWithoutPicture << openTask;
        openTask.clear();
    };
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1String("## "))) {
            closeTask();
            if (task.match(line).hasMatch()) {
                openTask = line;
                taskHasPicture = false;
                ++result.tasks;
            }
        }
        auto it = image.globalMatch(line);
        while (it.hasNext()) {
            result.images << it.next().captured(1);
            taskHasPicture = true;
        }
    }
    closeTask();
    return result;
}

} // namespace

class TestUserGuide : public QObject
{
    Q_OBJECT

public slots:
    void recordUrl(const QUrl &url) { m_opened << url; }

private:
    QTemporaryDir m_settingsDir;
    QList<QUrl> m_opened;

private slots:
    void initTestCase() { ShellTest::setUp(m_settingsDir); }

    void everyTaskHasPictureThatExists_data()
    {
        QTest::addColumn<QString>("guide");
        QTest::newRow("English") << UserGuide::fileName(false);
        QTest::newRow("Chinese") << UserGuide::fileName(true);
    }

    void everyTaskHasPictureThatExists()
    {
        QFETCH(QString, guide);
        const GuideScan english = scan(QDir(kDocs).filePath(UserGuide::fileName(false)));
        const GuideScan g = scan(QDir(kDocs).filePath(guide));
        QVERIFY(g.tasks >= 10);
        QVERIFY2(g.tasksWithoutPicture.isEmpty(), qPrintable(g.tasksWithoutPicture.join(QLatin1Char('\n'))));
        for (const QString &target : g.images) {
            QVERIFY2(!QDir::isAbsolutePath(target) && !target.contains(QLatin1String("://")), qPrintable(target));
            QVERIFY2(QFileInfo(QDir(kDocs).filePath(target)).isFile(), qPrintable(target));
        }
        // Both languages show the same pictures for the same tasks.
        QCOMPARE(g.tasks, english.tasks);
        QCOMPARE(g.images, english.images);
    }

    // The guide's finder takes the language's own, else the English one, and
    // the installed guide before the source tree's.
    void finderOrder_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("source");
        QTest::addColumn<bool>("chinese");
        QTest::addColumn<QString>("expected"); // "installed/..." or "source/..." or empty
        const QString en = UserGuide::fileName(false);
        const QString zh = UserGuide::fileName(true);
        QTest::newRow("installed first") << QStringList{en} << QStringList{en} << false << "installed/" + en;
        QTest::newRow("Chinese") << QStringList{en, zh} << QStringList() << true << "installed/" + zh;
        QTest::newRow("Chinese from source") << QStringList{en} << QStringList{zh} << true << "source/" + zh;
        QTest::newRow("no Chinese") << QStringList{en} << QStringList() << true << "installed/" + en;
        QTest::newRow("source only") << QStringList() << QStringList{en} << false << "source/" + en;
        QTest::newRow("none") << QStringList() << QStringList() << false << QString();
    }

    void finderOrder()
    {
        QFETCH(QStringList, installed);
        QFETCH(QStringList, source);
        QFETCH(bool, chinese);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("installed"));
        QDir(dir.path()).mkpath(QStringLiteral("source"));
        for (const QString &f : installed)
            QVERIFY(QFile(dir.filePath(QStringLiteral("installed/") + f)).open(QIODevice::WriteOnly));
        for (const QString &f : source)
            QVERIFY(QFile(dir.filePath(QStringLiteral("source/") + f)).open(QIODevice::WriteOnly));
        const QString found = UserGuide::find(
            chinese, {dir.filePath(QStringLiteral("installed")), dir.filePath(QStringLiteral("source"))});
        QCOMPARE(found, expected.isEmpty() ? QString() : QFileInfo(dir.filePath(expected)).absoluteFilePath());
    }

    // cmake --install puts the guide, in both languages with every picture,
    // where an installed kora looks for it.
    void installedTreeHoldsGuide()
    {
        QTemporaryDir prefix;
        QProcess cmake;
        cmake.setProcessChannelMode(QProcess::MergedChannels);
        cmake.start(QStringLiteral("cmake"), {QStringLiteral("--install"), QStringLiteral(QT_TESTCASE_BUILDDIR),
                                              QStringLiteral("--prefix"), prefix.path()});
        QVERIFY(cmake.waitForFinished(120000));
        QVERIFY2(cmake.exitCode() == 0, cmake.readAll().constData());
        const QStringList dirs = UserGuide::searchDirs(prefix.filePath(QStringLiteral("bin")));
        const QString docDir = prefix.filePath(QStringLiteral("share/doc/kora"));
        for (bool chinese : {false, true}) {
            const QString guide = UserGuide::find(chinese, dirs);
            QCOMPARE(guide, QDir(docDir).filePath(UserGuide::fileName(chinese)));
            const GuideScan g = scan(guide);
            QVERIFY(!g.images.isEmpty());
            for (const QString &target : g.images)
                QVERIFY2(QFileInfo(QDir(docDir).filePath(target)).isFile(), qPrintable(target));
        }
    }

    // Help > User guide shows the guide of the interface language inside
    // KORA, every picture loaded, searchable; from the build tree that is
    // the source tree's. A second use shows the same window again.
    void helpCommandShowsGuideOfLanguage()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "recordUrl");
        MainWindow window;
        QAction *guide = nullptr;
        for (QAction *menu : window.menuBar()->actions()) {
            for (QAction *a : menu->menu()->actions()) {
                if (a->shortcut() == QKeySequence(QKeySequence::HelpContents))
                    guide = a;
            }
        }
        QVERIFY(guide);
        LanguageManager *language = LanguageManager::instance();
        QPointer<UserGuide> first;
        for (int round = 0; round < 2; ++round) {
            guide->trigger();
            QList<UserGuide *> shown;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *g = qobject_cast<UserGuide *>(w); g && g->isVisible())
                    shown << g;
            QCOMPARE(shown.size(), 1);
            UserGuide *g = shown.first();
            if (!first)
                first = g;
            QCOMPARE(g, first.data());
            const QString expected = QFileInfo(QDir(kDocs).filePath(UserGuide::fileName(language->isChinese())))
                                         .absoluteFilePath();
            QCOMPARE(g->path(), expected);
            QTextDocument *document = g->browser()->document();
            QVERIFY(document->toPlainText().contains(QStringLiteral("KORA")));
            const GuideScan scanned = scan(expected);
            QVERIFY(!scanned.images.isEmpty());
            for (const QString &target : scanned.images) {
                const QImage picture = document->resource(QTextDocument::ImageResource, QUrl(target)).value<QImage>();
                QVERIFY2(!picture.isNull(), qPrintable(target));
            }
            // The search box finds text of the guide and says when it cannot.
            g->searchBox()->setText(QStringLiteral("kora"));
            QVERIFY(g->browser()->textCursor().hasSelection());
            g->searchBox()->setText(QStringLiteral("no such words in the guide"));
            QVERIFY(!g->findNext());
            language->toggleLanguage();
        }
        // Nothing was handed to the desktop.
        QVERIFY(m_opened.isEmpty());
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        delete first;
    }
};

QTEST_MAIN(TestUserGuide)
#include "tst_userguide.moc"
