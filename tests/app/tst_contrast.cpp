// Wall contrast through the main window: every setting of the contrast dock
// changes the pieces on the page and never the project file; a page read
// with a setting on shows each arriving piece through it, exactly as the
// whole page done again would.

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDoubleSpinBox>
#include <QFile>
#include <QSlider>
#include <QtTest>

#include "contrastcontroller.h"
#include "contrastdock.h"
#include "graphicsscene.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "shelltestsupport.h"

namespace {

QImage shownOf(QGraphicsPixmapItem *item)
{
    return item->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage originalOf(QGraphicsPixmapItem *item)
{
    return ContrastController::originalOf(item).convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestContrast : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void settingChangesThePageNotTheFile_data();
    void settingChangesThePageNotTheFile();
    void arrivingPiecesGetTheSetting_data();
    void arrivingPiecesGetTheSetting();
    void stretchedPageHasNoSeams();
    void reportPictureFilter();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
};

void TestContrast::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
    m_project = ShellTest::makeProject(m_dir, QStringLiteral("wall.prj"), {QStringLiteral("--to"), QStringLiteral("10")});
    QVERIFY(!m_project.isEmpty());
}

void TestContrast::init()
{
    QVERIFY(!readingInProgress);
}

void TestContrast::settingChangesThePageNotTheFile_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<double>("value");
    QTest::newRow("brightness") << "brightness" << 40.0;
    QTest::newRow("darker") << "brightness" << -40.0;
    QTest::newRow("contrast") << "contrast" << 250.0;
    QTest::newRow("gamma") << "gamma" << 250.0;
    QTest::newRow("automatic stretch") << "stretch" << 1.0;
    QTest::newRow("dynamic normalisation") << "normalise" << 0.5;
    QTest::newRow("normalisation over 0.1 m") << "normalise" << 0.1;
    QTest::newRow("normalisation over 3 m") << "normalise" << 3.0;
}

void TestContrast::settingChangesThePageNotTheFile()
{
    QFETCH(QString, control);
    QFETCH(double, value);
    const QByteArray before = ShellTest::fileHash(m_project);
    {
        MainWindow w;
        ModalWatcher watcher;
        SHELL_OPEN_PROJECT(&w, m_project);
        QCOMPARE(watcher.count(), 0);
        const QList<QGraphicsPixmapItem *> pieces = w.contrastController()->pieces();
        QCOMPARE(pieces.size(), 5);
        for (QGraphicsPixmapItem *piece : pieces)
            QCOMPARE(shownOf(piece), originalOf(piece));

        ContrastDock *dock = w.contrastDock();
        if (control == QLatin1String("brightness"))
            dock->brightnessSlider()->setValue(int(value));
        else if (control == QLatin1String("contrast"))
            dock->contrastSlider()->setValue(int(value));
        else if (control == QLatin1String("gamma"))
            dock->gammaSlider()->setValue(int(value));
        else if (control == QLatin1String("stretch"))
            dock->autoStretchBox()->setChecked(true);
        else {
            dock->normalisationBox()->setChecked(true);
            dock->windowBox()->setValue(value);
        }
        // The dock hands the setting over after a pause.
        QTRY_VERIFY(w.contrastController()->contrast() != WallContrast());
        if (control == QLatin1String("normalise")) {
            QCOMPARE(w.contrastController()->windowMetres(), value);
            QCOMPARE(w.contrastController()->windowRows(), int(value * 10000 * pixelsPerUnit));
        }
        for (QGraphicsPixmapItem *piece : pieces) {
            const QImage shown = shownOf(piece);
            QCOMPARE(shown.size(), originalOf(piece).size());
            QVERIFY2(shown != originalOf(piece), qPrintable(control));
        }
        QCOMPARE(ShellTest::fileHash(m_project), before);

        // Reset: the page shows the pieces as they were read.
        dock->reset();
        for (QGraphicsPixmapItem *piece : pieces)
            QCOMPARE(shownOf(piece), originalOf(piece));
    }
    QCOMPARE(ShellTest::fileHash(m_project), before);
}

void TestContrast::arrivingPiecesGetTheSetting_data()
{
    QTest::addColumn<bool>("dynamic"); // else the automatic stretch
    QTest::newRow("dynamic normalisation") << true;
    QTest::newRow("automatic stretch") << false;
}

