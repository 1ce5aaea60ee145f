// Tool bar: tool modes and check marks, the command signals, colour and width,
// menu flags, unique shortcuts, icons and retranslation.

#include "toolbar.h"

#include "globals.h"
#include "graphicsscene.h"
#include "graphicsview.h"
#include "itemstyle.h"
#include "mainwindow.h"
#include "mode.h"
#include "shelltestsupport.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QSet>
#include <QSignalSpy>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

namespace {
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *,
                      int) const override
    {
        if (QLatin1String(context) == QLatin1String("ToolBar"))
            return QString::fromUtf8(sourceText) + QLatin1Char('#');
        return QString();
    }
    bool isEmpty() const override { return false; }
};

// Same picture, allowing for the rounding of premultiplied alpha.
bool samePicture(const QImage &first, const QImage &second)
{
    if (first.size() != second.size())
        return false;
    const QImage a = first.convertToFormat(QImage::Format_ARGB32);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            if (qAbs(qAlpha(p) - qAlpha(q)) > 2)
                return false;
            if (qAlpha(p) > 16
                && (qAbs(qRed(p) - qRed(q)) > 8 || qAbs(qGreen(p) - qGreen(q)) > 8
                    || qAbs(qBlue(p) - qBlue(q)) > 8))
                return false;
        }
    }
    return true;
}

// The action a panel shows at (row, column), or none.
QAction *actionAt(QWidget *panel, int row, int column)
{
    auto *grid = qobject_cast<QGridLayout *>(panel->layout());
    if (!grid)
        return nullptr;
    QLayoutItem *item = grid->itemAtPosition(row, column);
    auto *button = item ? qobject_cast<QToolButton *>(item->widget()) : nullptr;
    return button ? button->defaultAction() : nullptr;
}

int checkedCount(const ToolBar &bar)
{
    int n = 0;
    for (QAction *a : bar.toolGroupActions())
        n += a->isChecked() ? 1 : 0;
    return n;
}

QToolButton *buttonOf(const ToolBar &bar, QAction *action)
{
    for (QToolButton *b : bar.toolButtons())
        if (b->defaultAction() == action)
            return b;
    return nullptr;
}

bool isToolMode(const ToolBar &bar, QAction *action)
{
    return bar.toolGroupActions().contains(action) && action != bar.toolAction(ToolBar::GridLines);
}
} // namespace

