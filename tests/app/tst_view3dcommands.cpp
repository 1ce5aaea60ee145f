// KORA_TEST_NEEDS_OPENGL
// The main window's roll and 3D commands: the 3D window's pictures live in a
// private folder while it is open and are gone after it closes; the roll
// window's Previous and Next are clamped at the project's ends; a failed
// texture or picture is reported.

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "globals.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "main3dwindow.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "projectinfo.h"
#include "rangedialog.h"
#include "rollwidget.h"
#include "scrollarea.h"
#include "settings.h"
#include "shelltestsupport.h"
#include "toolbar.h"

namespace {

template <typename T>
QList<T *> topLevels()
{
    QList<T *> found;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *t = qobject_cast<T *>(w))
            found << t;
    }
    return found;
}

} // namespace

class TestView3DCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void show3DKeepsItsPicturesWhileOpen();
    void show3DWithoutFolderReportsAndOpensNothing();
    void rollRangeAndItsNeighbours();
    void rollSaveAndTextureFailure();
    void rollProposalKeysAndEscape();

private:
    void openProject(MainWindow &w);
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
};

void TestView3DCommands::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
    // 0 m to 10 m; the first page is 0 m to 5 m.
    m_project = ShellTest::makeProject(m_dir, QStringLiteral("well-7.prj"), {QStringLiteral("--to"), QStringLiteral("10")});
    QVERIFY(!m_project.isEmpty());
}

void TestView3DCommands::cleanup()
{
    RollWidget::setTextureSizeLimit(0);
    qunsetenv("TMPDIR");
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<Main3DWindow *>(w) || qobject_cast<ScrollArea *>(w))
            w->close();
    }
    QTest::qWait(0);
}

void TestView3DCommands::openProject(MainWindow &w)
{
    SHELL_OPEN_PROJECT(&w, m_project);
    QCOMPARE(ProjectInfo::instance()->pageEnd(), 50000);
}

void TestView3DCommands::show3DKeepsItsPicturesWhileOpen()
{
    MainWindow w;
    ModalWatcher watcher;
    openProject(w);
    QAction *show3D = w.toolBar()->editAction(ToolBar::Show3D);
    show3D->trigger();
    QCOMPARE(watcher.count(), 0);
    const QList<Main3DWindow *> windows = topLevels<Main3DWindow>();
    QCOMPARE(windows.size(), 1);
    Main3DWindow *window = windows.first();
    QVERIFY(window->isVisible());
    QVERIFY(window->windowTitle().contains(QStringLiteral("well-7")));
    QVERIFY(window->windowTitle().contains(QStringLiteral("0.00 m - 5.00 m")));

    // Page, depth ruler and azimuth ruler, in a folder of their own outside
    // the program's folder.
    const QStringList files = window->fileList();
    QCOMPARE(files.size(), 3);
    const QString folder = QFileInfo(files[0]).absolutePath();
    QVERIFY(folder.startsWith(QDir::tempPath()));
    QVERIFY(!folder.startsWith(QCoreApplication::applicationDirPath()));
    for (const QString &file : files) {
        QCOMPARE(QFileInfo(file).absolutePath(), folder);
        QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    }
    // The page image is the image column of the whole page.
    const QImage page(files[0]);
    const int column = int(w.scene()->sceneRect().width()) - 2600;
    QCOMPARE(page.width(), column);
    QCOMPARE(page.height(), int(w.leftScale()->depthToY(50000)) - int(w.leftScale()->depthToY(0)));
    QCOMPARE(QImage(files[2]).size(), QSize(column, 120));

    // Closing removes the pictures and the folder, and releases the action.
    QVERIFY(window->close());
    for (const QString &file : files)
        QVERIFY2(!QFileInfo::exists(file), qPrintable(file));
    QVERIFY(!QFileInfo::exists(folder));
    QVERIFY(!show3D->isChecked());
    QVERIFY(show3D->isEnabled());
    QCOMPARE(watcher.count(), 0);
}

void TestView3DCommands::show3DWithoutFolderReportsAndOpensNothing()
{
    MainWindow w;
    ModalWatcher watcher;
    openProject(w);
    qputenv("TMPDIR", m_dir.filePath(QStringLiteral("no/such/folder")).toLocal8Bit());
    watcher.acceptNext();
    w.toolBar()->editAction(ToolBar::Show3D)->trigger();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().last(), QStringLiteral("Image is too big to save, Please chose a smaller page!"));
    QVERIFY(topLevels<Main3DWindow>().isEmpty());
    QVERIFY(!w.toolBar()->editAction(ToolBar::Show3D)->isChecked());
}

