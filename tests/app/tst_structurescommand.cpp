// The Structures command of the main window: the window with the project's
// picks, the tadpole plot of the current page beside it, and the answer
// without a project.

#include <QAction>
#include <QDockWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include "mainwindow.h"
#include "modalwatcher.h"
#include "projectinfo.h"
#include "shelltestsupport.h"
#include "structurepickstore.h"
#include "structurescontroller.h"
#include "structureswindow.h"
#include "tadpoleplot.h"

class TestStructuresCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void withoutProject();
    void windowAndTadpoleShowTheProjectsPicks();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
};

void TestStructuresCommand::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
}

void TestStructuresCommand::withoutProject()
{
    MainWindow w;
    ModalWatcher watcher;
    w.structuresController()->structuresAct()->trigger();
    QTRY_COMPARE(watcher.count(), 1);
    QCOMPARE(w.structuresController()->structuresWindow(), nullptr);
}

void TestStructuresCommand::windowAndTadpoleShowTheProjectsPicks()
{
    const QString path = ShellTest::makeProject(m_dir, QStringLiteral("picks.prj"), {QStringLiteral("--to"), QStringLiteral("10")});
    QVERIFY(!path.isEmpty());
    StructurePickStore store(path);
    const QVector<double> depths{5000, 20000, 70000}; // 0.5 m, 2 m, 7 m
    for (double depth : depths) {
        StructurePick pick;
        pick.depth = depth;
        pick.dip = 30.0 + depth / 10000.0;
        pick.dipDirection = 120.0;
        QVERIFY(store.add(&pick));
    }

    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, path);
    StructuresController *structures = w.structuresController();
    QVERIFY(w.viewMenu()->actions().contains(structures->structuresAct()));

    structures->structuresAct()->trigger();
    QCOMPARE(watcher.count(), 0);
    StructuresWindow *window = structures->structuresWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->picks().size(), 3);

    // The tadpole plot beside the page: the picks of 0 - 5 m, then of 5 - 10 m.
    QSignalSpy refreshed(structures, &StructuresController::tadpoleRefreshed);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    structures->tadpoleDock()->toggleViewAction()->trigger();
    QTRY_VERIFY(refreshed.count() >= 1);
    QCOMPARE(structures->tadpolePlot()->picks().size(), 2);
    QCOMPARE(structures->tadpolePlot()->depthFrom(), 0.0);
    QCOMPARE(structures->tadpolePlot()->depthTo(), 50000.0);

    refreshed.clear();
    w.handleNextImages();
    SHELL_WAIT_READ(&w);
    QTRY_VERIFY(refreshed.count() >= 1);
    QCOMPARE(structures->tadpolePlot()->picks().size(), 1);
    QCOMPARE(structures->tadpolePlot()->picks().first().depth, 70000.0);
    QCOMPARE(structures->tadpolePlot()->depthFrom(), 50000.0);
}

QTEST_MAIN(TestStructuresCommand)
#include "tst_structurescommand.moc"
