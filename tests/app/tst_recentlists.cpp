// Persistent settings and the two recent lists with their submenus.

#include <QAction>
#include <QFile>
#include <QGraphicsLineItem>
#include <QMenu>
#include <QSettings>
#include <QtTest>

#include "graphicsscene.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "projectinfo.h"
#include "settings.h"
#include "shelltestsupport.h"

class TestRecentLists : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void listKeepsFiveNewestWithoutDuplicates();
    void settingsKeysAndStore();
    void windowListsWhatItOpens();
    void recentEntriesAskBeforeDroppingDrawings();
    void everyWindowSeesTheProjectList();
    void notAProjectIsNotRemembered_data();
    void notAProjectIsNotRemembered();
    void vanishedEntryKeepsThePage_data();
    void vanishedEntryKeepsThePage();

private:
    static void clearStore();
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
};

void TestRecentLists::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
}

void TestRecentLists::clearStore()
{
    QSettings store(QStringLiteral("KD"), QStringLiteral("QVNKORA"));
    store.clear();
    store.sync();
}

void TestRecentLists::init()
{
    clearStore();
}

void TestRecentLists::listKeepsFiveNewestWithoutDuplicates()
{
    const char *key = Settings::kRecentFileList;
    QVERIFY(Settings::readRecent(key).isEmpty());
    for (int i = 1; i <= 4; ++i)
        Settings::addRecent(key, QStringLiteral("/p/%1.jpg").arg(i));
    QCOMPARE(Settings::readRecent(key),
             (QStringList{"/p/4.jpg", "/p/3.jpg", "/p/2.jpg", "/p/1.jpg"}));

    // An entry already present moves to the front, once.
    Settings::addRecent(key, QStringLiteral("/p/2.jpg"));
    QCOMPARE(Settings::readRecent(key),
             (QStringList{"/p/2.jpg", "/p/4.jpg", "/p/3.jpg", "/p/1.jpg"}));

    // Two more: the oldest falls off at five.
    Settings::addRecent(key, QStringLiteral("/p/5.jpg"));
    const QStringList list = Settings::addRecent(key, QStringLiteral("/p/6.jpg"));
    QCOMPARE(list, (QStringList{"/p/6.jpg", "/p/5.jpg", "/p/2.jpg", "/p/4.jpg", "/p/3.jpg"}));
    QCOMPARE(Settings::readRecent(key), list);

    // The project list is separate.
    QVERIFY(Settings::readRecent(Settings::kRecentProjectList).isEmpty());
}

void TestRecentLists::settingsKeysAndStore()
{
    Settings *s = Settings::instance();
    s->setProjectDir(QStringLiteral("/data/a.prj"));
    s->setOpenPicDir(QStringLiteral("/data/b.jpg"));
    s->setSavePicDir(QStringLiteral("/data/c.jpg"));
    s->setSaveDepth(2000);
    Settings::addRecent(Settings::kRecentProjectList, QStringLiteral("/data/a.prj"));

    // Another store object with the same names sees every key.
    QSettings store(QStringLiteral("KD"), QStringLiteral("QVNKORA"));
    QCOMPARE(store.value(QStringLiteral("projectDir")).toString(), QStringLiteral("/data/a.prj"));
    QCOMPARE(store.value(QStringLiteral("openPicDir")).toString(), QStringLiteral("/data/b.jpg"));
    QCOMPARE(store.value(QStringLiteral("savePicDir")).toString(), QStringLiteral("/data/c.jpg"));
    QCOMPARE(store.value(QStringLiteral("saveDepth")).toInt(), 2000);
    QCOMPARE(store.value(QStringLiteral("recentProjectList")).toStringList(),
             QStringList{QStringLiteral("/data/a.prj")});
    QVERIFY(store.fileName().startsWith(m_settingsDir.path()));

    // Values written by another store object are seen by the accessor.
    store.setValue(QStringLiteral("projectDir"), QStringLiteral("/elsewhere.prj"));
    store.sync();
    QCOMPARE(s->projectDir(), QStringLiteral("/elsewhere.prj"));
}

