// The main window as a whole: the unsaved-changes prompt (closing and page
// changes), deleting items, the tool bar seen through the window, the
// signals of its parts, the About box and the display settings, opening
// files, and the commands refused while a project is converted.

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QGraphicsLineItem>
#include <QImageReader>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include "correctiondialog.h"
#include "fileinfowidget.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicsview.h"
#include "itemstyle.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "mode.h"
#include "mouselabel.h"
#include "projectinfo.h"
#include "projectinfodialog.h"
#include "settings.h"
#include "shelltestsupport.h"
#include "toolbar.h"

namespace {

QList<QAction *> checkedTools(ToolBar *bar)
{
    QList<QAction *> checked;
    for (QAction *a : bar->toolGroupActions()) {
        if (a->isChecked())
            checked << a;
    }
    return checked;
}

template <typename T>
T *topLevel()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *t = qobject_cast<T *>(top))
            return t;
    }
    return nullptr;
}

// Depth and row count of every piece of a project, top to bottom.
QList<QPair<int, int>> pieceRows(const QString &path)
{
    QList<QPair<int, int>> rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rows"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            q.exec(QStringLiteral("select id, data from bigImages order by id"));
            while (q.next()) {
                QByteArray data = q.value(1).toByteArray();
                QBuffer buffer(&data);
                QImageReader reader(&buffer, "JPG");
                rows << qMakePair(q.value(0).toInt(), reader.size().height());
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("rows"));
    return rows;
}

const char *const kRewriteRefusal = "The project file is being rewritten. Please wait until it is finished.";
const char *const kUnsaved = "Whether to save the changes?";
const char *const kNoProject = "Please open a project file first!";

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void closeWithoutDrawingsAsksNothing();
    void closeWithDrawingAsks_data();
    void closeWithDrawingAsks();
    void promptBeforePageChange();
    void deleteItems();
    void toolBarThroughTheWindow();
    void signalsReachTheirReceivers();
    void aboutBoxAndExit();
    void displaySettings();
    void openFileFromCommandLine();
    void openThroughTheFileDialogs();
    void cursorReadOut();
    void commandsRefusedWhileConverting();
    void cancelledOpenKeepsTheProject_data();
    void cancelledOpenKeepsTheProject();
    void titleAndScaleFollowTheOpenFile();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
};

void TestMainWindow::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
    m_project = ShellTest::makeProject(m_dir, QStringLiteral("p.prj"), {QStringLiteral("--to"), QStringLiteral("10")});
    QVERIFY(!m_project.isEmpty());
}

void TestMainWindow::init()
{
    ReadBigImageThread::setPieceDelay(0);
    QVERIFY(!readingInProgress);
    currentMode = Pointer;
    ItemStyle::instance()->setGridVisible(false);
}

void TestMainWindow::closeWithoutDrawingsAsksNothing()
{
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);
    QVERIFY(w.close());
    QCOMPARE(watcher.count(), 0);

    MainWindow empty;
    QVERIFY(empty.close());
    QCOMPARE(watcher.count(), 0);
}

void TestMainWindow::closeWithDrawingAsks_data()
{
    QTest::addColumn<bool>("closeAction"); // File > Close, else closing the window
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("window: Cancel keeps it") << false << int(QMessageBox::Cancel) << false << 1;
    QTest::newRow("window: Abort closes without saving") << false << int(QMessageBox::Abort) << true << 1;
    // Save runs the save flow; when the drawings were not saved (here the
    // file dialog is cancelled) the window stays open with them.
    QTest::newRow("window: Save that did not save keeps it") << false << int(QMessageBox::Save) << false << 2;
    QTest::newRow("Close: Cancel keeps the page and the drawing") << true << int(QMessageBox::Cancel) << false << 1;
    QTest::newRow("Close: Abort closes") << true << int(QMessageBox::Abort) << true << 1;
}

