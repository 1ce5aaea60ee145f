// Labels of finished measure-length, measure-angle and mark-lithology lines:
// their texts and arithmetic, and keeping or dropping the measurement.

#include <QFile>
#include <QGraphicsLineItem>
#include <QRegularExpression>
#include <QtTest>
#include <cmath>

#include "graphicsanglemeasureitem.h"
#include "graphicsleftscaleitem.h"
#include "graphicslengthmeasureitem.h"
#include "graphicslineitem.h"
#include "graphicslithologymarkitem.h"
#include "graphicsscene.h"
#include "graphicstextitem.h"
#include "mainwindow.h"
#include "measurementlabel.h"
#include "modalwatcher.h"
#include "projectinfo.h"
#include "shelltestsupport.h"

namespace {

void pressOk(QWidget *dialog)
{
    QVERIFY(QMetaObject::invokeMethod(dialog, "okBtnClicked", Qt::DirectConnection));
}

void pressCancel(QWidget *dialog)
{
    static_cast<QDialog *>(dialog)->reject();
}

GraphicsTextItem *labelOf(QGraphicsItem *line)
{
    for (QGraphicsItem *child : line->childItems()) {
        if (child->type() == GraphicsTextItem::Type)
            return static_cast<GraphicsTextItem *>(child);
    }
    return nullptr;
}

} // namespace

class TestMeasurementLabels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void labelTexts();
    void inclinationArithmetic_data();
    void inclinationArithmetic();
    void acrossTheHole();
    void lengthWithoutProjectScale();
    void acceptedLabelKeepsTheLine();
    void refusedOrEmptyMeasurementIsDropped();
    void otherItemsGetNoLabel();
    // Opens another project: keep last.
    void plantedFractureDip_data();
    void plantedFractureDip();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    MainWindow *m_window = nullptr;
    // A wider image of a wider hole with planted fractures, and their CSV.
    QString m_fractures;
    QString m_featuresCsv;
    // Scene rows of 10.000 m and 10.100 m on the page from 10 m.
    QPoint m_top{1400, 120};
    QPoint m_below{1400, 247};
};

void TestMeasurementLabels::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
    // 400 px around a hole of 100 mm (1000 depth units, 0.1 m).
    const QString path = ShellTest::makeProject(m_dir, QStringLiteral("m.prj"),
                                                {QStringLiteral("--to"), QStringLiteral("20")});
    QVERIFY(!path.isEmpty());
    // 2000 px around a hole of 200 mm: a pixel is 0.3 mm of wall.
    m_featuresCsv = m_dir.filePath(QStringLiteral("features.csv"));
    m_fractures = ShellTest::makeProject(
        m_dir, QStringLiteral("fractures.prj"),
        {QStringLiteral("--to"), QStringLiteral("14"), QStringLiteral("--width"),
         QStringLiteral("2000"), QStringLiteral("--diameter"), QStringLiteral("200"),
         QStringLiteral("--seed"), QStringLiteral("7"), QStringLiteral("--features-csv"),
         m_featuresCsv});
    QVERIFY(!m_fractures.isEmpty());
    m_window = new MainWindow;
    SHELL_OPEN_PROJECT(m_window, path);
    m_window->fileInfoWidget()->setStartValue(10);
    m_window->fileInfoWidget()->setEndValue(15);
    m_window->handleGoPressed();
    SHELL_WAIT_READ(m_window);
    QCOMPARE(ProjectInfo::instance()->pageStart(), 100000);
    QCOMPARE(ProjectInfo::instance()->diameter(), 1000);
    QVERIFY(m_window->leftScale());
    // The two rows read as 10.000 m and 10.100 m.
    QCOMPARE(m_window->leftScale()->yToDepth(m_top.y() - 120), 100000);
    QCOMPARE(qRound(m_window->leftScale()->yToDepth(m_below.y() - 120) / 10.0), 10100);
}

void TestMeasurementLabels::cleanupTestCase()
{
    delete m_window;
}