// The list's rules are checked above; here that the window feeds and shows them.
void TestRecentLists::windowListsWhatItOpens()
{
    const QString a = ShellTest::makeProject(m_dir, QStringLiteral("a.prj"), {QStringLiteral("--to"), QStringLiteral("2")});
    const QString b = ShellTest::makeProject(m_dir, QStringLiteral("b.prj"), {QStringLiteral("--to"), QStringLiteral("2")});
    QVERIFY(!a.isEmpty() && !b.isEmpty());

    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, a);
    SHELL_OPEN_PROJECT(&w, b);
    SHELL_OPEN_PROJECT(&w, a);
    QCOMPARE(Settings::readRecent(Settings::kRecentProjectList), (QStringList{a, b}));
    const QList<QAction *> acts = w.recentProjectActs();
    QCOMPARE(acts.at(0)->data().toString(), a);
    QCOMPARE(acts.at(1)->data().toString(), b);
    for (int i = 0; i < acts.size(); ++i)
        QCOMPARE(acts.at(i)->isVisible(), i < 2);
    QVERIFY(Settings::readRecent(Settings::kRecentFileList).isEmpty());
    QVERIFY(!w.recentFileActs().first()->isVisible());

    // Six pictures: the five newest, newest first, in the submenu.
    QStringList paths;
    for (int i = 0; i < 6; ++i) {
        paths << ShellTest::savePicture(m_dir, QStringLiteral("six%1.png").arg(i), {20, 10}, Qt::blue);
        QVERIFY(!paths.last().isEmpty());
        w.openPictureFile(paths.last());
    }
    QCOMPARE(watcher.count(), 0);
    const QStringList expected{paths[5], paths[4], paths[3], paths[2], paths[1]};
    QCOMPARE(Settings::readRecent(Settings::kRecentFileList), expected);
    QCOMPARE(w.recentFilesMenu()->actions(), w.recentFileActs());
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(w.recentFileActs().at(i)->data().toString(), expected.at(i));
        QVERIFY(w.recentFileActs().at(i)->isVisible());
    }
}

void TestRecentLists::recentEntriesAskBeforeDroppingDrawings()
{
    const QString project = ShellTest::makeProject(m_dir, QStringLiteral("r.prj"), {QStringLiteral("--to"), QStringLiteral("3")});
    QVERIFY(!project.isEmpty());
    const QString pic = ShellTest::savePicture(m_dir, QStringLiteral("recent.bmp"), {64, 32}, Qt::green);
    QVERIFY(!pic.isEmpty());
    Settings::addRecent(Settings::kRecentFileList, pic);
    Settings::addRecent(Settings::kRecentProjectList, project);

    MainWindow w;
    ModalWatcher watcher;
    // Nothing drawn: no question.
    w.recentFileActs().first()->trigger();
    QCOMPARE(watcher.count(), 0);
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 64, 32));
    QCOMPARE(w.scene()->items().size(), 1);

    // A drawing: Cancel keeps it for the picture and for the project.
    auto *drawing = new QGraphicsLineItem(0, 0, 10, 10);
    w.scene()->addItem(drawing);
    for (QAction *entry : {w.recentFileActs().first(), w.recentProjectActs().first()}) {
        watcher.answerMessageBox(QMessageBox::Cancel);
        entry->trigger();
        QCOMPARE(watcher.texts().last(), QStringLiteral("Whether to save the changes?"));
        QVERIFY(!readingInProgress);
        QVERIFY(w.scene()->items().contains(drawing));
        QCOMPARE(w.scene()->items().size(), 2);
    }
    QCOMPARE(watcher.count(), 2);

    // Abort drops it and opens the picture again.
    watcher.answerMessageBox(QMessageBox::Abort);
    w.recentFileActs().first()->trigger();
    QCOMPARE(watcher.count(), 3);
    QCOMPARE(w.scene()->items().size(), 1);
    QCOMPARE(w.scene()->baseItemCount(), 1);

    // Abort for the project: it opens and its first page is read.
    w.scene()->addItem(new QGraphicsLineItem(0, 0, 10, 10));
    watcher.answerMessageBox(QMessageBox::Abort);
    w.recentProjectActs().first()->trigger();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 4);
    QCOMPARE(ProjectInfo::instance()->projectPath(), project);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 3);

    // The slots do nothing without a sending action.
    w.openRecentFile();
    w.openRecentProject();
    QCOMPARE(watcher.count(), 4);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 3);
}

