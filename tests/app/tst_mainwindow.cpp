// The main window as a whole: the unsaved-changes prompt (closing and page
// changes), deleting items, the tool bar seen through the window, the menus,
// the About box and the display settings.

#include <QAction>
#include <QFile>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QGraphicsLineItem>
#include <QMenu>
#include <QMetaMethod>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QtTest>

#include "graphicsscene.h"
#include "itemstyle.h"
#include "correctiondialog.h"
#include "mainwindow.h"
#include "picklistdock.h"
#include "structurepickcontroller.h"
#include "modalwatcher.h"
#include "mode.h"
#include "projectinfo.h"
#include "projectinfodialog.h"
#include "settings.h"
#include "graphicsview.h"
#include "graphicsleftscaleitem.h"
#include "mouselabel.h"
#include "fileinfowidget.h"
#include <QMouseEvent>
#include <QLineEdit>
#include <QBuffer>
#include <QImageReader>
#include <QSqlDatabase>
#include <QSqlQuery>
#include "shelltestsupport.h"
#include "toolbar.h"

namespace {

QStringList actionTexts(const QMenu *menu)
{
    QStringList texts;
    for (QAction *a : menu->actions())
        texts << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return texts;
}

QList<QAction *> checkedTools(ToolBar *bar)
{
    QList<QAction *> checked;
    for (QAction *a : bar->toolGroupActions()) {
        if (a->isChecked())
            checked << a;
    }
    return checked;
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
    void toolChangeRefusedWhileReading();
    void menus();
    void interfaceInDeclaredOrder();
    void constructionAndWindowActions();
    void signalsReachTheirReceivers();
    void aboutBox();
    void displaySettings();
    void commandsOfOtherWindows();
    void openFileFromCommandLine();
    void openThroughTheFileDialogs();
    void pictureForgetsTheProjectScale();
    void cursorReadOut();
    void commandsRefusedWhileConverting();
    void closeAsksFirst_data();
    void closeAsksFirst();
    void cancelledOpenKeepsTheProject_data();
    void cancelledOpenKeepsTheProject();
    void titleNamesTheOpenFile();

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
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
    QVERIFY(w.close());
    QCOMPARE(watcher.count(), 0);

    MainWindow empty;
    QVERIFY(empty.close());
    QCOMPARE(watcher.count(), 0);
}

void TestMainWindow::closeWithDrawingAsks_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("dialogs");
    QTest::newRow("Cancel keeps the window") << int(QMessageBox::Cancel) << false << 1;
    QTest::newRow("Abort closes without saving") << int(QMessageBox::Abort) << true << 1;
    // Save runs the save flow; when the drawings were not saved (here the
    // file dialog is cancelled) the window stays open with them.
    QTest::newRow("Save that did not save keeps the window") << int(QMessageBox::Save) << false << 2;
}

void TestMainWindow::closeWithDrawingAsks()
{
    QFETCH(int, button);
    QFETCH(bool, closes);
    QFETCH(int, dialogs);

    MainWindow w;
    ModalWatcher watcher;
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
    w.scene()->addItem(new QGraphicsLineItem(1400, 200, 1500, 300));

    watcher.answerMessageBox(QMessageBox::StandardButton(button));
    watcher.answerFileDialog(QString());
    QCOMPARE(w.close(), closes);
    QCOMPARE(watcher.count(), dialogs);
    QCOMPARE(watcher.texts().first(), QStringLiteral("Whether to save the changes?"));
    QCOMPARE(watcher.titles().first(), QStringLiteral("Warning"));
    // Whatever the answer, a window that stays open still has the drawing.
    if (!closes)
        QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount() + 1);
}

void TestMainWindow::promptBeforePageChange()
{
    MainWindow w;
    ModalWatcher watcher;
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
    ProjectInfo *info = ProjectInfo::instance();
    auto *drawing = new QGraphicsLineItem(1400, 200, 1500, 300);
    w.scene()->addItem(drawing);

    // Cancel: the page and the drawing stay.
    watcher.answerMessageBox(QMessageBox::Cancel);
    w.handleNextImages();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(), QStringLiteral("Whether to save the changes?"));
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
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
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

    a->setSelected(true);
    w.deleteItem();
    QCOMPARE(w.scene()->items().size(), pageItems);
    // Back to the page as loaded: closing asks nothing.
    QVERIFY(w.close());
    QCOMPARE(watcher.count(), 0);
}

