// Labels of finished measure-length, measure-angle and mark-lithology lines:
// their texts and arithmetic, and keeping or dropping the measurement.

#include <QGraphicsLineItem>
#include <QPen>
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
    void inclinationArithmetic();
    void neverNanOrInfinite();
    void acceptedLabelKeepsTheLine();
    void refusedOrEmptyMeasurementIsDropped();
    void otherItemsGetNoLabel();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    MainWindow *m_window = nullptr;
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
    m_window = new MainWindow;
    m_window->openProjectFile(path);
    SHELL_WAIT_READ(m_window);
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
    // Same azimuth (east, 90 degrees), 10 cm apart in a 0.1 m hole: 45 degrees.
    const QString points = QStringLiteral("(H:10.000m, E90d) - (H:10.100m, E90d)");
    QCOMPARE(m_window->measurementLabelText(12, m_top, m_below),
             points + QStringLiteral("\ninclinationE90D, inclinationAngle45.00D"));

    // 127 rows at 1273.88 rows per metre.
    QCOMPARE(m_window->measurementLabelText(11, m_top, m_below),
             points + QStringLiteral("\nL = 0.100m  "));
    QCOMPARE(m_window->measurementLabelText(13, m_top, m_below),
             points + QStringLiteral("\nL = 0.100m  inclinationE90D, inclinationAngle45.00D"));

    // Direction names and azimuths of the read-out; quadrants between them.
    QCOMPARE(m_window->measurementLabelText(11, QPoint(1300, 120), QPoint(1450, 120)),
             QStringLiteral("(H:10.000m, N0d) - (H:10.000m, ES135d)\nL = 0.118m  "));
    QCOMPARE(m_window->measurementLabelText(1, m_top, m_below), QString());
}

void TestMeasurementLabels::inclinationArithmetic()
{
    QCOMPARE(QString::number(MainWindow::inclinationAngle(10.0f, 90.0f, 10.1f, 90.0f, 0.1), 'f', 2),
             QStringLiteral("45.00"));
    // The order of the points does not matter.
    QCOMPARE(QString::number(MainWindow::inclinationAngle(10.1f, 90.0f, 10.0f, 90.0f, 0.1), 'f', 2),
             QStringLiteral("45.00"));
    // Same azimuth: arctan(|h1 - h2| / d).
    const double expected = std::atan(0.05f / 0.2) * 180.0 / 3.1415;
    QVERIFY(std::fabs(MainWindow::inclinationAngle(2.0f, 10.0f, 2.05f, 10.0f, 0.2) - expected) < 1e-3);
    // The angle grows towards 90 as the azimuths move apart.
    const double near = MainWindow::inclinationAngle(10.0f, 90.0f, 10.1f, 90.0f, 0.1);
    const double apart = MainWindow::inclinationAngle(10.0f, 170.0f, 10.1f, 20.0f, 0.1);
    QVERIFY(apart > near);
    QVERIFY(apart < 90.01);
}

void TestMeasurementLabels::neverNanOrInfinite()
{
    // West then east: exactly 180 degrees apart, the quotient is unbounded.
    const QPoint west(1600, 120);
    const QPoint east(1400, 247);
    const QString text = m_window->measurementLabelText(13, west, east);
    const QRegularExpression notANumber(QStringLiteral("[-+]?(nan|inf)"),
                                        QRegularExpression::CaseInsensitiveOption);
    // Words such as "inclinationAngle" contain the letters; numbers must not.
    QString numbers = text;
    numbers.remove(QStringLiteral("inclinationAngle")).remove(QStringLiteral("inclination"));
    QVERIFY2(!numbers.contains(notANumber), qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral("inclinationAngle90.00D")), qPrintable(text));
    QCOMPARE(MainWindow::inclinationAngle(10.0f, 270.0f, 10.1f, 90.0f, 0.1),
             MainWindow::inclinationAngle(10.0f, 270.0f, 10.1f, 90.0f, 0.1));
    // Straight across the hole with a depth difference: a vertical plane.
    QVERIFY(std::isfinite(MainWindow::inclinationAngle(10.0f, 270.0f, 10.1f, 90.0f, 0.1)));
    QCOMPARE(QString::number(MainWindow::inclinationAngle(10.0f, 270.0f, 10.1f, 90.0f, 0.1), 'f', 2),
             QStringLiteral("90.00"));
    QCOMPARE(QString::number(MainWindow::inclinationAngle(10.0f, 0.0f, 10.1f, 180.0f, 0.1), 'f', 2),
             QStringLiteral("90.00"));
    QCOMPARE(QString::number(MainWindow::inclinationAngle(10.0f, 270.0f, 10.0f, 90.0f, 0.1), 'f', 2),
             QStringLiteral("0.00"));
    // No diameter known.
    QVERIFY(std::isfinite(MainWindow::inclinationAngle(1.0f, 0.0f, 1.0f, 0.0f, 0.0)));
    QCOMPARE(MainWindow::inclinationAngle(1.0f, 0.0f, 1.0f, 0.0f, 0.0), 0.0);

    // A zero-length line: length 0, angle 0.
    const QString zero = m_window->measurementLabelText(13, m_top, m_top);
    QVERIFY2(zero.endsWith(QStringLiteral("\nL = 0.000m  inclinationE90D, inclinationAngle0.00D")),
             qPrintable(zero));
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
                                           "inclinationE90D, inclinationAngle45.00D"));
    QCOMPARE(label->font().family(), QStringLiteral("Times"));
    QCOMPARE(label->font().pointSize(), 50);
    QCOMPARE(label->font().weight(), int(QFont::Light));
    QVERIFY(!label->font().italic());
    QCOMPARE(label->pen().color(), QColor(Qt::red));
    QCOMPARE(label->pen().widthF(), 0.0);
    QVERIFY(label->pen().isCosmetic());
    QCOMPARE(label->pen().style(), Qt::SolidLine);
    QCOMPARE(label->pen().capStyle(), Qt::SquareCap);
    QCOMPARE(label->pen().joinStyle(), Qt::BevelJoin);
    QCOMPARE(label->brush().color(), QColor(Qt::red));
    QCOMPARE(label->brush().style(), Qt::SolidPattern);
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

QTEST_MAIN(TestMeasurementLabels)
#include "tst_measurementlabels.moc"