void TestView3DCommands::rollRangeAndItsNeighbours()
{
    MainWindow w;
    ModalWatcher watcher;
    openProject(w);
    // 1.5 m to 3 m of the page.
    w.handleRollRangeGetted(15000.0, 30000.0);
    auto *area = qobject_cast<ScrollArea *>(w.rollView());
    QVERIFY(area);
    QVERIFY(area->isVisible());
    QCOMPARE(area->rangeStart(), 15000);
    QCOMPARE(area->rangeEnd(), 30000);
    QVERIFY(area->windowTitle().contains(QStringLiteral("1.50 m - 3.00 m")));
    // Column rows of the range under the 120-row azimuth band.
    const int y1 = int(w.leftScale()->depthToY(15000));
    const int y2 = int(w.leftScale()->depthToY(30000));
    QCOMPARE(area->rollWidget()->image().size(),
             QSize(int(w.scene()->sceneRect().width()) - 2600, y2 - y1 + 120));

    struct Step {
        QPushButton *button;
        int start;
        int end;
    };
    const Step steps[] = {
        {area->nextButton(), 30000, 45000},
        {area->previousButton(), 15000, 30000},
        {area->previousButton(), 0, 15000},
        {area->previousButton(), 0, 15000}, // above the top: nothing left
    };
    for (const Step &step : steps) {
        watcher.acceptNext();
        QTest::mouseClick(step.button, Qt::LeftButton);
        QCOMPARE(area->rangeStart(), step.start);
        QCOMPARE(area->rangeEnd(), step.end);
    }
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().last(), QStringLiteral("No picture!"));

    // Near the end of the page on screen (0 m - 5 m of a 10 m project) the
    // range is cut to the page; past it the rows are not on screen, and the
    // roll says so instead of rolling blank rows.
    watcher.clear();
    area->setRange(30000, 45000);
    QTest::mouseClick(area->nextButton(), Qt::LeftButton);
    QCOMPARE(area->rangeStart(), 45000);
    QCOMPARE(area->rangeEnd(), 50000);
    QCOMPARE(area->rangeLength(), 5000);
    QCOMPARE(area->rollWidget()->image().height(),
             int(w.leftScale()->depthToY(50000)) - int(w.leftScale()->depthToY(45000)) + 120);
    watcher.acceptNext();
    QTest::mouseClick(area->nextButton(), Qt::LeftButton);
    QCOMPARE(area->rangeStart(), 45000);
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().last(),
             QStringLiteral("The roll view shows the page on screen (0.00 m - 5.00 m). Go to the page of the range first."));
    watcher.acceptNext();
    const QWidget *before = w.rollView();
    w.handleRollRangeGetted(60000.0, 70000.0);
    QCOMPARE(watcher.count(), 2);
    QCOMPARE(w.rollView(), before);

    // A later roll window does not take the neighbours of the first one.
    w.handleRollRangeGetted(0.0, 10000.0);
    QVERIFY(w.rollView() != area);
    QTest::mouseClick(area->previousButton(), Qt::LeftButton);
    QCOMPARE(area->rangeStart(), 40000);
    QCOMPARE(qobject_cast<ScrollArea *>(w.rollView())->rangeStart(), 0);
}

void TestView3DCommands::rollSaveAndTextureFailure()
{
    MainWindow w;
    ModalWatcher watcher;
    openProject(w);
    w.handleRollRangeGetted(10000.0, 20000.0);
    auto *area = qobject_cast<ScrollArea *>(w.rollView());
    QVERIFY(area);
    if (!QTest::qWaitForWindowExposed(area) || area->rollWidget()->grabFramebuffer().isNull())
        QSKIP("No OpenGL context on this platform (run through CTest, which uses xvfb-run)");

    // Save writes the view; a cancelled dialog keeps the remembered name.
    const QString target = m_dir.filePath(QStringLiteral("roll.png"));
    watcher.answerFileDialog(target);
    QTest::mouseClick(area->saveButton(), Qt::LeftButton);
    QTRY_VERIFY(QFileInfo::exists(target));
    QVERIFY(!QImage(target).isNull());
    QCOMPARE(Settings::instance()->savePicDir(), target);
    watcher.answerFileDialog(QString());
    QTest::mouseClick(area->saveButton(), Qt::LeftButton);
    QCOMPARE(Settings::instance()->savePicDir(), target);

    // A texture the GL cannot take ends in the range message.
    watcher.clear();
    RollWidget::setTextureSizeLimit(1);
    watcher.acceptNext();
    QTest::mouseClick(area->nextButton(), Qt::LeftButton);
    area->rollWidget()->grabFramebuffer();
    QTRY_COMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().last(), QStringLiteral("Range is too big.Please input a smaller range!"));
}

void TestView3DCommands::rollProposalKeysAndEscape()
{
    MainWindow w;
    ModalWatcher watcher;
    openProject(w);
    // Roll proposes the page on screen (0 m - 5 m), cut to 2 m.
    QStringList proposed;
    watcher.answer([&proposed](QWidget *dialog) {
        if (auto *range = qobject_cast<RangeDialog *>(dialog))
            proposed << range->startEdit()->text() << range->endEdit()->text();
        if (auto *d = qobject_cast<QDialog *>(dialog))
            d->reject();
    });
    w.roll();
    QCOMPARE(proposed, QStringList({"0", "2"}));
    watcher.clear();

    w.handleRollRangeGetted(10000.0, 20000.0);
    QPointer<ScrollArea> area = qobject_cast<ScrollArea *>(w.rollView());
    QVERIFY(area);
    RollWidget *view = area->rollWidget();
    // After a click on Next the keys still go to the view, not to the buttons.
    QTest::mouseClick(area->nextButton(), Qt::LeftButton);
    QCOMPARE(area->rangeStart(), 20000);
    QWidget *keys = area->focusWidget();
    QCOMPARE(keys, static_cast<QWidget *>(view));
    const float x = view->xTranslation();
    QTest::keyClick(keys, Qt::Key_Left);
    QCOMPARE(view->xTranslation(), x - 0.5f);
    const float roll = view->xRotation();
    QTest::keyClick(keys, Qt::Key_Up);
    QVERIFY(view->xRotation() != roll);
    QTest::keyClick(keys, Qt::Key_Escape);
    QTRY_VERIFY(area.isNull());
    QCOMPARE(watcher.count(), 0);
}

QTEST_MAIN(TestView3DCommands)
#include "tst_view3dcommands.moc"