void TestMainWindow::toolBarThroughTheWindow()
{
    MainWindow w;
    ModalWatcher watcher;
    ToolBar *bar = w.toolBar();
    QAction *pen = bar->toolAction(ToolBar::Pen);
    QAction *line = bar->toolAction(ToolBar::Line);
    QAction *grid = bar->toolAction(ToolBar::GridLines);

    pen->trigger();
    QCOMPARE(currentMode, InsertPen);
    QCOMPARE(checkedTools(bar), QList<QAction *>{pen});

    // The same tool again: back to Pointer, nothing checked.
    pen->trigger();
    QCOMPARE(currentMode, Pointer);
    QVERIFY(checkedTools(bar).isEmpty());

    // Pen, grid lines, then Line: only Line stays checked.
    pen->trigger();
    grid->trigger();
    // Grid lines are shown; the command itself keeps no check mark.
    QVERIFY(ItemStyle::instance()->gridVisible());
    QVERIFY(!grid->isChecked());
    line->trigger();
    QCOMPARE(currentMode, InsertLine);
    QCOMPARE(checkedTools(bar), QList<QAction *>{line});

    // A finished item ends the tool.
    emit w.scene()->itemInserted(nullptr);
    QCOMPARE(currentMode, Pointer);
    QVERIFY(checkedTools(bar).isEmpty());

    // Closing the picture unchecks the tool too.
    bar->toolAction(ToolBar::Ruler)->trigger();
    QCOMPARE(currentMode, InsertRuler);
    w.closePicture();
    QVERIFY(checkedTools(bar).isEmpty());
    QCOMPARE(currentMode, Pointer);
    QVERIFY(!ItemStyle::instance()->gridVisible());
    QCOMPARE(watcher.count(), 0);
}

void TestMainWindow::toolChangeRefusedWhileReading()
{
    ReadBigImageThread::setPieceDelay(100);
    MainWindow w;
    ModalWatcher watcher;
    w.openProjectFile(m_project);
    QVERIFY(readingInProgress);
    watcher.acceptNext();
    w.toolBar()->toolAction(ToolBar::Pen)->trigger();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(), QStringLiteral("Working now, Please Waiting!"));
    QCOMPARE(currentMode, Pointer);
    SHELL_WAIT_READ(&w);
}

void TestMainWindow::menus()
{
    MainWindow w;
    QCOMPARE(actionTexts(w.fileMenu()),
             (QStringList{QStringLiteral("Open project"), QStringLiteral("&Open picture"),
                          QStringLiteral("&current image"), QStringLiteral("save &Original image"),
                          QStringLiteral("Export"), QStringLiteral("Export &picks..."),
                          QStringLiteral("RecentFiles"),
                          QStringLiteral("RecentProjects"), QStringLiteral("|"),
                          QStringLiteral("C&lose"), QStringLiteral("E&xit")}));
    QCOMPARE(w.recentFilesMenu()->actions().size(), 5);
    QCOMPARE(w.recentProjectsMenu()->actions().size(), 5);
    QCOMPARE(actionTexts(w.editMenu()),
             (QStringList{QStringLiteral("&Roll"), QStringLiteral("&Delete"),
                          QStringLiteral("&Project Information"), QStringLiteral("&Correction"),
                          QStringLiteral("&Show 3D"), QStringLiteral("Structure &pick"),
                          QStringLiteral("&DisplaySetting"),
                          QStringLiteral("&Language")}));
    QCOMPARE(actionTexts(w.languageMenu()),
             (QStringList{QStringLiteral("&Chinese"), QStringLiteral("&English")}));
    // The tool bar's toggle first, then the pick list, wall contrast and structures commands.
    QCOMPARE(w.viewMenu()->actions().size(), 5);
    QCOMPARE(w.viewMenu()->actions().first(), w.toolBar()->toggleViewAction());
    QVERIFY(w.viewMenu()->actions().contains(w.structurePicks()->dock()->toggleViewAction()));
    for (const QString &text : {QStringLiteral("Wall contrast"), QStringLiteral("&Structures"),
                                QStringLiteral("Tadpole plot")})
        QVERIFY2(actionTexts(w.viewMenu()).contains(text), qPrintable(text));
    QCOMPARE(actionTexts(w.helpMenu()),
             (QStringList{QStringLiteral("User &guide"), QStringLiteral("&About")}));

    QCOMPARE(w.closeAct()->statusTip(), QStringLiteral("Close the picture"));
    QCOMPARE(w.exitAct()->shortcut(), QKeySequence(Qt::ALT + Qt::Key_F4));
    QCOMPARE(w.toolBar()->windowTitle(), QStringLiteral("Tools"));
    QCOMPARE(w.toolBarArea(w.toolBar()), Qt::LeftToolBarArea);

    // The File menu's close action empties the window.
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString path = m_dir.filePath(QStringLiteral("menu.jpg"));
    QVERIFY(picture.save(path, "JPG"));
    w.openPictureFile(path);
    QCOMPARE(w.scene()->items().size(), 1);
    w.closeAct()->trigger();
    QCOMPARE(w.scene()->items().size(), 0);
}