class TestToolBar : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_settingsDir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_settingsDir.isValid());
        ShellTest::setUp(m_settingsDir, 0);
    }

    void init()
    {
        currentMode = Pointer;
        readingInProgress = false;
    }

    void eachToolSetsItsMode_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("mode");
        QTest::newRow("pen") << int(ToolBar::Pen) << int(InsertPen);
        QTest::newRow("line") << int(ToolBar::Line) << int(InsertLine);
        QTest::newRow("measure length") << int(ToolBar::MeasureLen) << int(MeasureLength);
        QTest::newRow("measure angle") << int(ToolBar::MeasureAng) << int(MeasureAngle);
        QTest::newRow("lithology") << int(ToolBar::MarkLith) << int(MarkLithology);
        QTest::newRow("arrow") << int(ToolBar::SolidArrow) << int(InsertArrow);
        QTest::newRow("angle") << int(ToolBar::AngleTool) << int(InsertAngle);
        QTest::newRow("dip") << int(ToolBar::Dip) << int(InsertDip);
        QTest::newRow("fit curve") << int(ToolBar::FitCurveTool) << int(FitCurve);
        QTest::newRow("ruler") << int(ToolBar::Ruler) << int(InsertRuler);
        QTest::newRow("text") << int(ToolBar::Text) << int(InsertText);
        QTest::newRow("irregular") << int(ToolBar::Irregular) << int(IrregularArea);
        QTest::newRow("structure pick") << int(ToolBar::StructurePickTool) << int(InsertStructurePick);
    }

    void eachToolSetsItsMode()
    {
        QFETCH(int, index);
        QFETCH(int, mode);
        ToolBar bar(QStringLiteral("Tools"));
        QAction *action = bar.toolAction(index);
        QVERIFY(action->isCheckable());

        // The scene must be re-initialised while the old mode is still set.
        QList<int> modeAtSignal;
        connect(&bar, &ToolBar::signalToolRealChanged, this,
                [&modeAtSignal] { modeAtSignal << int(currentMode); });
        action->trigger();
        QCOMPARE(int(currentMode), mode);
        QCOMPARE(modeAtSignal, QList<int>({int(Pointer)}));
        QVERIFY(action->isChecked());
        QCOMPARE(bar.currentToolAction(), action);
        QCOMPARE(checkedCount(bar), 1);
    }

    void sameToolTwiceReturnsToPointer()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QSignalSpy real(&bar, &ToolBar::signalToolRealChanged);
        bar.toolAction(ToolBar::Pen)->trigger();
        bar.toolAction(ToolBar::Pen)->trigger();
        QCOMPARE(int(currentMode), int(Pointer));
        QCOMPARE(checkedCount(bar), 0);
        QVERIFY(!bar.currentToolAction());
        // Leaving the tool re-initialises the scene as choosing it did.
        QCOMPARE(real.count(), 2);
    }

    // Clicking the active tool's button again ends a half-built item the way
    // a right click does: it lets go of the mouse and is no longer extended.
    void secondClickEndsTheHalfBuiltItem_data()
    {
        QTest::addColumn<int>("tool");
        QTest::newRow("ruler") << int(ToolBar::Ruler);
        QTest::newRow("curve") << int(ToolBar::FitCurveTool);
        QTest::newRow("area") << int(ToolBar::Irregular);
        QTest::newRow("angle") << int(ToolBar::AngleTool);
        QTest::newRow("dip") << int(ToolBar::Dip);
    }

    void secondClickEndsTheHalfBuiltItem()
    {
        QFETCH(int, tool);
        MainWindow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        GraphicsScene *scene = w.scene();
        QWidget *viewport = w.view()->viewport();
        QAction *action = w.toolBar()->toolAction(tool);
        // Dip has no placed button; its action is what its key triggers.
        QToolButton *button = buttonOf(*w.toolBar(), action);
        auto choose = [&] {
            if (button && button->isVisible())
                QTest::mouseClick(button, Qt::LeftButton);
            else
                action->trigger();
        };

        choose();
        QCOMPARE(currentMode, w.toolBar()->modeOf(action));
        const QPoint first = viewport->rect().center();
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, first);
        QGraphicsItem *item = scene->currentItem();
        QVERIFY(item);
        QCOMPARE(scene->mouseGrabberItem(), item);
        const int itemsBefore = scene->items().size();

        choose();
        QCOMPARE(int(currentMode), int(Pointer));
        QVERIFY(!action->isChecked());
        QVERIFY(!scene->mouseGrabberItem());
        QVERIFY(!scene->currentItem());
        // A later click elsewhere neither extends the item nor starts another.
        const QPolygonF shapeBefore = item->mapToScene(item->boundingRect());
        QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, first + QPoint(40, 60));
        QCOMPARE(scene->items().size(), itemsBefore);
        QCOMPARE(item->mapToScene(item->boundingRect()), shapeBefore);
        QVERIFY(!scene->mouseGrabberItem());
    }

    void switchingToolsLeavesOneChecked()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QSignalSpy grid(&bar, &ToolBar::NotifyShowGridLines);
        bar.toolAction(ToolBar::Pen)->trigger();
        bar.toolAction(ToolBar::GridLines)->trigger();
        QCOMPARE(grid.count(), 1);
        // GridLines is no tool: the pen stays in use and alone checked.
        QCOMPARE(int(currentMode), int(InsertPen));
        QCOMPARE(checkedCount(bar), 1);

        bar.toolAction(ToolBar::Line)->trigger();
        QCOMPARE(int(currentMode), int(InsertLine));
        QVERIFY(bar.toolAction(ToolBar::Line)->isChecked());
        QVERIFY(!bar.toolAction(ToolBar::Pen)->isChecked());
        QCOMPARE(checkedCount(bar), 1);
    }

    void clickingButtonsWorksLikeTriggering()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QToolButton *ruler = nullptr;
        for (QToolButton *b : bar.toolButtons())
            if (b->defaultAction() == bar.toolAction(ToolBar::Ruler))
                ruler = b;
        QVERIFY(ruler);
        QCOMPARE(ruler->size(), QSize(40, 40));
        QCOMPARE(ruler->statusTip(), QStringLiteral("Ruler"));
        QTest::mouseClick(ruler, Qt::LeftButton);
        QCOMPARE(int(currentMode), int(InsertRuler));
        QVERIFY(ruler->isChecked());
        QTest::mouseClick(ruler, Qt::LeftButton);
        QCOMPARE(int(currentMode), int(Pointer));
        QVERIFY(!ruler->isChecked());
    }

    void insertedOrCancelledItemEndsTheTool()
    {
        ToolBar bar(QStringLiteral("Tools"));
        bar.toolAction(ToolBar::Line)->trigger();
        bar.handleItemInserted(nullptr);
        QCOMPARE(int(currentMode), int(Pointer));
        QCOMPARE(checkedCount(bar), 0);
        QVERIFY(!bar.currentToolAction());

        bar.toolAction(ToolBar::Text)->trigger();
        bar.toolAction(ToolBar::GridLines)->trigger();
        bar.handleCancelInsertItem();
        QCOMPARE(int(currentMode), int(Pointer));
        QCOMPARE(checkedCount(bar), 0);

        // The next choice of the same tool starts it again.
        bar.toolAction(ToolBar::Line)->trigger();
        QCOMPARE(int(currentMode), int(InsertLine));
    }

    void busyReadingKeepsTheMode()
    {
        ToolBar bar(QStringLiteral("Tools"));
        bar.toolAction(ToolBar::Pen)->trigger();
        readingInProgress = true;
        QSignalSpy real(&bar, &ToolBar::signalToolRealChanged);
        QString shownText;
        QString shownTitle;
        int buttons = 0;
        bool hasOk = false;
        bool withoutParent = false;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shownText = box->text();
            shownTitle = box->windowTitle();
            buttons = box->buttons().size();
            hasOk = box->button(QMessageBox::Ok) != nullptr;
            withoutParent = box->parentWidget() == nullptr;
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        bar.toolAction(ToolBar::Line)->trigger();
        readingInProgress = false;
        QCOMPARE(shownText, QStringLiteral("Working now, Please Waiting!"));
        QCOMPARE(shownTitle, QStringLiteral("Prompt"));
        QCOMPARE(buttons, 1);
        QVERIFY(hasOk);
        QVERIFY(withoutParent);
        QCOMPARE(icon, QMessageBox::Information);
        QCOMPARE(real.count(), 0);
        QCOMPARE(int(currentMode), int(InsertPen));
        QVERIFY(bar.toolAction(ToolBar::Pen)->isChecked());
        QVERIFY(!bar.toolAction(ToolBar::Line)->isChecked());
        QCOMPARE(bar.currentToolAction(), bar.toolAction(ToolBar::Pen));
    }

    void commandActionsEmitTheirSignals()
    {
        ToolBar bar(QStringLiteral("Tools"));
        struct Case { QAction *action; QSignalSpy *spy; };
        QSignalSpy openProject(&bar, &ToolBar::signalOpenProject);
        QSignalSpy openPicture(&bar, &ToolBar::signalOpenPicture);
        QSignalSpy save(&bar, &ToolBar::signalSaveCurrentImage);
        QSignalSpy saveOriginal(&bar, &ToolBar::signalSaveOriginalImage);
        QSignalSpy saveAs(&bar, &ToolBar::signalSaveAs);
        QSignalSpy exportReport(&bar, &ToolBar::exportReportBtnPressed);
        QSignalSpy roll(&bar, &ToolBar::signalRoll);
        QSignalSpy del(&bar, &ToolBar::signalDeleteItem);
        QSignalSpy info(&bar, &ToolBar::projectInfoPressed);
        QSignalSpy correction(&bar, &ToolBar::correctionsBtnPressed);
        QSignalSpy magnetic(&bar, &ToolBar::magneticDeclinationCorrectionBtnPressed);
        QSignalSpy diameter(&bar, &ToolBar::diameterCorrectionBtnPressed);
        QSignalSpy show3D(&bar, &ToolBar::signalShowCurrent3DImage);
        const QList<Case> cases = {
            {bar.fileAction(ToolBar::OpenProject), &openProject},
            {bar.fileAction(ToolBar::OpenPicture), &openPicture},
            {bar.fileAction(ToolBar::SaveCurrentImage), &save},
            {bar.fileAction(ToolBar::SaveOriginalImage), &saveOriginal},
            {bar.fileAction(ToolBar::SaveAs), &saveAs},
            {bar.fileAction(ToolBar::ExportReport), &exportReport},
            {bar.editAction(ToolBar::Roll), &roll},
            {bar.editAction(ToolBar::DeleteItem), &del},
            {bar.editAction(ToolBar::ProjectInformation), &info},
            {bar.editAction(ToolBar::Correction), &correction},
            {bar.editAction(ToolBar::MagneticDeclination), &magnetic},
            {bar.editAction(ToolBar::DiameterCorrection), &diameter},
            {bar.editAction(ToolBar::Show3D), &show3D},
        };
        QSignalSpy real(&bar, &ToolBar::signalToolRealChanged);
        for (const Case &c : cases) {
            c.action->trigger();
            QCOMPARE(c.spy->count(), 1);
        }
        // Every command fired exactly its own signal, and none is a tool.
        for (const Case &c : cases)
            QCOMPARE(c.spy->count(), 1);
        QCOMPARE(real.count(), 0);
        QCOMPARE(int(currentMode), int(Pointer));
    }

    void show3DFinish()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QAction *show3D = bar.editAction(ToolBar::Show3D);
        show3D->trigger();
        QVERIFY(bar.is3DShowing());
        show3D->setEnabled(false);
        bar.handleShow3DFinish(QStringList());
        QVERIFY(!bar.is3DShowing());
        QVERIFY(show3D->isEnabled());
    }

    void colourAndWidth()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QComboBox *combo = bar.colorComboBox();
        QCOMPARE(combo->size(), QSize(38, 38));
        QCOMPARE(combo->count(), 6);
        const QStringList names = {"black", "white", "red", "green", "blue", "yellow"};
        const QList<Qt::GlobalColor> colors = {Qt::black, Qt::white, Qt::red, Qt::green,
                                               Qt::blue, Qt::yellow};
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(combo->itemText(i), names.at(i));
            QCOMPARE(combo->itemData(i).value<QColor>(), QColor(colors.at(i)));
            QVERIFY(!combo->itemIcon(i).isNull());
        }
        combo->setCurrentIndex(3);
        QCOMPARE(ItemStyle::instance()->color(), QColor(Qt::green));
        bar.colorChanged(17); // no such item: no colour
        QVERIFY(!ItemStyle::instance()->color().isValid());
        combo->setCurrentIndex(0);
        QCOMPARE(ItemStyle::instance()->color(), QColor(Qt::black));

        QSpinBox *width = bar.widthSpinBox();
        QCOMPARE(width->value(), 8);
        QCOMPARE(width->prefix(), QStringLiteral("Width "));
        width->setValue(50);
        QCOMPARE(ItemStyle::instance()->lineWidth(), 50);
        width->setValue(51);
        QCOMPARE(width->value(), 50);
        width->setValue(0);
        QCOMPARE(ItemStyle::instance()->lineWidth(), 1);
        width->setValue(8);
    }

    void colourListShowsWholeNames()
    {
        QMainWindow window;
        auto *bar = new ToolBar(QStringLiteral("Tools"), &window);
        window.addToolBar(Qt::LeftToolBarArea, bar);
        window.setCentralWidget(new QWidget);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QComboBox *combo = bar->colorComboBox();
        QCOMPARE(combo->size(), QSize(38, 38));
        // Names longer than the box, as a translation may have them, too.
        MarkingTranslator translator;
        for (bool translated : {false, true}) {
            if (translated) {
                QCoreApplication::installTranslator(&translator);
                bar->OnRetranslate();
                QCoreApplication::removeTranslator(&translator);
            }
            combo->showPopup();
            QAbstractItemView *list = combo->view();
            QTRY_VERIFY(list->isVisible());
            for (int i = 0; i < combo->count(); ++i) {
                const QModelIndex index = list->model()->index(i, 0);
                const int wanted = list->sizeHintForIndex(index).width();
                QVERIFY2(list->viewport()->width() >= wanted,
                         qPrintable(QStringLiteral("\"%1\" needs %2 px, has %3")
                                        .arg(combo->itemText(i)).arg(wanted)
                                        .arg(list->viewport()->width())));
            }
            combo->hidePopup();
        }
    }

    void menuFlags()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QCOMPARE(bar.fileGroupActions().size(), 6);
        QCOMPARE(bar.editGroupActions().size(), 7);
        QCOMPARE(bar.toolGroupActions().size(), 14);
        QCOMPARE(bar.fileGroupMenuFlags(), QList<bool>({true, true, true, true, false, true}));
        QCOMPARE(bar.editGroupMenuFlags(),
                 QList<bool>({true, true, true, true, false, false, true}));
        QVERIFY(!bar.fileActionInMenu(ToolBar::SaveAs));
        QVERIFY(bar.fileActionInMenu(ToolBar::SaveOriginalImage));
        QVERIFY(!bar.editActionInMenu(ToolBar::DiameterCorrection));
        QVERIFY(!bar.fileActionInMenu(99));
        QCOMPARE(bar.fileAction(ToolBar::SaveAs)->text(), QStringLiteral("s&ave as"));
        QCOMPARE(bar.editAction(ToolBar::Show3D)->text(), QStringLiteral("&Show 3D"));
        QVERIFY(!bar.isMovable());
    }

    void noTwoActionsShareAShortcut()
    {
        // Every key of the main window, the platform's standard keys as this
        // platform binds them: a key held by two actions triggers neither.
        MainWindow w;
        QHash<QString, QString> owner;
        for (QAction *a : w.findChildren<QAction *>()) {
            if (a->shortcutContext() != Qt::WindowShortcut
                && a->shortcutContext() != Qt::ApplicationShortcut)
                continue;
            for (const QKeySequence &k : a->shortcuts()) {
                QVERIFY2(!owner.contains(k.toString()),
                         qPrintable(a->text() + " and " + owner.value(k.toString()) + " share "
                                    + k.toString() + " on " + QGuiApplication::platformName()));
                owner.insert(k.toString(), a->text());
            }
        }
        ToolBar *bar = w.toolBar();
        QVERIFY(owner.contains(QKeySequence(QStringLiteral("Ctrl+D")).toString()));
        QVERIFY(owner.contains(QKeySequence(QStringLiteral("Ctrl+A")).toString()));
        // The keys that stay as they were.
        QCOMPARE(bar->toolAction(ToolBar::Line)->shortcut(), QKeySequence("Ctrl+L"));
        QCOMPARE(bar->toolAction(ToolBar::AngleTool)->shortcut(), QKeySequence("Ctrl+N"));
        QCOMPARE(bar->toolAction(ToolBar::Ruler)->shortcut(), QKeySequence("Ctrl+U"));
        QCOMPARE(bar->toolAction(ToolBar::Text)->shortcut(), QKeySequence("Ctrl+T"));
        QCOMPARE(bar->toolAction(ToolBar::GridLines)->shortcut(), QKeySequence());
        QCOMPARE(bar->editAction(ToolBar::Roll)->shortcut(), QKeySequence("Ctrl+R"));
        QCOMPARE(bar->editAction(ToolBar::DeleteItem)->shortcuts(),
                 QList<QKeySequence>({QKeySequence(Qt::Key_Delete)}));
        QCOMPARE(bar->editAction(ToolBar::ProjectInformation)->shortcut(), QKeySequence("Ctrl+I"));
        QCOMPARE(bar->editAction(ToolBar::Correction)->shortcut(), QKeySequence("Ctrl+Alt+C"));
        QCOMPARE(bar->editAction(ToolBar::MagneticDeclination)->shortcut(), QKeySequence("Ctrl+M"));
        QCOMPARE(bar->editAction(ToolBar::DiameterCorrection)->shortcut(), QKeySequence("Ctrl+Alt+M"));
        QCOMPARE(bar->editAction(ToolBar::Show3D)->shortcut(), QKeySequence("Ctrl+D"));
        QCOMPARE(bar->fileAction(ToolBar::OpenProject)->shortcut(), QKeySequence("Ctrl+P"));
        QCOMPARE(bar->fileAction(ToolBar::OpenPicture)->shortcut(), QKeySequence(QKeySequence::Open));
        QCOMPARE(bar->fileAction(ToolBar::SaveCurrentImage)->shortcut(), QKeySequence(QKeySequence::Save));
        QCOMPARE(bar->fileAction(ToolBar::ExportReport)->shortcut(), QKeySequence("Ctrl+E"));
        // Tools need a key of their own (Dip is reachable by key only).
        for (QAction *a : bar->toolGroupActions())
            if (a != bar->toolAction(ToolBar::GridLines))
                QVERIFY2(!a->shortcut().isEmpty(), qPrintable(a->text()));
    }

    // The two tests above and below once more on a Linux desktop's platform,
    // whose standard keys differ (its Delete binding also holds Ctrl+D).
    void shortcutsOnALinuxDesktop()
    {
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QSKIP("already running on xcb");
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
        if (xvfb.isEmpty())
            QSKIP("xvfb-run is not installed (scripts/common.sh lists it)");
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(xvfb, {QStringLiteral("-a"), QCoreApplication::applicationFilePath(),
                           QStringLiteral("noTwoActionsShareAShortcut"),
                           QStringLiteral("keysReachActionsWithoutButtons")});
        QVERIFY(child.waitForStarted());
        QVERIFY(child.waitForFinished(180000));
        const QByteArray output = child.readAll();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 output.constData());
        QVERIFY2(output.contains("PASS   : TestToolBar::noTwoActionsShareAShortcut()")
                     && output.contains("PASS   : TestToolBar::keysReachActionsWithoutButtons()"),
                 output.constData());
    }

    void keysReachActionsWithoutButtons()
    {
        // Dip and Diameter correction have no placed button and no menu entry.
        QMainWindow window;
        auto *bar = new ToolBar(QStringLiteral("Tools"), &window);
        window.addToolBar(Qt::LeftToolBarArea, bar);
        window.setCentralWidget(new QWidget);
        window.show();
        // Without a window manager (a bare X server) the window is activated
        // once it is mapped.
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QSignalSpy diameter(bar, &ToolBar::diameterCorrectionBtnPressed);
        QTest::keySequence(&window, bar->editAction(ToolBar::DiameterCorrection)->shortcut());
        QCOMPARE(diameter.count(), 1);

        QTest::keySequence(&window, bar->toolAction(ToolBar::Dip)->shortcut());
        QCOMPARE(int(currentMode), int(InsertDip));

        QSignalSpy exportReport(bar, &ToolBar::exportReportBtnPressed);
        QTest::keySequence(&window, QKeySequence(QStringLiteral("Ctrl+E")));
        QCOMPARE(exportReport.count(), 1);
        QSignalSpy show3D(bar, &ToolBar::signalShowCurrent3DImage);
        QTest::keySequence(&window, QKeySequence(QStringLiteral("Ctrl+D")));
        QCOMPARE(show3D.count(), 1);
        QSignalSpy del(bar, &ToolBar::signalDeleteItem);
        QTest::keyClick(&window, Qt::Key_Delete);
        QCOMPARE(del.count(), 1);
        QCOMPARE(show3D.count(), 1);
        QSignalSpy info(bar, &ToolBar::projectInfoPressed);
        QTest::keySequence(&window, QKeySequence(QStringLiteral("Ctrl+I")));
        QCOMPARE(info.count(), 1);
        QTest::keySequence(&window, QKeySequence(QStringLiteral("Ctrl+L")));
        QCOMPARE(int(currentMode), int(InsertLine));
    }

    void iconsLoad()
    {
        ToolBar bar(QStringLiteral("Tools"));
        const QList<QAction *> all =
            bar.fileGroupActions() + bar.editGroupActions() + bar.toolGroupActions();
        const QSet<QAction *> withoutIcon = {bar.fileAction(ToolBar::SaveOriginalImage),
                                             bar.fileAction(ToolBar::SaveAs)};
        for (QAction *a : all) {
            if (withoutIcon.contains(a))
                continue;
            QVERIFY2(!a->icon().isNull(), qPrintable(a->text()));
            QVERIFY2(!a->icon().pixmap(32, 32).isNull(), qPrintable(a->text()));
        }
        // Every icon resource the program refers to.
        const QStringList resources = {
            ":/res/3D.ico", ":/res/3Ddown.ico", ":/res/3Dhor.ico", ":/res/3Dleft.ico",
            ":/res/3Dright.ico", ":/res/3Dup.ico", ":/res/3Dver.ico", ":/res/Add folder.png",
            ":/res/Angle.ico", ":/res/AngleMeasure.ico", ":/res/Arrow.ico", ":/res/Curve.ico",
            ":/res/Decrease.ico", ":/res/Dipangle.ico", ":/res/DisplaySetting.png",
            ":/res/Enlarge.ico", ":/res/GridLines.png", ":/res/Line.png",
            ":/res/Lithologymark.png", ":/res/Measure.png", ":/res/Pencil.ico",
            ":/res/Ruler.png", ":/res/Save image.png", ":/res/about.png", ":/res/buguize.ico",
            ":/res/close.png", ":/res/correction.ico", ":/res/open.ico", ":/res/projectInfo.png",
            ":/res/report.png", ":/res/roll.png", ":/res/text.png", ":/res/delete.png",
            ":/res/StructurePick.png",
            ":/res/kora.png", ":/image/close.png", ":/image/update.png",
            ":/MsgImage/QUtility/MessageBox/info.png",
            ":/MsgImage/QUtility/MessageBox/question.png",
            ":/MsgImage/QUtility/MessageBox/error.png"};
        for (const QString &r : resources) {
            const QPixmap pixmap(r);
            QVERIFY2(!pixmap.isNull(), qPrintable(r));
            QVERIFY2(pixmap.width() >= 32 && pixmap.width() <= 64, qPrintable(r));
        }
    }

    void layout()
    {
        ToolBar bar(QStringLiteral("Tools"));
        for (const char *name : {"commandPanel", "drawingPanel", "widthPanel"}) {
            QWidget *panel = bar.findChild<QWidget *>(name);
            QVERIFY2(panel, name);
            QVERIFY(panel->maximumWidth() <= 110);
        }
        // Placed buttons: 7 commands + 14 drawing; Dip, Correction, Diameter
        // correction, Show 3D, Save as and Save original image have none shown.
        auto isPlaced = [&bar](QToolButton *b) {
            return b->parentWidget() != &bar && !b->isHidden();
        };
        int placed = 0;
        for (QToolButton *b : bar.toolButtons())
            placed += isPlaced(b) ? 1 : 0;
        QCOMPARE(placed, 21);
        for (QToolButton *b : bar.toolButtons()) {
            QAction *a = b->defaultAction();
            const bool unplaced = a == bar.toolAction(ToolBar::Dip)
                || a == bar.editAction(ToolBar::Correction)
                || a == bar.editAction(ToolBar::DiameterCorrection)
                || a == bar.editAction(ToolBar::Show3D)
                || a == bar.fileAction(ToolBar::SaveAs)
                || a == bar.fileAction(ToolBar::SaveOriginalImage);
            QCOMPARE(isPlaced(b), !unplaced);
        }
        QCOMPARE(bar.widthSpinBox()->height(), 20);
        QVERIFY(bar.widthSpinBox()->minimumWidth() >= 80);
        QVERIFY(bar.widthSpinBox()->minimumWidth() <= 110);
    }


    // Every action of the three groups: text, tip, icon, key and menu flag.
    void actionTable_data()
    {
        QTest::addColumn<int>("group");   // 0 file, 1 edit, 2 tool
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QKeySequence>("key");
        QTest::addColumn<bool>("inMenu");
        const QKeySequence open(QKeySequence::Open);
        const QKeySequence save(QKeySequence::Save);
        const QKeySequence saveAs(QKeySequence::SaveAs);
        const QKeySequence del(Qt::Key_Delete);
        auto row = [](const char *name, int group, int index, const char *text, const char *tip,
                      const char *icon, const QKeySequence &key, bool inMenu) {
            QTest::newRow(name) << group << index << QString::fromLatin1(text)
                                << QString::fromLatin1(tip) << QString::fromLatin1(icon) << key
                                << inMenu;
        };
        row("open project", 0, ToolBar::OpenProject, "Open project", "Open a project file",
            ":/res/Add folder.png", QKeySequence("Ctrl+P"), true);
        row("open picture", 0, ToolBar::OpenPicture, "&Open picture", "Open picture",
            ":/res/open.ico", open, true);
        row("current image", 0, ToolBar::SaveCurrentImage, "&current image",
            "Save the current image", ":/res/Save image.png", save, true);
        row("original image", 0, ToolBar::SaveOriginalImage, "save &Original image",
            "Save the original image", "", QKeySequence("Ctrl+Shift+O"), true);
        row("save as", 0, ToolBar::SaveAs, "s&ave as", "Save as", "", saveAs, false);
        row("export", 0, ToolBar::ExportReport, "Export", "Export report", ":/res/report.png",
            QKeySequence("Ctrl+E"), true);

        row("roll", 1, ToolBar::Roll, "&Roll", "Roll the picture", ":/res/roll.png",
            QKeySequence("Ctrl+R"), true);
        row("delete", 1, ToolBar::DeleteItem, "&Delete", "Delete item", ":/res/delete.png", del,
            true);
        row("project information", 1, ToolBar::ProjectInformation, "&Project Information",
            "Show or edit project Information", ":/res/projectInfo.png", QKeySequence("Ctrl+I"),
            true);
        row("correction", 1, ToolBar::Correction, "&Correction", "Corrections",
            ":/res/correction.ico", QKeySequence("Ctrl+Alt+C"), true);
        row("magnetic", 1, ToolBar::MagneticDeclination, "&Magnetic declination correctionBtn",
            "Correct magnetic declination", ":/res/Ruler.png", QKeySequence("Ctrl+M"), false);
        row("diameter", 1, ToolBar::DiameterCorrection, "&Diameter correctionBtn",
            "Correct diameter", ":/res/Ruler.png", QKeySequence("Ctrl+Alt+M"), false);
        row("show 3D", 1, ToolBar::Show3D, "&Show 3D", "Show 3D Image", ":/res/3D.ico",
            QKeySequence("Ctrl+D"), true);

        row("pen", 2, ToolBar::Pen, "P&en", "Pen", ":/res/Pencil.ico",
            QKeySequence("Ctrl+Shift+P"), false);
        row("line", 2, ToolBar::Line, "I&nsert line", "Line", ":/res/Line.png",
            QKeySequence("Ctrl+L"), false);
        row("measure length", 2, ToolBar::MeasureLen, "Measure length", "M&easure length",
            ":/res/Measure.png", QKeySequence("Ctrl+Shift+L"), false);
        row("measure angle", 2, ToolBar::MeasureAng, "Measure angle", "Measure angle",
            ":/res/AngleMeasure.ico", QKeySequence("Ctrl+Shift+N"), false);
        row("lithology", 2, ToolBar::MarkLith, " Mark lithology", "Mark lithology",
            ":/res/Lithologymark.png", QKeySequence("Ctrl+K"), false);
        row("arrow", 2, ToolBar::SolidArrow, "So&lid Arrow", "Solid arrow", ":/res/Arrow.ico",
            QKeySequence("Ctrl+Shift+A"), false);
        row("angle", 2, ToolBar::AngleTool, "A&ngle", "Angle", ":/res/Angle.ico",
            QKeySequence("Ctrl+N"), false);
        row("dip", 2, ToolBar::Dip, "D&ip", "Dip angle", ":/res/Dipangle.ico",
            QKeySequence("Ctrl+Shift+D"), false);
        row("fit curve", 2, ToolBar::FitCurveTool, "F&itCurve", "To fit the curve",
            ":/res/Curve.ico", QKeySequence("Ctrl+Shift+F"), false);
        row("ruler", 2, ToolBar::Ruler, "R&uler", "To measure distance", ":/res/Ruler.png",
            QKeySequence("Ctrl+U"), false);
        row("text", 2, ToolBar::Text, "text", "Text", ":/res/text.png", QKeySequence("Ctrl+T"),
            false);
        row("irregular", 2, ToolBar::Irregular, "&Irregular", "Irregular", ":/res/buguize.ico",
            QKeySequence("Ctrl+Shift+I"), false);
        row("grid lines", 2, ToolBar::GridLines, "&GridLines", "GridLines",
            ":/res/GridLines.png", QKeySequence(), false);
        row("structure pick", 2, ToolBar::StructurePickTool, "Structure &pick",
            "Structure pick: click three or more points along a trace and end with a right click "
            "or Enter; gives the depth, true dip and dip direction of the plane, for a vertical hole",
            ":/res/StructurePick.png", QKeySequence("Ctrl+Shift+K"), false);
    }

    void actionTable()
    {
        QFETCH(int, group);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, tip);
        QFETCH(QString, icon);
        QFETCH(QKeySequence, key);
        QFETCH(bool, inMenu);
        ToolBar bar(QStringLiteral("Tools"));
        QAction *a = group == 0 ? bar.fileAction(index)
                                : group == 1 ? bar.editAction(index) : bar.toolAction(index);
        QVERIFY(a);
        QCOMPARE(a->text(), text);
        QCOMPARE(a->statusTip(), tip);
        QCOMPARE(a->toolTip(), tip);
        // Only the tool modes stay checked while in use.
        QCOMPARE(a->isCheckable(), group == 2 && index != ToolBar::GridLines);
        QCOMPARE(a->shortcut(), key);
        if (group == 0)
            QCOMPARE(bar.fileActionInMenu(index), inMenu);
        else if (group == 1)
            QCOMPARE(bar.editActionInMenu(index), inMenu);
        if (icon.isEmpty()) {
            QVERIFY(a->icon().isNull());
        } else {
            const QImage expected(icon);
            QVERIFY2(!expected.isNull(), qPrintable(icon));
            const QImage shown = a->icon().pixmap(expected.size()).toImage();
            QVERIFY2(samePicture(shown, expected), qPrintable(icon));
        }
    }

    void panelsHoldTheirButtons()
    {
        ToolBar bar(QStringLiteral("Tools"));
        // Panels and separators in tool-bar order.
        QStringList order;
        for (QAction *a : bar.actions()) {
            if (a->isSeparator())
                order << QStringLiteral("|");
            else if (QWidget *w = bar.widgetForAction(a))
                order << w->objectName();
        }
        QCOMPARE(order, QStringList({"commandPanel", "|", "drawingPanel", "widthPanel", "|"}));

        QWidget *command = bar.findChild<QWidget *>("commandPanel");
        QCOMPARE(actionAt(command, 0, 0), bar.fileAction(ToolBar::OpenProject));
        QCOMPARE(actionAt(command, 0, 1), bar.fileAction(ToolBar::OpenPicture));
        QCOMPARE(actionAt(command, 1, 0), bar.fileAction(ToolBar::SaveCurrentImage));
        QCOMPARE(actionAt(command, 1, 1), bar.editAction(ToolBar::Roll));
        QCOMPARE(actionAt(command, 2, 0), bar.editAction(ToolBar::ProjectInformation));
        QCOMPARE(actionAt(command, 2, 1), bar.editAction(ToolBar::MagneticDeclination));
        QCOMPARE(actionAt(command, 3, 0), bar.fileAction(ToolBar::ExportReport));
        QCOMPARE(actionAt(command, 3, 1), nullptr);
        QCOMPARE(qobject_cast<QGridLayout *>(command->layout())->count(), 7);

        QWidget *drawing = bar.findChild<QWidget *>("drawingPanel");
        const QList<QList<QAction *>> rows = {
            {bar.toolAction(ToolBar::SolidArrow), bar.toolAction(ToolBar::Line)},
            {bar.toolAction(ToolBar::Pen), bar.toolAction(ToolBar::Text)},
            {bar.toolAction(ToolBar::AngleTool), bar.toolAction(ToolBar::FitCurveTool)},
            {bar.toolAction(ToolBar::Ruler), bar.editAction(ToolBar::DeleteItem)},
            {bar.toolAction(ToolBar::MeasureLen), bar.toolAction(ToolBar::MeasureAng)},
            {bar.toolAction(ToolBar::MarkLith), bar.toolAction(ToolBar::Irregular)},
        };
        for (int r = 0; r < rows.size(); ++r)
            for (int c = 0; c < 2; ++c)
                QVERIFY2(actionAt(drawing, r, c) == rows.at(r).at(c),
                         qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(c)));
        auto *drawingGrid = qobject_cast<QGridLayout *>(drawing->layout());
        QCOMPARE(drawingGrid->itemAtPosition(6, 0)->widget(), bar.colorComboBox());
        QCOMPARE(actionAt(drawing, 6, 1), bar.toolAction(ToolBar::GridLines));
        QCOMPARE(actionAt(drawing, 7, 0), bar.toolAction(ToolBar::StructurePickTool));
        QCOMPARE(drawingGrid->count(), 15);

        QWidget *width = bar.findChild<QWidget *>("widthPanel");
        auto *widthGrid = qobject_cast<QGridLayout *>(width->layout());
        QCOMPARE(widthGrid->count(), 1);
        QCOMPARE(widthGrid->itemAtPosition(0, 0)->widget(), bar.widthSpinBox());
    }

    void buttonsOfTheActions()
    {
        ToolBar bar(QStringLiteral("Tools"));
        // One button per action except Save as and Save original image.
        QCOMPARE(bar.toolButtons().size(), 6 + 7 + 14 - 2);
        QSet<QAction *> withButton;
        for (QToolButton *b : bar.toolButtons()) {
            QVERIFY(b->defaultAction());
            withButton.insert(b->defaultAction());
            QCOMPARE(b->size(), QSize(40, 40));
            QCOMPARE(b->isCheckable(), isToolMode(bar, b->defaultAction()));
            QString text = b->defaultAction()->text();
            text.remove(QLatin1Char('&'));
            QCOMPARE(b->statusTip(), text);
        }
        QVERIFY(!withButton.contains(bar.fileAction(ToolBar::SaveAs)));
        QVERIFY(!withButton.contains(bar.fileAction(ToolBar::SaveOriginalImage)));
        for (QAction *a : bar.editGroupActions() + bar.toolGroupActions())
            QVERIFY2(withButton.contains(a), qPrintable(a->text()));
    }

    void commandButtonsDoNotStayDown()
    {
        QMainWindow window;
        auto *bar = new ToolBar(QStringLiteral("Tools"), &window);
        window.addToolBar(Qt::LeftToolBarArea, bar);
        window.setCentralWidget(new QWidget);
        window.resize(400, 1000);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        int clicked = 0;
        for (QToolButton *b : bar->toolButtons()) {
            QAction *a = b->defaultAction();
            if (!b->isVisible() || isToolMode(*bar, a))
                continue;
            QSignalSpy triggered(a, &QAction::triggered);
            QTest::mouseClick(b, Qt::LeftButton);
            QCOMPARE(triggered.count(), 1);
            QVERIFY2(!b->isChecked() && !b->isDown() && !a->isChecked(), qPrintable(a->text()));
            ++clicked;
        }
        // Seven commands, Delete and GridLines.
        QCOMPARE(clicked, 9);
    }

    void colourSwatchesAreFilled()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QComboBox *combo = bar.colorComboBox();
        for (int i = 0; i < combo->count(); ++i) {
            const QColor color = combo->itemData(i).value<QColor>();
            const QImage image = combo->itemIcon(i).pixmap(16, 16).toImage();
            QCOMPARE(image.size(), QSize(16, 16));
            for (const QPoint &p : {QPoint(0, 0), QPoint(15, 15), QPoint(0, 15), QPoint(8, 8)})
                QCOMPARE(image.pixelColor(p), color);
        }
    }

    void widthBoxShowsItsValue()
    {
        QMainWindow window;
        auto *bar = new ToolBar(QStringLiteral("Tools"), &window);
        window.addToolBar(Qt::LeftToolBarArea, bar);
        window.setCentralWidget(new QWidget);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSpinBox *spin = bar->widthSpinBox();
        QCOMPARE(spin->height(), 20);
        // At least as wide as the two button columns above it, within the
        // panel's 110 pixels.
        QWidget *drawing = bar->findChild<QWidget *>("drawingPanel");
        QWidget *panel = bar->findChild<QWidget *>("widthPanel");
        const QMargins m = drawing->layout()->contentsMargins();
        QVERIFY(spin->width() >= std::max(80, drawing->sizeHint().width() - m.left() - m.right()));
        QVERIFY(panel->sizeHint().width() <= 110);
        QVERIFY(panel->width() <= 110);

        // The editor has room for the prefix and every value: a cut-off
        // "Width 50" would read "Width 5".
        auto *editor = spin->findChild<QLineEdit *>();
        QVERIFY(editor);
        auto fits = [&] {
            return editor->fontMetrics().horizontalAdvance(spin->text()) <= editor->width();
        };
        for (int value : {8, 50}) {
            spin->setValue(value);
            QVERIFY2(fits(), qPrintable(QStringLiteral("%1 px for \"%2\"")
                                            .arg(editor->width()).arg(spin->text())));
        }
        spin->setValue(8);
    }

    void retranslation()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QCOMPARE(bar.toolAction(ToolBar::MeasureLen)->statusTip(),
                 QStringLiteral("M&easure length"));
        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        bar.OnRetranslate();
        QCoreApplication::removeTranslator(&translator);

        QCOMPARE(bar.toolAction(ToolBar::Pen)->text(), QStringLiteral("P&en#"));
        QCOMPARE(bar.toolAction(ToolBar::Pen)->toolTip(), QStringLiteral("Pen#"));
        QCOMPARE(bar.toolAction(ToolBar::MarkLith)->text(), QStringLiteral(" Mark lithology#"));
        QCOMPARE(bar.fileAction(ToolBar::ExportReport)->toolTip(), QStringLiteral("Export report#"));
        QCOMPARE(bar.editAction(ToolBar::ProjectInformation)->toolTip(),
                 QStringLiteral("Show or edit project Information#"));
        QCOMPARE(bar.colorComboBox()->toolTip(), QStringLiteral("Choose color#"));
        QCOMPARE(bar.colorComboBox()->statusTip(), QStringLiteral("Choose color#"));
        QCOMPARE(bar.colorComboBox()->itemText(4), QStringLiteral("blue#"));
        QCOMPARE(bar.colorComboBox()->itemData(4).value<QColor>(), QColor(Qt::blue));
        QCOMPARE(bar.widthSpinBox()->prefix(), QStringLiteral("Width #"));
        for (QAction *a : bar.fileGroupActions() + bar.editGroupActions() + bar.toolGroupActions())
            QVERIFY2(a->text().endsWith(QLatin1Char('#')), qPrintable(a->text()));
    }
};

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