void TestMainWindow::closeWithDrawingAsks()
{
    QFETCH(bool, closeAction);
    QFETCH(int, button);
    QFETCH(bool, closes);
    QFETCH(int, dialogs);

    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);
    auto *drawing = new QGraphicsLineItem(1400, 200, 1500, 300);
    w.scene()->addItem(drawing);

    watcher.answerMessageBox(QMessageBox::StandardButton(button));
    watcher.answerFileDialog(QString());
    if (closeAction)
        w.closeAct()->trigger();
    else
        QCOMPARE(w.close(), closes);
    QCOMPARE(watcher.count(), dialogs);
    QCOMPARE(watcher.texts().first(), QString::fromLatin1(kUnsaved));
    // Whatever the answer, a window that stays open still has the drawing.
    if (!closes)
        QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount() + 1);
    if (closeAction) {
        QCOMPARE(w.scene()->items().contains(drawing), !closes);
        QCOMPARE(ShellTest::pageImages(w.scene()).isEmpty(), closes);
        QCOMPARE(ProjectInfo::instance()->projectPath().isEmpty(), closes);
    }
}

void TestMainWindow::promptBeforePageChange()
{
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);
    ProjectInfo *info = ProjectInfo::instance();
    auto *drawing = new QGraphicsLineItem(1400, 200, 1500, 300);
    w.scene()->addItem(drawing);

    // Cancel: the page and the drawing stay.
    watcher.answerMessageBox(QMessageBox::Cancel);
    w.handleNextImages();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(), QString::fromLatin1(kUnsaved));
    QVERIFY(!readingInProgress);
    QCOMPARE(info->pageStart(), 0);
    QVERIFY(w.scene()->items().contains(drawing));

    // The same for Go.
    watcher.answerMessageBox(QMessageBox::Cancel);
    w.handleGoPressed();
    QCOMPARE(watcher.count(), 2);
    QVERIFY(w.scene()->items().contains(drawing));

    // Abort: the drawing is dropped and the next page read.
    watcher.answerMessageBox(QMessageBox::Abort);
    w.handleNextImages();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 3);
    QCOMPARE(info->pageStart(), 50000);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 5);
    QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount());

    // A fresh page asks nothing.
    w.handleLastImages();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 3);
    QCOMPARE(info->pageStart(), 0);
}

void TestMainWindow::deleteItems()
{
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);
    const int pageItems = w.scene()->items().size();

    auto *a = new QGraphicsLineItem(1400, 200, 1500, 300);
    auto *b = new QGraphicsLineItem(1400, 400, 1500, 500);
    auto *label = new QGraphicsSimpleTextItem(QStringLiteral("label"), b);
    for (QGraphicsItem *item : {static_cast<QGraphicsItem *>(a), static_cast<QGraphicsItem *>(b),
                                static_cast<QGraphicsItem *>(label)})
        item->setFlag(QGraphicsItem::ItemIsSelectable);
    w.scene()->addItem(a);
    w.scene()->addItem(b);
    QCOMPARE(w.scene()->items().size(), pageItems + 3);

    // Nothing selected: nothing changes.
    w.deleteItem();
    QCOMPARE(w.scene()->items().size(), pageItems + 3);

    // A line and its selected label go together (the label only once).
    b->setSelected(true);
    label->setSelected(true);
    w.deleteItem();
    QCOMPARE(w.scene()->items().size(), pageItems + 1);
    QVERIFY(w.scene()->items().contains(a));
    QVERIFY(!w.scene()->mouseGrabberItem());

    // Through the tool bar's command.
    a->setSelected(true);
    emit w.toolBar()->signalDeleteItem();
    QCOMPARE(w.scene()->items().size(), pageItems);
    // Back to the page as loaded: closing asks nothing.
    QVERIFY(w.close());
    QCOMPARE(watcher.count(), 0);
}