void TestMeasurementLabels::labelTexts()
{
    // Same azimuth (east, 90 degrees), 10 cm apart: no horizontal chord, a
    // vertical plane.
    const QString points = QStringLiteral("(H:10.000m, E90d) - (H:10.100m, E90d)");
    QCOMPARE(m_window->measurementLabelText(12, m_top, m_below),
             points + QStringLiteral("\ninclinationE90D, inclinationAngle90.00D"));

    // 127 rows at 1273.88 rows per metre.
    QCOMPARE(m_window->measurementLabelText(11, m_top, m_below),
             points + QStringLiteral("\nL = 0.100m  "));
    QCOMPARE(m_window->measurementLabelText(13, m_top, m_below),
             points + QStringLiteral("\nL = 0.100m  inclinationE90D, inclinationAngle90.00D"));

    // Direction names and azimuths of the read-out; quadrants between them.
    QCOMPARE(m_window->measurementLabelText(11, QPoint(1300, 120), QPoint(1450, 120)),
             QStringLiteral("(H:10.000m, N0d) - (H:10.000m, ES135d)\nL = 0.118m  "));
    QCOMPARE(m_window->measurementLabelText(1, m_top, m_below), QString());
}

void TestMeasurementLabels::inclinationArithmetic_data()
{
    QTest::addColumn<float>("h1");
    QTest::addColumn<float>("a1");
    QTest::addColumn<float>("h2");
    QTest::addColumn<float>("a2");
    QTest::addColumn<double>("diameter");
    QTest::addColumn<QString>("angle");

    // Straight across a 0.1 m hole, 10 cm apart in depth: the chord is the
    // diameter, 45 degrees, whichever point comes first.
    QTest::newRow("across") << 10.0f << 270.0f << 10.1f << 90.0f << 0.1 << "45.00";
    QTest::newRow("across, reversed") << 10.1f << 90.0f << 10.0f << 270.0f << 0.1 << "45.00";
    QTest::newRow("across north") << 10.0f << 0.0f << 10.1f << 180.0f << 0.1 << "45.00";
    // A quarter turn apart: chord d * sin(45), arctan(0.1 / 0.0707).
    QTest::newRow("quarter") << 10.0f << 0.0f << 10.1f << 90.0f << 0.1 << "54.74";
    // The same azimuth: no chord, a vertical plane; no diameter known likewise.
    QTest::newRow("same azimuth") << 10.0f << 90.0f << 10.1f << 90.0f << 0.1 << "90.00";
    QTest::newRow("no diameter") << 1.0f << 0.0f << 1.1f << 180.0f << 0.0 << "90.00";
    // The same depth: a horizontal plane; one point twice gives no angle.
    QTest::newRow("level") << 10.0f << 270.0f << 10.0f << 90.0f << 0.1 << "0.00";
    QTest::newRow("one point") << 1.0f << 0.0f << 1.0f << 0.0f << 0.0 << "0.00";
}

void TestMeasurementLabels::inclinationArithmetic()
{
    QFETCH(float, h1);
    QFETCH(float, a1);
    QFETCH(float, h2);
    QFETCH(float, a2);
    QFETCH(double, diameter);
    QFETCH(QString, angle);
    const double value = MeasurementLabel::inclinationAngle(h1, a1, h2, a2, diameter);
    QVERIFY(std::isfinite(value));
    QCOMPARE(QString::number(value, 'f', 2), angle);
}