void TestMainWindow::interfaceInDeclaredOrder()
{
    const QMetaObject *meta = &MainWindow::staticMetaObject;
    QStringList signalList;
    QStringList slotList;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.methodType() == QMetaMethod::Signal)
            signalList << QString::fromLatin1(m.methodSignature());
        else if (m.methodType() == QMetaMethod::Slot && m.access() == QMetaMethod::Public)
            slotList << QString::fromLatin1(m.methodSignature());
    }
    QCOMPARE(signalList, (QStringList{QStringLiteral("signalThreadOver()"),
                                      QStringLiteral("NotifyPreviewEnd()"),
                                      QStringLiteral("NotifyLanguageChanged()")}));
    const QStringList expected{
        "openPicture()", "openRecentFile()", "openProject()", "openRecentProject()",
        "saveCurrentImage()", "saveCurrentImage(bool)", "saveAs()", "saveDrewImage()",
        "closePicture()", "deleteItem()", "roll()", "about()", "showUserGuide()",
        "handleMouseMoved(QMouseEvent*)", "updateImagesInit()", "handleGoPressed()",
        "handleLastImages()", "handleNextImages()", "handleImageUpdate(int,int)",
        "handleRollRangeGetted(double,double)", "handleStopPressed()",
        "handleDataBaseOpenFailed()", "handleItemInserted(QGraphicsItem*)",
        "handleBigImageCountGetted(int)", "handleReadOneBigImage(KdImage)",
        "handleReadFinieshed()", "handleCorrectionsBtnPressed()", "handleProjectInfoPressed()",
        "handleExportReportBtnPressed()", "handleProcessProjectFinished(int)",
        "handleRollUpdate(int,int)", "handleCorrectDepth(int)", "handleAfterCorrectDepth()",
        "handleCorrectAngle(int)", "handleRollLoadFailed()", "handleShow3DImage()",
        "handleReleas3DResourse(QStringList)", "OnDisplaySetting()",
        "OnPreView(CReportParameter)", "ReadBigImagesThreadFinished()", "OnOpenReportFile(QString)", "OnLanguageSwtich()",
        "OnRetranslate()"};
    QCOMPARE(expected.size(), 43);
    QCOMPARE(slotList, expected);
    QCOMPARE(QString::fromLatin1(meta->method(meta->indexOfSlot("updateImagesInit()")).typeName()),
             QStringLiteral("bool"));
}