// The tool bar's own rules are in tst_toolbar; here what the window adds.
void TestMainWindow::toolBarThroughTheWindow()
{
    MainWindow w;
    ModalWatcher watcher;
    ToolBar *bar = w.toolBar();
    QAction *line = bar->toolAction(ToolBar::Line);

    // Grid lines are shown through the scene; the command keeps no check mark.
    line->trigger();
    bar->toolAction(ToolBar::GridLines)->trigger();
    QVERIFY(ItemStyle::instance()->gridVisible());
    QCOMPARE(checkedTools(bar), QList<QAction *>{line});

    // A finished item ends the tool.
    emit w.scene()->itemInserted(nullptr);
    QCOMPARE(currentMode, Pointer);
    QVERIFY(checkedTools(bar).isEmpty());

    // Closing the picture unchecks the tool and hides the grid.
    bar->toolAction(ToolBar::Ruler)->trigger();
    QCOMPARE(currentMode, InsertRuler);
    w.closePicture();
    QVERIFY(checkedTools(bar).isEmpty());
    QCOMPARE(currentMode, Pointer);
    QVERIFY(!ItemStyle::instance()->gridVisible());
    QCOMPARE(watcher.count(), 0);
}

void TestMainWindow::signalsReachTheirReceivers()
{
    MainWindow w;
    ModalWatcher watcher;
    ToolBar *bar = w.toolBar();
    ProjectInfo::instance()->reset();

    // Tool bar -> window, without a page or project: each command says why
    // it does nothing. The 3D view also releases the tool bar's action.
    bar->editAction(ToolBar::Show3D)->setChecked(true);
    struct Command {
        void (ToolBar::*signal)();
        const char *text;
    };
    const Command commands[] = {
        {&ToolBar::signalShowCurrent3DImage, "no Image!"},
        {&ToolBar::exportReportBtnPressed, "None Project!"},
        {&ToolBar::projectInfoPressed, kNoProject},
    };
    int seen = 0;
    for (const Command &command : commands) {
        watcher.acceptNext();
        emit (bar->*command.signal)();
        QCOMPARE(watcher.count(), ++seen);
        QCOMPARE(watcher.texts().last(), QString::fromLatin1(command.text));
    }
    QVERIFY(!bar->editAction(ToolBar::Show3D)->isChecked());
    // Corrections: the dialog made with the window, shown not modal.
    emit bar->correctionsBtnPressed();
    QCOMPARE(watcher.count(), seen);
    CorrectionDialog *corrections = topLevel<CorrectionDialog>();
    QVERIFY(corrections && corrections->isVisible() && !corrections->isModal());
    corrections->close();
    // The two correction buttons of the tool bar are not the window's.
    emit bar->magneticDeclinationCorrectionBtnPressed();
    emit bar->diameterCorrectionBtnPressed();
    QCOMPARE(watcher.count(), seen);

    // Open dialogs.
    watcher.answerFileDialog(QString());
    emit bar->signalOpenProject();
    QCOMPARE(watcher.count(), ++seen);
    QCOMPARE(watcher.titles().last(), QStringLiteral("Open project file"));
    watcher.answerFileDialog(QString());
    emit bar->signalOpenPicture();
    QCOMPARE(watcher.count(), ++seen);
    QCOMPARE(watcher.titles().last(), QStringLiteral("Open Picture"));

    // Grid lines switch through the scene.
    const bool grid = ItemStyle::instance()->gridVisible();
    emit bar->NotifyShowGridLines();
    QCOMPARE(ItemStyle::instance()->gridVisible(), !grid);
    emit bar->NotifyShowGridLines();
    QCOMPARE(ItemStyle::instance()->gridVisible(), grid);

    // Navigation panel -> window: Go, Next and Previous want a project and
    // read nothing without one.
    for (void (FileInfoWidget::*signal)() : {&FileInfoWidget::goPressed,
                                             &FileInfoWidget::signalNextPressed,
                                             &FileInfoWidget::signalLastPressed}) {
        watcher.acceptNext();
        emit (w.fileInfoWidget()->*signal)();
        QCOMPARE(watcher.count(), ++seen);
        QCOMPARE(watcher.texts().last(), QString::fromLatin1(kNoProject));
        QVERIFY(!readingInProgress && !w.readThread());
    }

    // With a project: its information dialog, holding the record.
    SHELL_OPEN_PROJECT(&w, m_project);
    emit bar->projectInfoPressed();
    auto *info = topLevel<ProjectInfoDialog>();
    QVERIFY(info && info->isVisible());
    QCOMPARE(info->diameterEdit()->text(), QStringLiteral("100"));
    info->close();

    // Go reads the page again; Stop from the panel ends a read.
    ReadBigImageThread::setPieceDelay(200);
    emit w.fileInfoWidget()->goPressed();
    QVERIFY(readingInProgress);
    emit w.fileInfoWidget()->signalStopPressed();
    QVERIFY(!readingInProgress);
    QVERIFY(!w.readThread());
    ReadBigImageThread::setPieceDelay(0);
    QCOMPARE(watcher.count(), seen);
}

