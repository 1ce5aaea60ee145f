// Tool bar: tool modes and check marks, the command signals, colour and width,
// unique shortcuts and retranslation.

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
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QSignalSpy>
#include <QProcess>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>

#include <memory>
#include <vector>

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

void retranslateMarked(ToolBar *bar)
{
    MarkingTranslator translator;
    QCoreApplication::installTranslator(&translator);
    bar->OnRetranslate();
    QCoreApplication::removeTranslator(&translator);
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

// Docks a new tool bar in window and shows it; wait for it to be exposed.
ToolBar *showInWindow(QMainWindow &window)
{
    auto *bar = new ToolBar(QStringLiteral("Tools"), &window);
    window.addToolBar(Qt::LeftToolBarArea, bar);
    window.setCentralWidget(new QWidget);
    window.show();
    return bar;
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

        // The same tool again: back to Pointer; leaving re-initialises too.
        action->trigger();
        QCOMPARE(int(currentMode), int(Pointer));
        QCOMPARE(modeAtSignal, QList<int>({int(Pointer), mode}));
        QCOMPARE(checkedCount(bar), 0);
        QVERIFY(!bar.currentToolAction());
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
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shownText = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        bar.toolAction(ToolBar::Line)->trigger();
        readingInProgress = false;
        QCOMPARE(shownText, QStringLiteral("Working now, Please Waiting!"));
        QCOMPARE(real.count(), 0);
        QCOMPARE(int(currentMode), int(InsertPen));
        QVERIFY(bar.toolAction(ToolBar::Pen)->isChecked());
        QVERIFY(!bar.toolAction(ToolBar::Line)->isChecked());
        QCOMPARE(bar.currentToolAction(), bar.toolAction(ToolBar::Pen));
    }

    void commandActionsEmitTheirSignals()
    {
        ToolBar bar(QStringLiteral("Tools"));
        const QList<QPair<QAction *, void (ToolBar::*)()>> cases = {
            {bar.fileAction(ToolBar::OpenProject), &ToolBar::signalOpenProject},
            {bar.fileAction(ToolBar::OpenPicture), &ToolBar::signalOpenPicture},
            {bar.fileAction(ToolBar::SaveCurrentImage), &ToolBar::signalSaveCurrentImage},
            {bar.fileAction(ToolBar::SaveOriginalImage), &ToolBar::signalSaveOriginalImage},
            {bar.fileAction(ToolBar::SaveAs), &ToolBar::signalSaveAs},
            {bar.fileAction(ToolBar::ExportReport), &ToolBar::exportReportBtnPressed},
            {bar.editAction(ToolBar::Roll), &ToolBar::signalRoll},
            {bar.editAction(ToolBar::DeleteItem), &ToolBar::signalDeleteItem},
            {bar.editAction(ToolBar::ProjectInformation), &ToolBar::projectInfoPressed},
            {bar.editAction(ToolBar::Correction), &ToolBar::correctionsBtnPressed},
            {bar.editAction(ToolBar::MagneticDeclination), &ToolBar::magneticDeclinationCorrectionBtnPressed},
            {bar.editAction(ToolBar::DiameterCorrection), &ToolBar::diameterCorrectionBtnPressed},
            {bar.editAction(ToolBar::Show3D), &ToolBar::signalShowCurrent3DImage},
        };
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const auto &c : cases)
            spies.emplace_back(new QSignalSpy(&bar, c.second));
        QSignalSpy real(&bar, &ToolBar::signalToolRealChanged);
        for (const auto &c : cases)
            c.first->trigger();
        // Every command fired exactly its own signal, and none is a tool.
        for (const auto &spy : spies)
            QCOMPARE(spy->count(), 1);
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
        combo->setCurrentIndex(3);
        QCOMPARE(ItemStyle::instance()->color(), QColor(Qt::green));
        bar.colorChanged(17); // no such item: no colour
        QVERIFY(!ItemStyle::instance()->color().isValid());
        combo->setCurrentIndex(0);
        QCOMPARE(ItemStyle::instance()->color(), QColor(Qt::black));
        // Each swatch is plainly filled with its colour.
        for (int i = 0; i < combo->count(); ++i) {
            const QColor color = combo->itemData(i).value<QColor>();
            const QImage image = combo->itemIcon(i).pixmap(16, 16).toImage();
            for (const QPoint &p : {QPoint(0, 0), QPoint(15, 15), QPoint(0, 15), QPoint(8, 8)})
                QCOMPARE(image.pixelColor(p), color);
        }

        QSpinBox *width = bar.widthSpinBox();
        width->setValue(50);
        QCOMPARE(ItemStyle::instance()->lineWidth(), 50);
        width->setValue(51);
        QCOMPARE(width->value(), 50);
        width->setValue(0);
        QCOMPARE(ItemStyle::instance()->lineWidth(), 1);
        width->setValue(8);
    }

    // Colour names longer than the box, as a translation may have them, are
    // shown whole in the open list.
    void colourListShowsWholeNames()
    {
        QMainWindow window;
        ToolBar *bar = showInWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QComboBox *combo = bar->colorComboBox();
        for (bool translated : {false, true}) {
            if (translated)
                retranslateMarked(bar);
            combo->showPopup();
            QAbstractItemView *list = combo->view();
            QTRY_VERIFY(list->isVisible());
            for (int i = 0; i < combo->count(); ++i) {
                const int wanted = list->sizeHintForIndex(list->model()->index(i, 0)).width();
                QVERIFY2(list->viewport()->width() >= wanted,
                         qPrintable(QStringLiteral("\"%1\" needs %2 px, has %3")
                                        .arg(combo->itemText(i)).arg(wanted)
                                        .arg(list->viewport()->width())));
            }
            combo->hidePopup();
        }
    }

    // The width editor has room for the prefix and every value: a cut-off
    // "Width 50" would read "Width 5".
    void widthBoxShowsItsValue()
    {
        QMainWindow window;
        ToolBar *bar = showInWindow(window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSpinBox *spin = bar->widthSpinBox();
        auto *editor = spin->findChild<QLineEdit *>();
        QVERIFY(editor);
        for (int value : {8, 50}) {
            spin->setValue(value);
            QVERIFY2(editor->fontMetrics().horizontalAdvance(spin->text()) <= editor->width(),
                     qPrintable(QStringLiteral("%1 px for \"%2\"").arg(editor->width()).arg(spin->text())));
        }
        spin->setValue(8);
    }

    // Only the tool modes stay down; Save as and Save original image are
    // menu and key commands without a button.
    void commandButtonsDoNotStayDown()
    {
        QMainWindow window;
        ToolBar *bar = showInWindow(window);
        window.resize(400, 1000);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!buttonOf(*bar, bar->fileAction(ToolBar::SaveAs)));
        QVERIFY(!buttonOf(*bar, bar->fileAction(ToolBar::SaveOriginalImage)));
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
        // Show 3D and About keep their keys.
        QVERIFY(owner.contains(QKeySequence(QStringLiteral("Ctrl+D")).toString()));
        QVERIFY(owner.contains(QKeySequence(QStringLiteral("Ctrl+A")).toString()));
        // Tools need a key of their own (Dip is reachable by key only).
        ToolBar *bar = w.toolBar();
        for (QAction *a : bar->toolGroupActions())
            if (a != bar->toolAction(ToolBar::GridLines))
                QVERIFY2(!a->shortcut().isEmpty(), qPrintable(a->text()));
    }

    // The test above and the one below once more on a Linux desktop's
    // platform, whose standard keys differ (its Delete binding also holds Ctrl+D).
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
        ToolBar *bar = showInWindow(window);
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

    void retranslation()
    {
        ToolBar bar(QStringLiteral("Tools"));
        retranslateMarked(&bar);
        for (QAction *a : bar.fileGroupActions() + bar.editGroupActions() + bar.toolGroupActions()) {
            QVERIFY2(a->text().endsWith(QLatin1Char('#')), qPrintable(a->text()));
            QVERIFY2(a->toolTip().endsWith(QLatin1Char('#')), qPrintable(a->toolTip()));
        }
        QVERIFY(bar.colorComboBox()->toolTip().endsWith(QLatin1Char('#')));
        QCOMPARE(bar.colorComboBox()->itemText(4), QStringLiteral("blue#"));
        // The colour stays with its entry.
        QCOMPARE(bar.colorComboBox()->itemData(4).value<QColor>(), QColor(Qt::blue));
        QVERIFY(bar.widthSpinBox()->prefix().endsWith(QLatin1Char('#')));
    }
};

QTEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
