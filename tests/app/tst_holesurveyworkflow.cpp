// True orientation through the window on a sample of an inclined hole: a
// pick clicked on the trace of a planted plane, the survey set in its dialog
// (a bad file refused with its reason, the project unchanged), the azimuth
// reference set in the project information, the pick list and the LAS
// export showing the planted plane's true orientation.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>
#include <cmath>

#include "frequencytrackcontroller.h"
#include "graphicsfrequencytrackitem.h"
#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicsview.h"
#include "holesurveydialog.h"
#include "holesurveystore.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "picklistdock.h"
#include "projectinfo.h"
#include "projectinfodialog.h"
#include "shelltestsupport.h"
#include "structurepickstore.h"
#include "toolbar.h"

static double angleGap(double a, double b) { return std::fabs(std::fmod(a - b + 540.0, 360.0) - 180.0); }

class TestHoleSurveyWorkflow : public QObject
{
    Q_OBJECT

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
    // The planted plane: true orientation and its trace on the wall.
    double m_depth = 2.5, m_dip = 0, m_direction = 0, m_apparentDip = 0, m_apparentDirection = 0;

private slots:
    void initTestCase()
    {
        QVERIFY(m_settingsDir.isValid());
        ShellTest::setUp(m_settingsDir, 0);
        const QString csv = m_dir.filePath("truth.csv");
        // A 40° hole towards 160°, its image's azimuth measured from the high side.
        m_project = ShellTest::makeProject(m_dir, "inclined.prj",
                                           {"--to", "5", "--width", "800", "--plane", "2.5:50:140",
                                            "--inclination", "40", "--hole-azimuth", "160", "--reference",
                                            "highside", "--features-csv", csv});
        QVERIFY(!m_project.isEmpty());
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList f;
        for (const QString &line : QString::fromUtf8(file.readAll()).split('\n'))
            f = f.value(3) == "fracture" ? f : line.trimmed().split(',');
        QCOMPARE(f.value(3), QString("fracture"));
        std::tie(m_dip, m_direction, m_apparentDip, m_apparentDirection) =
            std::make_tuple(f[1].toDouble(), f[2].toDouble(), f[4].toDouble(), f[5].toDouble());
    }

    void pickSurveyReferenceAndExport()
    {
        MainWindow w;
        ModalWatcher watcher;
        w.resize(1200, 900);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        SHELL_OPEN_PROJECT(&w, m_project);
        w.view()->setTransform(QTransform());

        // Pick the trace where the wall shows it.
        const GraphicsLeftScaleItem *left = w.leftScale();
        const double width = w.scene()->sceneRect().width() - 2600;
        const double radius = ProjectInfo::instance()->diameter() / 2.0;
        w.toolBar()->toolAction(ToolBar::StructurePickTool)->trigger();
        for (double azimuth : {20.0, 80.0, 150.0, 210.0, 280.0, 340.0}) {
            const double depth = m_depth * 10000
                + radius * std::tan(qDegreesToRadians(m_apparentDip))
                      * std::cos(qDegreesToRadians(azimuth - m_apparentDirection));
            const QPointF p(1300 + azimuth / 360.0 * width,
                            120 + (depth - left->startDepth()) * left->pixelsPerDepthUnit());
            w.view()->centerOn(p);
            QTest::mouseClick(w.view()->viewport(), Qt::LeftButton, Qt::NoModifier, w.view()->mapFromScene(p));
        }
        QTest::keyClick(w.view(), Qt::Key_Return);
        QCOMPARE(StructurePickStore(m_project).allPicks().size(), 1);
        PickListDock *dock = w.structurePicks()->dock();
        QAbstractItemModel *table = dock->table()->model();
        auto shown = [table](int column) { return table->index(0, column).data(Qt::UserRole).toDouble(); };
        // No survey yet: the list shows the trace's own (measured) orientation.
        QVERIFY(!dock->windowTitle().contains("true"));
        QVERIFY(std::fabs(shown(PickListDock::DipColumn) - m_apparentDip) < 1.0);

        // A survey file without an azimuth column is refused with its reason.
        const QByteArray before = ShellTest::fileHash(m_project);
        const QString bad = m_dir.filePath("bad.csv");
        QFile badFile(bad);
        QVERIFY(badFile.open(QIODevice::WriteOnly) && badFile.write("MD,INC\n0,40\n") > 0);
        badFile.close();
        HoleSurveyDialog dialog(m_project, &w);
        dialog.show();
        dialog.csvEdit()->setText(bad);
        watcher.answerMessageBox(QMessageBox::Ok);
        dialog.accept();
        QTRY_COMPARE(watcher.count(), 1);
        QVERIFY2(watcher.texts().first().contains("azimuth"), qPrintable(watcher.texts().first()));
        QVERIFY(dialog.isVisible());
        QCOMPARE(ShellTest::fileHash(m_project), before);

        // A straight hole: stored, and the list turns to true values, here
        // still with north as the reference (the wrong one for this image).
        dialog.straightButton()->setChecked(true);
        dialog.inclinationBox()->setValue(40.0);
        dialog.azimuthBox()->setValue(160.0);
        QSignalSpy stored(&dialog, &HoleSurveyDialog::surveyStored);
        dialog.accept();
        QVERIFY(stored.wait(10000));
        QCOMPARE(HoleSurveyStore(m_project).read().stations().size(), 1);
        QVERIFY(dock->windowTitle().contains("true"));
        const double northDirection = shown(PickListDock::DirectionColumn);
        QVERIFY2(angleGap(northDirection, m_direction) > 5.0, qPrintable(QString::number(northDirection)));

        // The image is referenced to the high side: set so in the project information.
        ProjectInfoDialog info;
        info.fillFromRecord();
        QVERIFY(info.referenceBox()->isEnabled());
        info.referenceBox()->setCurrentIndex(1);
        info.handleSavePressed();
        QCOMPARE(HoleSurveyStore(m_project).read().reference(), HoleSurvey::HighSide);
        QVERIFY2(std::fabs(shown(PickListDock::DipColumn) - m_dip) < 1.0,
                 qPrintable(QString("%1 against %2").arg(shown(PickListDock::DipColumn)).arg(m_dip)));
        QVERIFY(angleGap(shown(PickListDock::DirectionColumn), m_direction) < 3.0);

        // The LAS export carries measured and true values.
        const QString las = m_dir.filePath("picks.las");
        QVERIFY(w.structurePicks()->exportPicks(las));
        QFile file(las);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList row = QString::fromUtf8(file.readAll())
                                    .section("~ASCII DEPT DIP DAZI TDIP TAZI TYPE\n", 1)
                                    .split(' ', Qt::SkipEmptyParts);
        QCOMPARE(row.size(), 6);
        QVERIFY(std::fabs(row[3].toDouble() - m_dip) < 1.0 && angleGap(row[4].toDouble(), m_direction) < 3.0);
        QCOMPARE(row[5].trimmed(), QString("1"));
    }

