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
    void sameProjectTwiceKeepsOneEntry();
    void sixPicturesKeepFiveNewestFirst();
    void recentActionsOpenTheirFiles();
    void everyWindowSeesTheProjectList();
    void recentPictureAsksBeforeDroppingDrawings();
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

void TestRecentLists::sameProjectTwiceKeepsOneEntry()
{
    const QString a = ShellTest::makeProject(m_dir, QStringLiteral("a.prj"), {QStringLiteral("--to"), QStringLiteral("2")});
    const QString b = ShellTest::makeProject(m_dir, QStringLiteral("b.prj"), {QStringLiteral("--to"), QStringLiteral("2")});
    QVERIFY(!a.isEmpty() && !b.isEmpty());

    MainWindow w;
    ModalWatcher watcher;
    w.openProjectFile(a);
    SHELL_WAIT_READ(&w);
    w.openProjectFile(b);
    SHELL_WAIT_READ(&w);
    w.openProjectFile(a);
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 0);

    QCOMPARE(Settings::readRecent(Settings::kRecentProjectList), (QStringList{a, b}));
    const QList<QAction *> acts = w.recentProjectActs();
    QCOMPARE(acts.size(), 5);
    QCOMPARE(acts.at(0)->text(), QStringLiteral("&1 ") + a);
    QCOMPARE(acts.at(0)->data().toString(), a);
    QVERIFY(acts.at(0)->isVisible());
    QCOMPARE(acts.at(1)->text(), QStringLiteral("&2 ") + b);
    QVERIFY(acts.at(1)->isVisible());
    for (int i = 2; i < 5; ++i)
        QVERIFY(!acts.at(i)->isVisible());
    // Pictures were not touched.
    QVERIFY(Settings::readRecent(Settings::kRecentFileList).isEmpty());
    QVERIFY(!w.recentFileActs().first()->isVisible());
}

void TestRecentLists::sixPicturesKeepFiveNewestFirst()
{
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    QStringList paths;
    for (int i = 0; i < 6; ++i) {
        const QString path = m_dir.filePath(QStringLiteral("six%1.png").arg(i));
        QVERIFY(picture.save(path, "PNG"));
        paths << path;
    }
    MainWindow w;
    ModalWatcher watcher;
    for (const QString &path : paths)
        w.openPictureFile(path);
    QCOMPARE(watcher.count(), 0);

    const QStringList expected{paths[5], paths[4], paths[3], paths[2], paths[1]};
    QCOMPARE(Settings::readRecent(Settings::kRecentFileList), expected);
    const QList<QAction *> acts = w.recentFileActs();
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(acts.at(i)->text(), QStringLiteral("&%1 %2").arg(i + 1).arg(expected.at(i)));
        QVERIFY(acts.at(i)->isVisible());
    }
    QCOMPARE(w.recentFilesMenu()->actions(), acts);
}

void TestRecentLists::recentActionsOpenTheirFiles()
{
    const QString project = ShellTest::makeProject(m_dir, QStringLiteral("r.prj"), {QStringLiteral("--to"), QStringLiteral("3")});
    QVERIFY(!project.isEmpty());
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const QString pic = m_dir.filePath(QStringLiteral("recent.bmp"));
    QVERIFY(picture.save(pic, "BMP"));
    Settings::addRecent(Settings::kRecentFileList, pic);
    Settings::addRecent(Settings::kRecentProjectList, project);

    MainWindow w;
    ModalWatcher watcher;
    QCOMPARE(w.recentFileActs().first()->data().toString(), pic);
    w.recentFileActs().first()->trigger();
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 64, 32));
    QCOMPARE(w.scene()->items().size(), 1);

    // A drawing on the picture: the recent project asks first; Cancel stops.
    w.scene()->addItem(new QGraphicsLineItem(0, 0, 10, 10));
    watcher.answerMessageBox(QMessageBox::Cancel);
    w.recentProjectActs().first()->trigger();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(), QStringLiteral("Whether to save the changes?"));
    QVERIFY(!readingInProgress);
    QCOMPARE(w.scene()->items().size(), 2);

    // Abort: the project opens and its first page is read.
    watcher.answerMessageBox(QMessageBox::Abort);
    w.recentProjectActs().first()->trigger();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 2);
    QCOMPARE(ProjectInfo::instance()->projectPath(), project);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 3);

    // The slots do nothing without a sending action.
    w.openRecentFile();
    w.openRecentProject();
    QCOMPARE(watcher.count(), 2);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 3);
}

void TestRecentLists::everyWindowSeesTheProjectList()
{
    const QString project = ShellTest::makeProject(m_dir, QStringLiteral("shared.prj"), {QStringLiteral("--to"), QStringLiteral("1")});
    QVERIFY(!project.isEmpty());
    MainWindow first;
    MainWindow second;
    QVERIFY(!second.recentProjectActs().first()->isVisible());
    first.openProjectFile(project);
    SHELL_WAIT_READ(&first);
    QVERIFY(second.recentProjectActs().first()->isVisible());
    QCOMPARE(second.recentProjectActs().first()->data().toString(), project);
}

void TestRecentLists::recentPictureAsksBeforeDroppingDrawings()
{
    QImage picture(48, 24, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString pic = m_dir.filePath(QStringLiteral("drawn.png"));
    QVERIFY(picture.save(pic, "PNG"));
    Settings::addRecent(Settings::kRecentFileList, pic);

    MainWindow w;
    ModalWatcher watcher;
    // Nothing drawn: no question.
    w.recentFileActs().first()->trigger();
    QCOMPARE(watcher.count(), 0);
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 48, 24));

    // A drawing: Cancel keeps it, the picture is not opened again.
    auto *drawing = new QGraphicsLineItem(0, 0, 10, 10);
    w.scene()->addItem(drawing);
    watcher.answerMessageBox(QMessageBox::Cancel);
    w.recentFileActs().first()->trigger();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(), QStringLiteral("Whether to save the changes?"));
    QVERIFY(w.scene()->items().contains(drawing));
    QCOMPARE(w.scene()->items().size(), 2);

    // Abort drops it and opens the picture.
    watcher.answerMessageBox(QMessageBox::Abort);
    w.recentFileActs().first()->trigger();
    QCOMPARE(watcher.count(), 2);
    QCOMPARE(w.scene()->items().size(), 1);
    QCOMPARE(w.scene()->baseItemCount(), 1);
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
    w.openProjectFile(good);
    SHELL_WAIT_READ(&w);
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
    QVERIFY(image.save(gone, "JPG"));
    const char *key = picture ? Settings::kRecentFileList : Settings::kRecentProjectList;
    Settings::addRecent(key, gone);

    MainWindow w;
    ModalWatcher watcher;
    w.openProjectFile(open);
    SHELL_WAIT_READ(&w);
    QVERIFY(QFile::remove(gone));
    watcher.answerMessageBox(QMessageBox::Ok);
    QAction *entry = (picture ? w.recentFileActs() : w.recentProjectActs()).last();
    for (QAction *act : (picture ? w.recentFileActs() : w.recentProjectActs()))
        if (act->data().toString() == gone)
            entry = act;
    QCOMPARE(entry->data().toString(), gone);
    entry->trigger();
    QTRY_COMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(), message.arg(gone));
    QCOMPARE(ProjectInfo::instance()->projectPath(), open);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 3);
    QVERIFY(!Settings::readRecent(key).contains(gone));
    for (QAction *act : (picture ? w.recentFileActs() : w.recentProjectActs()))
        QVERIFY(!act->isVisible() || act->data().toString() != gone);
}

QTEST_MAIN(TestRecentLists)
#include "tst_recentlists.moc"