void TestMainWindow::constructionAndWindowActions()
{
    MainWindow w;
    QCOMPARE(w.size(), QSize(4000, 4000));
    // Report settings start from their defaults and are kept between exports.
    const CReportParameter report = w.reportParameter();
    QCOMPARE(report.fromDepth(), 0.0f);
    QCOMPARE(report.toDepth(), 1.0f);
    QCOMPARE(report.columnsPerPage(), 2);
    QCOMPARE(report.exportFormat(), 0);
    QCOMPARE(report.gridCellWidth(), 10);
    QCOMPARE(report.gridCellHeight(), 10);
    QCOMPARE(report.depthOffset(), 0.0f);
    QCOMPARE(report.depthStep(), 1.0f);
    QCOMPARE(report.reservedValue(), 0);
    QVERIFY(!report.withHeader());
    QVERIFY(!report.withGridLines());
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 3000, 6000));
    QCOMPARE(w.scene()->backgroundBrush().color(), QColor(Qt::white));
    QCOMPARE(w.scene()->backgroundBrush().style(), Qt::SolidPattern);
    QCOMPARE(w.view()->scene(), static_cast<QGraphicsScene *>(w.scene()));

    // Splitter: the view above the navigation panel.
    auto *splitter = qobject_cast<QSplitter *>(w.centralWidget());
    QVERIFY(splitter);
    QCOMPARE(splitter->orientation(), Qt::Vertical);
    QCOMPARE(splitter->count(), 2);
    QCOMPARE(splitter->widget(0), static_cast<QWidget *>(w.view()));
    QCOMPARE(splitter->widget(1), static_cast<QWidget *>(w.fileInfoWidget()));

    // Status bar: "Ready", the hidden progress bar, the read-out.
    QCOMPARE(w.statusBar()->currentMessage(), QStringLiteral("Ready"));
    QVERIFY(w.progressBar()->isHidden());
    QVERIFY(w.progressBar()->isTextVisible());
    QCOMPARE(w.progressBar()->value(), 0);
    QVERIFY(w.statusBar()->isAncestorOf(MouseLabel::instance()));

    QVERIFY(!w.readThread());
    QVERIFY(!w.topScale());
    QVERIFY(!w.leftScale());
    QVERIFY(!w.hasSaveTarget());
    QCOMPARE(w.gridSizeIndex(), 0);
    QCOMPARE(pixelsPerUnit, 0.0);

    // Window actions: texts, keys, tips, icons.
    QCOMPARE(w.closeAct()->text(), QStringLiteral("C&lose"));
    QCOMPARE(w.closeAct()->shortcut(), QKeySequence(QKeySequence::Close));
    QCOMPARE(w.closeAct()->statusTip(), QStringLiteral("Close the picture"));
    QVERIFY(!w.closeAct()->icon().pixmap(16).isNull());
    QCOMPARE(w.exitAct()->text(), QStringLiteral("E&xit"));
    QCOMPARE(w.exitAct()->statusTip(), QStringLiteral("Exit the application"));
    QVERIFY(w.exitAct()->icon().isNull());
    QCOMPARE(w.aboutAct()->text(), QStringLiteral("&About"));
    QCOMPARE(w.aboutAct()->shortcut(), QKeySequence(Qt::CTRL + Qt::Key_A));
    QCOMPARE(w.aboutAct()->statusTip(), QStringLiteral("Show the application's About box"));
    QVERIFY(!w.aboutAct()->icon().pixmap(16).isNull());
    QCOMPARE(w.displaySettingAct()->text(), QStringLiteral("&DisplaySetting"));
    QCOMPARE(w.displaySettingAct()->statusTip(), QStringLiteral("Popup display setting dialog"));
    QVERIFY(w.displaySettingAct()->shortcut().isEmpty());
    QVERIFY(!w.displaySettingAct()->icon().pixmap(16).isNull());
    for (QAction *language : {w.englishAct(), w.chineseAct()}) {
        QVERIFY(language->isCheckable());
        QVERIFY(!language->actionGroup());
        QVERIFY(language->shortcut().isEmpty());
        QVERIFY(language->statusTip().isEmpty());
    }
    QCOMPARE(w.englishAct()->text(), QStringLiteral("&English"));
    QCOMPARE(w.chineseAct()->text(), QStringLiteral("&Chinese"));
    for (QAction *recent : w.recentFileActs() + w.recentProjectActs())
        QCOMPARE(recent->parent(), static_cast<QObject *>(&w));
    QCOMPARE(w.recentFileActs().size(), 5);
    QCOMPARE(w.recentProjectActs().size(), 5);

    // Exit closes the window (nothing drawn, so no question).
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.exitAct()->trigger();
    QVERIFY(!w.isVisible());
}