void TestRecentLists::everyWindowSeesTheProjectList()
{
    const QString project = ShellTest::makeProject(m_dir, QStringLiteral("shared.prj"), {QStringLiteral("--to"), QStringLiteral("1")});
    QVERIFY(!project.isEmpty());
    MainWindow first;
    MainWindow second;
    QVERIFY(!second.recentProjectActs().first()->isVisible());
    SHELL_OPEN_PROJECT(&first, project);
    QVERIFY(second.recentProjectActs().first()->isVisible());
    QCOMPARE(second.recentProjectActs().first()->data().toString(), project);
}

void TestRecentLists::notAProjectIsNotRemembered_data()
{
    QTest::addColumn<QStringList>("args"); // empty: a text file named .prj
    QTest::newRow("no images") << QStringList{QStringLiteral("--no-images")};
    QTest::newRow("no diameter") << QStringList{QStringLiteral("--diameter"), QStringLiteral("0")};
    QTest::newRow("not a database") << QStringList();
}

void TestRecentLists::notAProjectIsNotRemembered()
{
    QFETCH(QStringList, args);
    const QString good = ShellTest::makeProject(m_dir, QStringLiteral("good.prj"), {QStringLiteral("--to"), QStringLiteral("1")});
    QVERIFY(!good.isEmpty());
    QString bad = m_dir.filePath(QStringLiteral("bad.prj"));
    if (args.isEmpty()) {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not a project\n");
    } else {
        bad = ShellTest::makeProject(m_dir, QStringLiteral("bad.prj"), args);
        QVERIFY(!bad.isEmpty());
    }

    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, good);
    watcher.answerMessageBox(QMessageBox::Ok);
    w.openProjectFile(bad);
    QTRY_COMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(),
             QStringLiteral("The project has no readable images or no borehole diameter!"));
    QCOMPARE(Settings::readRecent(Settings::kRecentProjectList), QStringList{good});
    QCOMPARE(w.recentProjectActs().first()->data().toString(), good);
    QVERIFY(!w.recentProjectActs().at(1)->isVisible());
}

void TestRecentLists::vanishedEntryKeepsThePage_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("message");
    QTest::newRow("picture") << true << QStringLiteral("The picture \"%1\" cannot be opened.");
    QTest::newRow("project") << false << QStringLiteral("The project file \"%1\" does not exist!");
}

void TestRecentLists::vanishedEntryKeepsThePage()
{
    // A listed file deleted since: the open project and its page stay, the
    // user is told, and the entry leaves the list.
    QFETCH(bool, picture);
    QFETCH(QString, message);
    const QString open = ShellTest::makeProject(m_dir, QStringLiteral("open.prj"), {QStringLiteral("--to"), QStringLiteral("3")});
    QVERIFY(!open.isEmpty());
    const QString gone = m_dir.filePath(picture ? QStringLiteral("gone.jpg") : QStringLiteral("gone.prj"));
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(gone, "JPG")); // whatever its suffix
    const char *key = picture ? Settings::kRecentFileList : Settings::kRecentProjectList;
    Settings::addRecent(key, gone);

    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, open);
    QVERIFY(QFile::remove(gone));
    watcher.answerMessageBox(QMessageBox::Ok);
    const QList<QAction *> acts = picture ? w.recentFileActs() : w.recentProjectActs();
    QAction *entry = acts.at(picture ? 0 : 1); // the open project came later
    QCOMPARE(entry->data().toString(), gone);
    entry->trigger();
    QTRY_COMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(), message.arg(gone));
    QCOMPARE(ProjectInfo::instance()->projectPath(), open);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 3);
    QVERIFY(!Settings::readRecent(key).contains(gone));
    for (QAction *act : acts)
        QVERIFY(!act->isVisible() || act->data().toString() != gone);
}

QTEST_MAIN(TestRecentLists)
#include "tst_recentlists.moc"