void TestMainWindow::aboutBoxAndExit()
{
    MainWindow w;
    ModalWatcher watcher;
    watcher.acceptNext();
    w.aboutAct()->trigger();
    QCOMPARE(watcher.count(), 1);
    QVERIFY(watcher.texts().first().contains(QStringLiteral("KORA")));

    // Exit closes the window (nothing drawn, so no question).
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.exitAct()->trigger();
    QVERIFY(!w.isVisible());
    QCOMPARE(watcher.count(), 1);
}

void TestMainWindow::displaySettings()
{
    MainWindow w;
    ModalWatcher watcher;
    ItemStyle::instance()->setGridSize(10, 10);

    // Cancel changes nothing.
    watcher.answer([](QWidget *dialog) { static_cast<QDialog *>(dialog)->reject(); });
    w.OnDisplaySetting();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(w.gridSizeIndex(), 0);
    QCOMPARE(ItemStyle::instance()->gridSize(), QSize(10, 10));

    // "50*50" accepted: the grid cell becomes 50 x 50 mm.
    QString shown;
    watcher.answer([&shown](QWidget *dialog) {
        auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("cmbBoxGridLines"));
        QVERIFY(combo);
        shown = combo->currentText();
        combo->setCurrentIndex(2);
        auto *box = dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"));
        QVERIFY(box);
        box->button(QDialogButtonBox::Ok)->click();
    });
    w.OnDisplaySetting();
    QCOMPARE(watcher.count(), 2);
    QCOMPARE(shown, QStringLiteral("10*10"));
    QCOMPARE(w.gridSizeIndex(), 2);
    QCOMPARE(ItemStyle::instance()->gridSize(), QSize(50, 50));
}

void TestMainWindow::openFileFromCommandLine()
{
    MainWindow w;
    ModalWatcher watcher;
    // A project, whatever the case of its suffix.
    const QString caps = ShellTest::makeProject(m_dir, QStringLiteral("CAPS.PRJ"), {QStringLiteral("--to"), QStringLiteral("2")});
    QVERIFY(!caps.isEmpty());
    w.openFile(caps);
    SHELL_WAIT_READ(&w);
    QCOMPARE(ProjectInfo::instance()->projectPath(), caps);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 2);

    // A picture.
    const QString pic = ShellTest::savePicture(m_dir, QStringLiteral("cmd.jpg"), {30, 20}, Qt::yellow);
    QVERIFY(!pic.isEmpty());
    w.openFile(pic);
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 30, 20));
    QCOMPARE(watcher.count(), 0);

    // A missing file is reported and not created.
    const QString missing = m_dir.filePath(QStringLiteral("missing.prj"));
    watcher.acceptNext();
    w.openFile(missing);
    QCOMPARE(watcher.count(), 1);
    QVERIFY(watcher.texts().first().contains(QStringLiteral("does not exist")));
    QVERIFY(!QFile::exists(missing));
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 30, 20));
}

