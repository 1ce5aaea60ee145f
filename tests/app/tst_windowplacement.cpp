// Start-up placement of the main window: bounded to the screen's free area
// and centred in it, never at negative offsets.

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QtTest>

#include "mainwindow.h"
#include "shelltestsupport.h"
#include "toolbar.h"
#include "windowplacement.h"

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void boundedSize_data();
    void boundedSize();
    void centredPosition_data();
    void centredPosition();
    void mainWindowStaysOnScreen();

private:
    QTemporaryDir m_settingsDir;
};

void TestWindowPlacement::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
}

void TestWindowPlacement::boundedSize_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("frameExtra");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("expected");

    QTest::newRow("4000 on 1600x1000") << QSize(4000, 4000) << QSize(0, 0)
                                       << QRect(0, 0, 1600, 1000) << QSize(1600, 1000);
    QTest::newRow("frame taken off") << QSize(4000, 4000) << QSize(10, 40)
                                     << QRect(0, 0, 1600, 1000) << QSize(1590, 960);
    QTest::newRow("panel at the top") << QSize(4000, 4000) << QSize(0, 0)
                                      << QRect(0, 32, 1920, 1048) << QSize(1920, 1048);
    QTest::newRow("small window kept") << QSize(800, 600) << QSize(10, 40)
                                       << QRect(0, 0, 1600, 1000) << QSize(800, 600);
    QTest::newRow("only the height bounded") << QSize(1200, 4000) << QSize(0, 0)
                                             << QRect(0, 0, 1600, 1000) << QSize(1200, 1000);
}

void TestWindowPlacement::boundedSize()
{
    QFETCH(QSize, requested);
    QFETCH(QSize, frameExtra);
    QFETCH(QRect, available);
    QFETCH(QSize, expected);
    QCOMPARE(WindowPlacement::boundedSize(requested, frameExtra, available), expected);
}

void TestWindowPlacement::centredPosition_data()
{
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QPoint>("expected");

    QTest::newRow("centred") << QSize(1000, 600) << QRect(0, 0, 1600, 1000) << QPoint(300, 200);
    // (1601 - 1000) / 2 = 300 with the division rounding towards zero.
    QTest::newRow("odd room") << QSize(1000, 600) << QRect(0, 0, 1601, 1003) << QPoint(300, 201);
    QTest::newRow("fills the screen") << QSize(1600, 1000) << QRect(0, 0, 1600, 1000)
                                      << QPoint(0, 0);
    QTest::newRow("offset free area") << QSize(1000, 600) << QRect(64, 32, 1536, 968)
                                      << QPoint(64 + 268, 32 + 184);
    // Larger than the screen: at the corner, never at (-1200, -1500).
    QTest::newRow("too large") << QSize(4000, 4000) << QRect(0, 0, 1600, 1000) << QPoint(0, 0);
    QTest::newRow("too large, offset") << QSize(4000, 4000) << QRect(64, 32, 1536, 968)
                                       << QPoint(64, 32);
    QTest::newRow("too wide only") << QSize(2000, 600) << QRect(0, 0, 1600, 1000)
                                   << QPoint(0, 200);
}

void TestWindowPlacement::centredPosition()
{
    QFETCH(QSize, frame);
    QFETCH(QRect, available);
    QFETCH(QPoint, expected);
    QCOMPARE(WindowPlacement::centredPosition(frame, available), expected);
}

void TestWindowPlacement::mainWindowStaysOnScreen()
{
    MainWindow w;
    // The constructor still asks for its large size.
    QCOMPARE(w.size(), QSize(4000, 4000));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    WindowPlacement::fitAndCentre(&w);

    const QRect available = w.screen()->availableGeometry();
    QVERIFY2(available.width() < 4000 && available.height() < 4000,
             "the test screen must be smaller than the requested size");
    const QRect frame = w.frameGeometry();
    QVERIFY(frame.x() >= available.x());
    QVERIFY(frame.y() >= available.y());
    if (w.minimumSizeHint().width() <= available.width()
        && w.minimumSizeHint().height() <= available.height()) {
        QVERIFY2(available.contains(frame), qPrintable(QStringLiteral("frame %1,%2 %3x%4")
                                                           .arg(frame.x()).arg(frame.y())
                                                           .arg(frame.width()).arg(frame.height())));
    }
    // Menu bar and tool bar are inside the visible window.
    const QRect menuBar(w.menuBar()->mapTo(&w, QPoint(0, 0)), w.menuBar()->size());
    QVERIFY(w.rect().contains(menuBar));
    const QRect bar(w.toolBar()->mapTo(&w, QPoint(0, 0)), w.toolBar()->size());
    QVERIFY(w.rect().intersects(bar));
    QVERIFY(bar.left() >= 0 && bar.top() >= 0);
}

QTEST_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
