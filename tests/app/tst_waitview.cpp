// Wait overlay: set-up with and without a parent, activation, layout of the
// spinner panel and the animation phases and dots.

#include "waitview.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QtMath>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
bool isTitleGreen(const QColor &c)
{
    return c.green() > 200 && c.red() < 100 && c.blue() < 100;
}

// Rows [top, bottom] of the image that hold title-green pixels.
int greenPixelsInRows(const QImage &image, int top, int bottom)
{
    int n = 0;
    for (int y = qMax(0, top); y <= qMin(bottom, image.height() - 1); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += isTitleGreen(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}
} // namespace

class TestWaitView : public QObject
{
    Q_OBJECT
private slots:
    void withoutParentNothingIsSetUp()
    {
        WaitView view(nullptr, false, 0);
        QVERIFY(!view.timer());
        view.setActive(true);
        QVERIFY(!view.isVisible());
        QVERIFY(!view.isActive());
        QCOMPARE(view.phase(), 0);
        view.setTitle(QStringLiteral("x"));
        QCOMPARE(view.title(), QStringLiteral("x"));
        view.Close();
        QVERIFY(!view.isVisible());
    }

    void activationStartsAndStopsTheTimer()
    {
        QWidget parent;
        parent.setGeometry(100, 100, 1000, 700);
        parent.show();
        QPointer<WaitView> view = new WaitView(&parent, false, 0);
        QVERIFY(view->timer());
        QCOMPARE(view->timer()->interval(), 40);
        QVERIFY(view->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(view->testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(view->windowFlags() & Qt::FramelessWindowHint);

        view->setActive(true);
        QVERIFY(view->isActive());
        QVERIFY(view->timer()->isActive());
        QVERIFY(view->isVisible());
        QCOMPARE(view->size(), parent.size());

        view->setActive(false);
        QVERIFY(!view->timer()->isActive());
        QVERIFY(!view->isVisible());

        view->setActive(true);
        view->Close();
        QTRY_VERIFY(view.isNull());
    }

    void spinnerLayout()
    {
        QWidget parent;
        parent.resize(1000, 700);
        WaitView view(&parent, false, 0);
        view.setAttribute(Qt::WA_DeleteOnClose, false);
        view.ChangeWidgetSize(false, 0);
        // 460 x 250 panel centred in the 1000 x 700 view.
        QCOMPARE(view.panelRect().size(), QSize(460, 250));
        QCOMPARE(view.panelRect().center(), QRect(0, 0, 1000, 700).center());
        // Square of half the panel height, centred in the panel minus 60 px.
        QCOMPARE(view.spinnerRect().size(), QSize(125, 125));
        QCOMPARE(view.spinnerRect().center().x(), view.panelRect().center().x());
        const QRect upper(view.panelRect().topLeft(),
                          QSize(460, 250 - 60));
        QVERIFY(qAbs(view.spinnerRect().center().y() - upper.center().y()) <= 1);

        view.ChangeWidgetSize(false, 1);
        QCOMPARE(view.waitMode(), 1);
        QCOMPARE(view.panelRect(), QRect(0, 0, 1000, 700));
        QCOMPARE(view.spinnerRect(), QRect(0, 0, 1000, 700));
    }

    void phasesAndDots()
    {
        QWidget parent;
        parent.resize(800, 600);
        parent.show();
        QPointer<WaitView> view = new WaitView(&parent, false, 1);
        view->setTitle(QStringLiteral("Waiting for report"));
        view->setActive(true);
        view->timer()->stop(); // drive the animation by hand
        QCOMPARE(view->phase(), 0);
        QCOMPARE(view->displayedTitle(), QStringLiteral("Waiting for report"));

        QList<int> dotsSeen;
        for (int tick = 1; tick <= 25; ++tick) {
            view->DoAnimate();
            QCOMPARE(view->phase(), (tick * 40) % 1000);
            dotsSeen << view->displayedTitle().count(QLatin1Char('.'));
        }
        // One cycle per second (25 ticks of 40 ms): 0 .. 4 dots, back to 0.
        QCOMPARE(view->phase(), 0);
        QCOMPARE(dotsSeen.first(), 0);          // phase 40
        QCOMPARE(dotsSeen.at(4), 1);            // phase 200
        QCOMPARE(dotsSeen.at(23), 4);           // phase 960
        QCOMPARE(dotsSeen.last(), 0);           // phase 0 again
        QCOMPARE(*std::max_element(dotsSeen.begin(), dotsSeen.end()), 4);
        for (int i = 1; i < 24; ++i)
            QVERIFY(dotsSeen.at(i) >= dotsSeen.at(i - 1));

        // The real timer advances the phase as well.
        view->timer()->start();
        QTRY_VERIFY(view->phase() > 0);
        // Re-activation starts from phase 0.
        view->setActive(true);
        QCOMPARE(view->phase(), 0);
        view->Close();
        QTRY_VERIFY(view.isNull());
    }

    void spinnerModeShowsNoDots()
    {
        QWidget parent;
        WaitView view(&parent, false, 0);
        view.setAttribute(Qt::WA_DeleteOnClose, false);
        view.setTitle(QStringLiteral("Loading"));
        for (int i = 0; i < 20; ++i)
            view.DoAnimate();
        QCOMPARE(view.phase(), 800);
        QCOMPARE(view.displayedTitle(), QStringLiteral("Loading"));
    }

    void geometryFollowsParentOrScreen()
    {
        QWidget parent;
        parent.setGeometry(120, 80, 640, 480);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        WaitView view(&parent, false, 0);
        view.setAttribute(Qt::WA_DeleteOnClose, false);
        view.ChangeWidgetSize(false, 0);
        QCOMPARE(view.geometry(), QRect(parent.mapToGlobal(QPoint(0, 0)), parent.size()));
        view.ChangeWidgetSize(true, 2);
        QVERIFY(view.fullScreen());
        QCOMPARE(view.waitMode(), 2);
        QCOMPARE(view.geometry(), QGuiApplication::primaryScreen()->geometry());
        // Activation uses the stored choice.
        view.setActive(true);
        QCOMPARE(view.geometry(), QGuiApplication::primaryScreen()->geometry());
        view.setActive(false);
    }

    void spinnerModePainting()
    {
        QWidget parent;
        parent.resize(800, 600);
        WaitView view(&parent, false, 0);
        view.setAttribute(Qt::WA_DeleteOnClose, false);
        view.setTitle(QStringLiteral("Loading"));
        view.setActive(true);
        view.timer()->stop();
        QCOMPARE(view.phase(), 0);
        const QImage image = view.grab().toImage();
        const QRect spinner = view.spinnerRect();

        // Background: (60, 60, 60) at alpha 210.
        const QColor corner = image.pixelColor(1, 1);
        QVERIFY2(qAbs(corner.alpha() - 210) <= 2, qPrintable(QString::number(corner.alpha())));
        QVERIFY2(qAbs(corner.red() - 60) <= 2 && qAbs(corner.green() - 60) <= 2
                     && qAbs(corner.blue() - 60) <= 2,
                 qPrintable(corner.name()));

        // At phase 0 the green head of the ring lies just above the east
        // point of the circle (radius = a third of the spinner width).
        const QPointF centre = QRectF(spinner).center();
        const double radius = spinner.width() / 3.0;
        const double a = qDegreesToRadians(10.0);
        const QPoint head = (centre + QPointF(radius * qCos(a), -radius * qSin(a))).toPoint();
        QVERIFY2(isTitleGreen(image.pixelColor(head)), qPrintable(image.pixelColor(head).name()));
        // The centre of the ring stays background.
        QCOMPARE(image.pixelColor(centre.toPoint()), corner);

        // The title sits in the band 5 .. 54 px below the spinner.
        QVERIFY(greenPixelsInRows(image, spinner.bottom() + 6, spinner.bottom() + 55) > 0);
        QCOMPARE(greenPixelsInRows(image, 0, spinner.top() - 1), 0);
        view.setActive(false);
    }

    void textModePainting()
    {
        QWidget parent;
        parent.resize(800, 600);
        WaitView view(&parent, false, 1);
        view.setAttribute(Qt::WA_DeleteOnClose, false);
        view.setTitle(QStringLiteral("Waiting for preview"));
        view.setActive(true);
        view.timer()->stop();
        const QImage image = view.grab().toImage();
        // Title in the top band, no spinner anywhere below it.
        QVERIFY(greenPixelsInRows(image, 5, 54) > 0);
        QCOMPARE(greenPixelsInRows(image, 56, image.height() - 1), 0);
        view.setActive(false);
    }

    void paintsInBothModes()
    {
        // Rendering must work in both modes, with and without a title.
        QWidget parent;
        parent.resize(640, 480);
        for (int mode : {0, 1}) {
            WaitView view(&parent, false, mode);
            view.setAttribute(Qt::WA_DeleteOnClose, false);
            view.setTitle(mode ? QStringLiteral("Waiting for preview") : QString());
            view.setActive(true);
            view.DoAnimate();
            const QImage image = view.grab().toImage();
            QVERIFY(!image.isNull());
            // The background is the dark translucent fill.
            const QColor corner = image.pixelColor(2, 2);
            QVERIFY2(corner.red() < 120 && corner.green() < 120, qPrintable(corner.name()));
            view.setActive(false);
        }
    }
};

QTEST_MAIN(TestWaitView)
#include "tst_waitview.moc"