void TestMainWindow::openThroughTheFileDialogs()
{
    MainWindow w;
    ModalWatcher watcher;
    Settings::instance()->setProjectDir(m_project);

    // (Cancelled dialogs: cancelledOpenKeepsTheProject.)
    watcher.answerFileDialog(m_project);
    w.toolBar()->fileAction(ToolBar::OpenProject)->trigger();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(ProjectInfo::instance()->projectPath(), m_project);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 5);

    // A picture through its dialog, after the question about a drawing.
    const QString pic = ShellTest::savePicture(m_dir, QStringLiteral("dialog.jpg"), {40, 30}, Qt::magenta);
    QVERIFY(!pic.isEmpty());
    w.scene()->addItem(new QGraphicsLineItem(1400, 200, 1500, 300));
    // (A start location naming another file would be preselected by the
    // dialog once its folder has loaded; start in the folder itself.)
    Settings::instance()->setOpenPicDir(m_dir.path());
    watcher.answerMessageBox(QMessageBox::Abort);
    watcher.answerFileDialog(pic);
    w.toolBar()->fileAction(ToolBar::OpenPicture)->trigger();
    QCOMPARE(watcher.count(), 3);
    QCOMPARE(watcher.classNames().at(2), QStringLiteral("QFileDialog"));
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 40, 30));
    QVERIFY(ProjectInfo::instance()->projectPath().isEmpty());
    QCOMPARE(Settings::instance()->openPicDir(), pic);
}

void TestMainWindow::cursorReadOut()
{
    const QString wide = ShellTest::makeProject(
        m_dir, QStringLiteral("readout.prj"),
        {QStringLiteral("--from"), QStringLiteral("3"), QStringLiteral("--to"), QStringLiteral("6"),
         QStringLiteral("--width"), QStringLiteral("1000")});
    QVERIFY(!wide.isEmpty());
    MainWindow w;
    w.resize(800, 600);
    SHELL_OPEN_PROJECT(&w, wide);
    w.fileInfoWidget()->setStartValue(3);
    w.handleGoPressed();
    SHELL_WAIT_READ(&w);
    QCOMPARE(w.leftScale()->startDepth(), 30000.0);

    // The view reports a move; the read-out shows depth and azimuth there.
    GraphicsView *view = w.view();
    view->setTransform(QTransform()); // one scene unit per pixel
    view->centerOn(1300 + 250, 120 + 100);
    const QPoint at = view->mapFromScene(QPointF(1300 + 250, 120));
    const QPointF scenePos = view->mapToScene(at);
    QMouseEvent move(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    emit view->mouseMoved(&move);

    MouseLabel *label = MouseLabel::instance();
    QCOMPARE(label->widthPx(), 1000);
    QCOMPARE(qRound(scenePos.x()), 1550);
    QCOMPARE(qRound(scenePos.y()), 120);
    // Top of the column: the page start, 3 m; a quarter round: east, 90 degrees.
    QVERIFY2(label->text().contains(QStringLiteral("3.000")), qPrintable(label->text()));
    QVERIFY2(label->text().contains(QStringLiteral("E90")), qPrintable(label->text()));
}

void TestMainWindow::commandsRefusedWhileConverting()
{
    // Two identical upward projects: one converted undisturbed, one while
    // the user tries to close, open and page.
    const QStringList up{QStringLiteral("--to"), QStringLiteral("20"), QStringLiteral("--direction"),
                         QStringLiteral("up")};
    const QString calm = ShellTest::makeProject(m_dir, QStringLiteral("calm.prj"), up);
    const QString busy = ShellTest::makeProject(m_dir, QStringLiteral("busy.prj"), up);
    QVERIFY(!calm.isEmpty() && !busy.isEmpty());
    const QString pic = ShellTest::savePicture(m_dir, QStringLiteral("during.jpg"), {20, 20}, Qt::green);
    QVERIFY(!pic.isEmpty());
    Settings::addRecent(Settings::kRecentFileList, pic);
    Settings::addRecent(Settings::kRecentProjectList, m_project);

    {
        MainWindow w;
        ModalWatcher watcher;
        SHELL_OPEN_PROJECT(&w, calm);
        QCOMPARE(watcher.count(), 0);
    }
    const QList<QPair<int, int>> expected = pieceRows(calm);
    QVERIFY(expected.size() >= 19);

    MainWindow w;
    ModalWatcher watcher;
    w.updateRecentFileActions();
    w.updateRecentProjectActions();
    const QList<std::function<void()>> commands{
        [&w] { w.closeAct()->trigger(); },
        [&w] { w.toolBar()->fileAction(ToolBar::OpenPicture)->trigger(); },
        [&w] { w.toolBar()->fileAction(ToolBar::OpenProject)->trigger(); },
        [&w] { w.recentFileActs().first()->trigger(); },
        [&w] { w.recentProjectActs().first()->trigger(); },
        [&w] { emit w.fileInfoWidget()->goPressed(); },
        [&w] { emit w.fileInfoWidget()->signalNextPressed(); },
        [&w] { emit w.fileInfoWidget()->signalLastPressed(); },
    };
    bool tried = false;
    QTimer meanwhile;
    connect(&meanwhile, &QTimer::timeout, [&] {
        if (tried || !w.rewriteRunning())
            return;
        tried = true;
        for (const std::function<void()> &command : commands) {
            watcher.answerMessageBox(QMessageBox::Ok);
            command();
        }
    });
    meanwhile.start(1);
    w.openProjectFile(busy);
    meanwhile.stop();
    SHELL_WAIT_READ(&w);
    QVERIFY(tried);

    // Each command said why it did nothing ...
    QCOMPARE(watcher.count(), commands.size());
    for (const QString &text : watcher.texts())
        QCOMPARE(text, QString::fromLatin1(kRewriteRefusal));
    // ... and the conversion went on to the end: the project is open at its
    // first page and its pieces are those of an undisturbed conversion.
    QCOMPARE(ProjectInfo::instance()->projectPath(), busy);
    QCOMPARE(ProjectInfo::instance()->direction(), QStringLiteral("down"));
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 5);
    QCOMPARE(pieceRows(busy), expected);
}