    // The View menu's track counts the page's picks per metre, in the window
    // chosen, Terzaghi-weighted on request, and is no drawing to be saved.
    void frequencyTrackOfThePage()
    {
        const QString path = ShellTest::makeProject(m_dir, "track.prj", {"--to", "8", "--width", "400"});
        QVERIFY(!path.isEmpty());
        StructurePickStore store(path);
        // Page 0 - 5 m: three picks in the first metre, one at 60° in the third,
        // one beyond the page.
        for (double metres : {0.2, 0.5, 0.9, 2.5, 6.0}) {
            StructurePick pick{0, metres * 10000.0, metres == 2.5 ? 60.0 : 0.0};
            QVERIFY(store.add(&pick));
        }
        MainWindow w;
        ModalWatcher watcher;
        w.resize(1000, 700);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        SHELL_OPEN_PROJECT(&w, path);
        auto *controller = w.findChild<FrequencyTrackController *>();
        QVERIFY(controller);
        QVERIFY(!controller->track());

        QSignalSpy refreshed(controller, &FrequencyTrackController::trackRefreshed);
        controller->showAction()->trigger();
        QVERIFY(refreshed.wait(10000));
        QVERIFY(controller->track());
        // Picks per metre of each window, to 1e-9.
        const auto totals = [controller] {
            QVector<double> t;
            for (const auto &bin : controller->track()->bins())
                t << std::round(bin.total * 1e9) / 1e9;
            return t;
        };
        QCOMPARE(totals(), (QVector<double>{3, 0, 1, 0, 0}));
        // Part of the page, not a drawing: closing asks nothing.
        QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount());

        controller->terzaghiAction()->trigger();
        QVERIFY(refreshed.wait(10000));
        QVERIFY(controller->track()->title().contains("Terzaghi"));
        QCOMPARE(totals(), (QVector<double>{3, 0, 2, 0, 0}));

        controller->menu()->actions().at(4)->trigger(); // the 2 m window
        QVERIFY(refreshed.wait(10000));
        QCOMPARE(totals(), (QVector<double>{1.5, 1, 0}));

        controller->showAction()->trigger();
        QVERIFY(!controller->track());
        QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount());
    }
};

QTEST_MAIN(TestHoleSurveyWorkflow)
#include "tst_holesurveyworkflow.moc"