void TestMeasurementLabels::acrossTheHole()
{
    // The upper point is west, the deeper one east, exactly 180 degrees
    // apart: the chord is the diameter and the plane dips east, whichever end
    // the line was drawn from; no number is NaN or infinite.
    const QPoint westHigh(1600, 120);
    const QPoint eastLow(1400, 247);
    const QRegularExpression notANumber(QStringLiteral("[-+]?(nan|inf)"),
                                        QRegularExpression::CaseInsensitiveOption);
    for (const QString &text : {m_window->measurementLabelText(12, westHigh, eastLow),
                                m_window->measurementLabelText(12, eastLow, westHigh),
                                m_window->measurementLabelText(13, westHigh, eastLow)}) {
        QVERIFY2(text.endsWith(QStringLiteral("inclinationE90D, inclinationAngle45.00D")), qPrintable(text));
        // Words such as "inclinationAngle" contain the letters; numbers must not.
        QString numbers = text;
        numbers.remove(QStringLiteral("inclinationAngle")).remove(QStringLiteral("inclination"));
        QVERIFY2(!numbers.contains(notANumber), qPrintable(text));
    }

    // A zero-length line: length 0, angle 0.
    const QString zero = m_window->measurementLabelText(13, m_top, m_top);
    QVERIFY2(zero.endsWith(QStringLiteral("\nL = 0.000m  inclinationE90D, inclinationAngle0.00D")),
             qPrintable(zero));
}

void TestMeasurementLabels::lengthWithoutProjectScale()
{
    // A plain picture has no pixel factor: the length is known in pixels only.
    const double factor = pixelsPerUnit;
    pixelsPerUnit = 0.0;
    const QString length = m_window->measurementLabelText(11, QPoint(1400, 120), QPoint(1430, 160));
    const QString lithology = m_window->measurementLabelText(13, QPoint(1400, 120), QPoint(1430, 160));
    pixelsPerUnit = factor;
    QCOMPARE(length.section(QLatin1Char('\n'), 1),
             QStringLiteral("L = unknown (no project scale, 50 pixels)  "));
    QVERIFY2(lithology.section(QLatin1Char('\n'), 1)
                 .startsWith(QStringLiteral("L = unknown (no project scale, 50 pixels)  inclination")),
             qPrintable(lithology));
}

void TestMeasurementLabels::acceptedLabelKeepsTheLine()
{
    GraphicsScene *scene = m_window->scene();
    const int before = scene->items().size();
    auto *line = new GraphicsAngleMeasureItem(QLineF(m_top, m_below));
    scene->addItem(line);

    ModalWatcher watcher;
    watcher.answer(pressOk);
    m_window->handleItemInserted(line);
    QCOMPARE(watcher.count(), 1);
    QCoreApplication::processEvents();

    QVERIFY(scene->items().contains(line));
    GraphicsTextItem *label = labelOf(line);
    QVERIFY(label);
    QVERIFY(label->accepted());
    QCOMPARE(label->text(), QStringLiteral("(H:10.000m, E90d) - (H:10.100m, E90d)\n"
                                           "inclinationE90D, inclinationAngle90.00D"));
    // Beside the page, halfway between the two ends.
    QCOMPARE(label->scenePos(), QPointF(scene->sceneRect().width() - 1250, int((120 + 247) * 0.5)));
    QCOMPARE(scene->items().size(), before + 2);

    delete line;
    QCOMPARE(scene->items().size(), before);
}

void TestMeasurementLabels::refusedOrEmptyMeasurementIsDropped()
{
    GraphicsScene *scene = m_window->scene();
    const int before = scene->items().size();
    ModalWatcher watcher;

    // Cancel in the text dialog drops the measurement.
    auto *refused = new GraphicsLengthMeasureitem(QLineF(m_top, m_below));
    scene->addItem(refused);
    watcher.answer(pressCancel);
    m_window->handleItemInserted(refused);
    QCOMPARE(watcher.count(), 1);
    QVERIFY(!scene->items().contains(refused));
    QCOMPARE(scene->items().size(), before);

    // A line of length 0 goes even when its label is confirmed.
    auto *empty = new GraphicsLithologymarkitem(QLineF(m_top, m_top));
    scene->addItem(empty);
    watcher.answer(pressOk);
    m_window->handleItemInserted(empty);
    QCOMPARE(watcher.count(), 2);
    QVERIFY(!scene->items().contains(empty));
    QCOMPARE(scene->items().size(), before);
    // Freed once control is back in the event loop.
    QCoreApplication::processEvents();
}