void TestMainWindow::cancelledOpenKeepsTheProject_data()
{
    QTest::addColumn<int>("command");
    QTest::newRow("Open picture") << int(ToolBar::OpenPicture);
    QTest::newRow("Open project") << int(ToolBar::OpenProject);
}

void TestMainWindow::cancelledOpenKeepsTheProject()
{
    QFETCH(int, command);
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);
    const int pageItems = w.scene()->items().size();

    // While the file dialog is up, and after Cancel, nothing has changed.
    bool pageDuringDialog = false;
    watcher.answer([&](QWidget *dialog) {
        pageDuringDialog = !ProjectInfo::instance()->projectPath().isEmpty()
            && w.scene()->items().size() == pageItems;
        static_cast<QDialog *>(dialog)->reject();
    });
    w.toolBar()->fileAction(ToolBar::FileIndex(command))->trigger();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.classNames().first(), QStringLiteral("QFileDialog"));
    QVERIFY(pageDuringDialog);
    QCOMPARE(ProjectInfo::instance()->projectPath(), m_project);
    QCOMPARE(w.scene()->items().size(), pageItems);
}

void TestMainWindow::titleAndScaleFollowTheOpenFile()
{
    MainWindow w;
    ModalWatcher watcher;
    QCOMPARE(w.windowTitle(), QStringLiteral("KORA"));
    SHELL_OPEN_PROJECT(&w, m_project);
    QCOMPARE(w.windowTitle(), QStringLiteral("p.prj - KORA"));
    QVERIFY(pixelsPerUnit > 0.0);

    const QString pic = ShellTest::savePicture(m_dir, QStringLiteral("titled.png"), {10, 10}, Qt::red);
    QVERIFY(!pic.isEmpty());
    w.openPictureFile(pic);
    QCOMPARE(w.windowTitle(), QStringLiteral("titled.png - KORA"));
    QCOMPARE(w.scene()->items().size(), 1);
    // Lengths drawn on a picture are in pixels, not in the project's metres
    // (the label that says so: tst_measurementlabels).
    QCOMPARE(pixelsPerUnit, 0.0);

    // File > Close empties the window.
    w.closeAct()->trigger();
    QCOMPARE(w.windowTitle(), QStringLiteral("KORA"));
    QCOMPARE(w.scene()->items().size(), 0);
    QCOMPARE(watcher.count(), 0);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