void TestMainWindow::signalsReachTheirReceivers()
{
    MainWindow w;
    ModalWatcher watcher;
    ToolBar *bar = w.toolBar();

    // Tool bar -> window: commands whose windows come with other parts say so.
    struct Command {
        void (ToolBar::*signal)();
        const char *text;
    };
    const Command commands[] = {
        {&ToolBar::signalShowCurrent3DImage, "no Image!"},
        {&ToolBar::exportReportBtnPressed, "None Project!"},
    };
    int seen = 0;
    for (const Command &command : commands) {
        watcher.acceptNext();
        emit (bar->*command.signal)();
        ++seen;
        QCOMPARE(watcher.count(), seen);
        QVERIFY2(watcher.texts().last().startsWith(QLatin1String(command.text)),
                 qPrintable(watcher.texts().last()));
    }
    // Corrections: the dialog made with the window, shown not modal.
    emit bar->correctionsBtnPressed();
    QCOMPARE(watcher.count(), seen);
    CorrectionDialog *corrections = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<CorrectionDialog *>(top))
            corrections = dialog;
    }
    QVERIFY(corrections && corrections->isVisible() && !corrections->isModal());
    corrections->close();
    // Project information without a project.
    ProjectInfo::instance()->reset();
    watcher.acceptNext();
    emit bar->projectInfoPressed();
    QCOMPARE(watcher.count(), ++seen);
    QCOMPARE(watcher.texts().last(), QStringLiteral("Please open a project file first!"));
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

    // Navigation panel -> window: Go, Next and Previous want a project.
    for (void (FileInfoWidget::*signal)() : {&FileInfoWidget::goPressed,
                                             &FileInfoWidget::signalNextPressed,
                                             &FileInfoWidget::signalLastPressed}) {
        watcher.acceptNext();
        emit (w.fileInfoWidget()->*signal)();
        QCOMPARE(watcher.count(), ++seen);
        QCOMPARE(watcher.texts().last(), QStringLiteral("Please open a project file first!"));
    }

    // Delete through the tool bar.
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
    const int pageItems = w.scene()->items().size();
    auto *line = new QGraphicsLineItem(1400, 200, 1500, 300);
    line->setFlag(QGraphicsItem::ItemIsSelectable);
    w.scene()->addItem(line);
    line->setSelected(true);
    emit bar->signalDeleteItem();
    QCOMPARE(w.scene()->items().size(), pageItems);

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

void TestMainWindow::aboutBox()
{
    MainWindow w;
    ModalWatcher watcher;
    watcher.acceptNext();
    w.aboutAct()->trigger();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.titles().first(), QStringLiteral("About"));
    QVERIFY(watcher.texts().first().startsWith(QStringLiteral("<p> <b>KORA</b> </p> <p> Version: 1.7.90925 </p> ")));
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

void TestMainWindow::commandsOfOtherWindows()
{
    // The 3D view needs a page; without one it says so and the tool bar's
    // action is released again.
    MainWindow w;
    ModalWatcher watcher;
    w.toolBar()->editAction(ToolBar::Show3D)->setChecked(true);
    watcher.acceptNext();
    w.handleShow3DImage();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().last(), QStringLiteral("no Image!"));
    QVERIFY(!w.toolBar()->editAction(ToolBar::Show3D)->isChecked());

    // The project information needs a project.
    ProjectInfo::instance()->reset();
    watcher.acceptNext();
    w.toolBar()->editAction(ToolBar::ProjectInformation)->trigger();
    QCOMPARE(watcher.count(), 2);
    QCOMPARE(watcher.texts().last(), QStringLiteral("Please open a project file first!"));
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
    w.toolBar()->editAction(ToolBar::ProjectInformation)->trigger();
    QCOMPARE(watcher.count(), 2);
    ProjectInfoDialog *dialog = nullptr;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *d = qobject_cast<ProjectInfoDialog *>(top))
            dialog = d;
    }
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->diameterEdit()->text(), QStringLiteral("100"));
    dialog->close();
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
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    const QString pic = m_dir.filePath(QStringLiteral("cmd.jpg"));
    QVERIFY(picture.save(pic, "JPG"));
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

    // Cancelled: the window stays empty.
    watcher.answerFileDialog(QString());
    w.openProject();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.classNames().first(), QStringLiteral("QFileDialog"));
    QCOMPARE(watcher.titles().first(), QStringLiteral("Open project file"));
    QVERIFY(!readingInProgress);
    QCOMPARE(w.scene()->items().size(), 0);
    QVERIFY(ProjectInfo::instance()->projectPath().isEmpty());

    // Chosen: the project opens at its first page.
    watcher.answerFileDialog(m_project);
    w.toolBar()->fileAction(ToolBar::OpenProject)->trigger();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 2);
    QCOMPARE(ProjectInfo::instance()->projectPath(), m_project);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 5);

    // A picture through its dialog, after the question about a drawing.
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    const QString pic = m_dir.filePath(QStringLiteral("dialog.jpg"));
    QVERIFY(picture.save(pic, "JPG"));
    w.scene()->addItem(new QGraphicsLineItem(1400, 200, 1500, 300));
    // (A start location naming another file would be preselected by the
    // dialog once its folder has loaded; start in the folder itself.)
    Settings::instance()->setOpenPicDir(m_dir.path());
    watcher.answerMessageBox(QMessageBox::Abort);
    watcher.answerFileDialog(pic);
    w.toolBar()->fileAction(ToolBar::OpenPicture)->trigger();
    QCOMPARE(watcher.count(), 4);
    QCOMPARE(watcher.titles().at(3), QStringLiteral("Open Picture"));
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 40, 30));
    QVERIFY(ProjectInfo::instance()->projectPath().isEmpty());
    QCOMPARE(Settings::instance()->openPicDir(), pic);
}