void TestContrast::arrivingPiecesGetTheSetting()
{
    QFETCH(bool, dynamic);
    const QByteArray before = ShellTest::fileHash(m_project);
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);

    ContrastDock *dock = w.contrastDock();
    (dynamic ? dock->normalisationBox() : dock->autoStretchBox())->setChecked(true);
    dock->gammaSlider()->setValue(150);
    dock->applyNow();
    const WallContrast setting = w.contrastController()->contrast();
    QVERIFY(dynamic ? setting.dynamicNormalisation : setting.autoStretch);

    // The next page's pieces arrive one by one with the setting on.
    w.handleNextImages();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 0);
    QCOMPARE(w.contrastController()->contrast(), setting);
    const QList<QGraphicsPixmapItem *> pieces = w.contrastController()->pieces();
    QCOMPARE(pieces.size(), 5);
    QVector<QImage> arrived;
    for (QGraphicsPixmapItem *piece : pieces) {
        arrived << shownOf(piece);
        QVERIFY(arrived.last() != originalOf(piece));
    }
    // Done again over the whole page: the same pictures, so the pieces met
    // without a seam as they arrived.
    w.contrastController()->reapply();
    for (int i = 0; i < pieces.size(); ++i)
        QVERIFY2(shownOf(pieces.at(i)) == arrived.at(i), qPrintable(QString("piece %1").arg(i)));
    QCOMPARE(ShellTest::fileHash(m_project), before);
}

void TestContrast::stretchedPageHasNoSeams()
{
    // Pieces of one wall whose tones differ piece by piece: a stretch of
    // each piece on its own turns every joint into a brightness step.
    const QString project = ShellTest::makeProject(m_dir, "seams.prj", {"--to", "5", "--piece", "0.5", "--seed", "7"});
    QVERIFY(!project.isEmpty());
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, project);
    QCOMPARE(watcher.count(), 0);
    w.contrastDock()->autoStretchBox()->setChecked(true);
    w.contrastDock()->applyNow();
    const QList<QGraphicsPixmapItem *> pieces = w.contrastController()->pieces();
    QVERIFY(pieces.size() >= 5);
    // The mean lightness of each row of the page as shown, and its steps
    // from row to row: where two pieces join, and elsewhere.
    QVector<double> means, joints, elsewhere;
    for (QGraphicsPixmapItem *piece : pieces) {
        const QImage shown = shownOf(piece);
        for (int y = 0; y < shown.height(); ++y) {
            double sum = 0.0;
            for (int x = 0; x < shown.width(); ++x)
                sum += qGray(shown.pixel(x, y));
            means << sum / shown.width();
            const double step = means.size() > 1 ? std::fabs(means.last() - means.at(means.size() - 2)) : 0.0;
            (y == 0 ? joints : elsewhere) << step;
        }
    }
    const double atJoints = *std::max_element(joints.begin(), joints.end());
    std::sort(elsewhere.begin(), elsewhere.end());
    // No larger than the steps of the wall's own rows (their 99th percentile).
    const double usual = elsewhere.at(int(elsewhere.size() * 0.99));
    QVERIFY2(atJoints <= usual, qPrintable(QString("joints %1, elsewhere %2").arg(atJoints).arg(usual)));
    QVERIFY(*std::max_element(means.begin(), means.end()) - *std::min_element(means.begin(), means.end()) > 20);
}

void TestContrast::reportPictureFilter()
{
    // What a report block gets: nothing to do without a setting; with
    // dynamic normalisation, the window keeps its length in metres at the
    // block picture's own scale (0.5 m of a 1 m picture of 400 rows = 200).
    ContrastController controller(nullptr);
    QVERIFY(!controller.pictureFilter());

    QImage ramp(8, 400, QImage::Format_RGB32);
    for (int y = 0; y < ramp.height(); ++y)
        for (int x = 0; x < ramp.width(); ++x)
            ramp.setPixel(x, y, qRgb(100 + (y * 7 + x) % 40, 100 + (y * 7 + x) % 40, 110));
    WallContrast c;
    c.dynamicNormalisation = true;
    controller.setSetting(c, 0.5);
    const auto filter = controller.pictureFilter();
    QVERIFY(filter);
    QCOMPARE(filter(ramp, 1.0), equaliseSlidingWindow(ramp, 200));
    QCOMPARE(filter(ramp, 2.0), equaliseSlidingWindow(ramp, 100));
    // A later setting does not reach a filter already handed out.
    controller.setSetting(WallContrast(), 0.5);
    QCOMPARE(filter(ramp, 1.0), equaliseSlidingWindow(ramp, 200));
}

QTEST_MAIN(TestContrast)
#include "tst_contrast.moc"
