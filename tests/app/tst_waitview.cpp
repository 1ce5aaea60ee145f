// Wait overlay: set-up with and without a parent, activation, layout of the
// spinner panel and the animation phases and dots.

#include "waitview.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

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