void TestMainWindow::pictureForgetsTheProjectScale()
{
    MainWindow w;
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
    QVERIFY(pixelsPerUnit > 0.0);
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::yellow);
    const QString pic = m_dir.filePath(QStringLiteral("scale.png"));
    QVERIFY(picture.save(pic, "PNG"));
    w.openPictureFile(pic);
    // Lengths drawn on a picture are in pixels, not in the project's metres.
    QCOMPARE(pixelsPerUnit, 0.0);
    QCOMPARE(w.measurementLabelText(11, QPointF(0, 0), QPointF(3, 4)).section(QLatin1Char('\n'), 1),
             QStringLiteral("L = unknown (no project scale, 5 pixels)  "));
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
    w.openProjectFile(wide);
    SHELL_WAIT_READ(&w);
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
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(Qt::green);
    const QString pic = m_dir.filePath(QStringLiteral("during.jpg"));
    QVERIFY(picture.save(pic, "JPG"));
    Settings::addRecent(Settings::kRecentFileList, pic);
    Settings::addRecent(Settings::kRecentProjectList, m_project);

    {
        MainWindow w;
        ModalWatcher watcher;
        w.openProjectFile(calm);
        SHELL_WAIT_READ(&w);
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

void TestMainWindow::closeAsksFirst_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Cancel keeps the page and the drawing") << int(QMessageBox::Cancel) << false;
    QTest::newRow("Abort closes") << int(QMessageBox::Abort) << true;
}

void TestMainWindow::closeAsksFirst()
{
    QFETCH(int, button);
    QFETCH(bool, closes);
    MainWindow w;
    ModalWatcher watcher;
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
    auto *drawing = new QGraphicsLineItem(1400, 200, 1500, 300);
    w.scene()->addItem(drawing);

    watcher.answerMessageBox(QMessageBox::StandardButton(button));
    w.closeAct()->trigger();
    QCOMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(), QStringLiteral("Whether to save the changes?"));
    QCOMPARE(w.scene()->items().contains(drawing), !closes);
    QCOMPARE(ShellTest::pageImages(w.scene()).isEmpty(), closes);
    QCOMPARE(ProjectInfo::instance()->projectPath().isEmpty(), closes);
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
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
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

void TestMainWindow::titleNamesTheOpenFile()
{
    MainWindow w;
    ModalWatcher watcher;
    QCOMPARE(w.windowTitle(), QStringLiteral("KORA"));
    w.openProjectFile(m_project);
    SHELL_WAIT_READ(&w);
    QCOMPARE(w.windowTitle(), QStringLiteral("p.prj - KORA"));

    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString pic = m_dir.filePath(QStringLiteral("titled.png"));
    QVERIFY(picture.save(pic, "PNG"));
    w.openPictureFile(pic);
    QCOMPARE(w.windowTitle(), QStringLiteral("titled.png - KORA"));

    w.closeAct()->trigger();
    QCOMPARE(w.windowTitle(), QStringLiteral("KORA"));
    QCOMPARE(watcher.count(), 0);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