void TestMeasurementLabels::otherItemsGetNoLabel()
{
    GraphicsScene *scene = m_window->scene();
    ModalWatcher watcher;
    auto *line = new GraphicsLineItem(QLineF(m_top, m_below));
    scene->addItem(line);
    m_window->handleItemInserted(line);
    m_window->handleItemInserted(nullptr);
    QCOMPARE(watcher.count(), 0);
    QVERIFY(line->childItems().isEmpty());
    delete line;
}

void TestMeasurementLabels::plantedFractureDip_data()
{
    QTest::addColumn<double>("depth");
    QTest::addColumn<double>("dip");
    QTest::addColumn<double>("dipDirection");

    QFile csv(m_featuresCsv);
    QVERIFY(csv.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split(QLatin1Char('\n'));
    int fractures = 0;
    for (const QString &line : lines) {
        const QStringList f = line.trimmed().split(QLatin1Char(','));
        if (f.size() != 4 || f.at(3) != QLatin1String("fracture"))
            continue;
        ++fractures;
        QTest::newRow(qPrintable(QStringLiteral("%1 m").arg(f.at(0))))
            << f.at(0).toDouble() << f.at(1).toDouble() << f.at(2).toDouble();
    }
    QVERIFY(fractures >= 2);
}

void TestMeasurementLabels::plantedFractureDip()
{
    QFETCH(double, depth);
    QFETCH(double, dip);
    QFETCH(double, dipDirection);

    if (ProjectInfo::instance()->projectPath() != m_fractures) {
        SHELL_OPEN_PROJECT(m_window, m_fractures);
        QCOMPARE(ProjectInfo::instance()->diameter(), 2000);
    }
    // A page of two metres around the fracture.
    const int start = qMax(0, int(depth) - 1);
    m_window->fileInfoWidget()->setStartValue(start);
    m_window->fileInfoWidget()->setEndValue(start + 2);
    m_window->handleGoPressed();
    SHELL_WAIT_READ(m_window);
    QCOMPARE(ProjectInfo::instance()->pageStart(), start * 10000);

    // The trace z(theta) = z0 + (D/2) tan(dip) cos(theta - dipdir): the
    // trough (deepest) at the dip direction, the crest opposite.
    const double diameter = 0.2;
    const double reach = diameter / 2.0 * std::tan(qDegreesToRadians(dip));
    const double width = m_window->scene()->sceneRect().width() - 2600.0;
    auto wallPoint = [&](double depthMetres, double azimuth) {
        const double x = 1300.0 + std::fmod(azimuth, 360.0) / 360.0 * width;
        const double y = m_window->leftScale()->depthToY(qRound(depthMetres * 10000.0));
        return QPointF(x, y);
    };
    const QPointF trough = wallPoint(depth + reach, dipDirection);
    const QPointF crest = wallPoint(depth - reach, dipDirection + 180.0);

    const QRegularExpression inclination(
        QStringLiteral("inclination\\D*(\\d+)D, inclinationAngle([0-9.]+)D$"));
    for (const QString &text : {m_window->measurementLabelText(12, crest, trough),
                                m_window->measurementLabelText(12, trough, crest)}) {
        const QRegularExpressionMatch m = inclination.match(text);
        QVERIFY2(m.hasMatch(), qPrintable(text));
        const double angle = m.captured(2).toDouble();
        QVERIFY2(std::fabs(angle - dip) < 1.0,
                 qPrintable(QStringLiteral("planted %1, measured %2: %3").arg(dip).arg(angle).arg(text)));
        // The direction is that of the deeper point, the trough.
        const double off = std::fmod(std::fabs(m.captured(1).toDouble() - dipDirection), 360.0);
        QVERIFY2(qMin(off, 360.0 - off) < 1.0, qPrintable(text));
    }
}

QTEST_MAIN(TestMeasurementLabels)
#include "tst_measurementlabels.moc"
