// Tool bar: tool modes and check marks, the command signals, colour and width,
// menu flags, unique shortcuts, icons and retranslation.

#include "toolbar.h"

#include "globals.h"
#include "itemstyle.h"
#include "mode.h"

#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QMessageBox>
#include <QSet>
#include <QSignalSpy>
#include <QSpinBox>
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

int checkedCount(const ToolBar &bar)
{
    int n = 0;
    for (QAction *a : bar.toolGroupActions())
        n += a->isChecked() ? 1 : 0;
    return n;
}
} // namespace

class TestToolBar : public QObject
{
    Q_OBJECT
private slots:
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
        QCOMPARE(real.count(), 1);
    }

    void switchingToolsLeavesOneChecked()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QSignalSpy grid(&bar, &ToolBar::NotifyShowGridLines);
        bar.toolAction(ToolBar::Pen)->trigger();
        bar.toolAction(ToolBar::GridLines)->trigger();
        QCOMPARE(grid.count(), 1);
        QVERIFY(bar.toolAction(ToolBar::GridLines)->isChecked());
        // GridLines is no tool: the pen stays in use.
        QCOMPARE(int(currentMode), int(InsertPen));

        bar.toolAction(ToolBar::Line)->trigger();
        QCOMPARE(int(currentMode), int(InsertLine));
        QVERIFY(bar.toolAction(ToolBar::Line)->isChecked());
        QVERIFY(!bar.toolAction(ToolBar::Pen)->isChecked());
        QVERIFY(!bar.toolAction(ToolBar::GridLines)->isChecked());
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
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shownText = box->text();
            shownTitle = box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        });
        bar.toolAction(ToolBar::Line)->trigger();
        readingInProgress = false;
        QCOMPARE(shownText, QStringLiteral("Working now, Please Waiting!"));
        QCOMPARE(shownTitle, QStringLiteral("Prompt"));
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
        QVERIFY(show3D->isChecked());
        show3D->setEnabled(false);
        bar.handleShow3DFinish(QStringList());
        QVERIFY(!bar.is3DShowing());
        QVERIFY(!show3D->isChecked());
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

    void menuFlags()
    {
        ToolBar bar(QStringLiteral("Tools"));
        QCOMPARE(bar.fileGroupActions().size(), 6);
        QCOMPARE(bar.editGroupActions().size(), 7);
        QCOMPARE(bar.toolGroupActions().size(), 13);
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
        QMainWindow window;
        auto *bar = new ToolBar(QStringLiteral("Tools"), &window);
        window.addToolBar(Qt::LeftToolBarArea, bar);
        // The main window's own keys: Close, Alt+F4 (Exit) and Ctrl+A (About).
        QHash<QString, QString> owner = {
            {QKeySequence(QStringLiteral("Alt+F4")).toString(), "Exit"},
            {QKeySequence(QStringLiteral("Ctrl+A")).toString(), "About"},
        };
        for (const QKeySequence &k : QKeySequence::keyBindings(QKeySequence::Close))
            owner.insert(k.toString(), "Close");
        const QList<QAction *> all =
            bar->fileGroupActions() + bar->editGroupActions() + bar->toolGroupActions();
        for (QAction *a : all) {
            for (const QKeySequence &k : a->shortcuts()) {
                QVERIFY2(!owner.contains(k.toString()),
                         qPrintable(a->text() + " and " + owner.value(k.toString()) + " share "
                                    + k.toString()));
                owner.insert(k.toString(), a->text());
            }
        }
        // The keys that stay as they were.
        QCOMPARE(bar->toolAction(ToolBar::Line)->shortcut(), QKeySequence("Ctrl+L"));
        QCOMPARE(bar->toolAction(ToolBar::AngleTool)->shortcut(), QKeySequence("Ctrl+N"));
        QCOMPARE(bar->toolAction(ToolBar::Ruler)->shortcut(), QKeySequence("Ctrl+U"));
        QCOMPARE(bar->toolAction(ToolBar::Text)->shortcut(), QKeySequence("Ctrl+T"));
        QCOMPARE(bar->toolAction(ToolBar::GridLines)->shortcut(), QKeySequence());
        QCOMPARE(bar->editAction(ToolBar::Roll)->shortcut(), QKeySequence("Ctrl+R"));
        QCOMPARE(bar->editAction(ToolBar::DeleteItem)->shortcut(), QKeySequence(QKeySequence::Delete));
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

    void keysReachActionsWithoutButtons()
    {
        // Dip and Diameter correction have no placed button and no menu entry.
        QMainWindow window;
        auto *bar = new ToolBar(QStringLiteral("Tools"), &window);
        window.addToolBar(Qt::LeftToolBarArea, bar);
        window.setCentralWidget(new QWidget);
        window.show();
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
        // Placed buttons: 7 commands + 13 drawing; Dip, Correction, Diameter
        // correction, Show 3D, Save as and Save original image have none shown.
        auto isPlaced = [&bar](QToolButton *b) {
            return b->parentWidget() != &bar && !b->isHidden();
        };
        int placed = 0;
        for (QToolButton *b : bar.toolButtons())
            placed += isPlaced(b) ? 1 : 0;
        QCOMPARE(placed, 20);
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
