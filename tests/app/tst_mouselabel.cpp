// Cursor read-out: depth in metres and direction / azimuth of a scene column.

#include "mouselabel.h"

#include <QTest>
#include <QTranslator>

namespace {
// Turns every text of MouseLabel into "<text>#".
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *,
                      int) const override
    {
        if (QLatin1String(context) == QLatin1String("MouseLabel"))
            return QString::fromUtf8(sourceText) + QLatin1Char('#');
        return QString();
    }
    bool isEmpty() const override { return false; }
};
} // namespace

class TestMouseLabel : public QObject
{
    Q_OBJECT
private slots:
    void singleInstance()
    {
        QVERIFY(MouseLabel::instance());
        QCOMPARE(MouseLabel::instance(), MouseLabel::instance());
        QCOMPARE(MouseLabel::instance()->quadrantNames,
                 QStringList({"NE", "ES", "SW", "WN"}));
        QCOMPARE(MouseLabel::instance()->widthPx(), 400);
    }

    void readOut_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("depth");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("text");
        // Column = x - 1300.
        QTest::newRow("ES 135") << 1450 << 12345 << 400 << "depth 1.234  direct ES135";
        QTest::newRow("E 90") << 1400 << 10000 << 400 << "depth 1.000  direct E90";
        QTest::newRow("N left edge") << 1300 << 0 << 400 << "depth 0.000  direct N0";
        QTest::newRow("N right edge") << 1700 << 0 << 400 << "depth 0.000  direct N360";
        QTest::newRow("NE") << 1301 << 5 << 400 << "depth 0.001  direct NE1";
        QTest::newRow("S") << 1500 << 0 << 400 << "depth 0.000  direct S180";
        QTest::newRow("SW") << 1550 << 0 << 400 << "depth 0.000  direct SW225";
        QTest::newRow("W") << 1600 << 0 << 400 << "depth 0.000  direct W270";
        QTest::newRow("WN") << 1699 << 0 << 400 << "depth 0.000  direct WN359";
        QTest::newRow("left of image") << 1000 << 0 << 400 << "depth 0.000  direct N0";
        QTest::newRow("right of image") << 2500 << 0 << 400 << "depth 0.000  direct N360";
        QTest::newRow("negative depth") << 1400 << -80 << 400 << "depth 0  direct E90";
        // Odd width: E at round(101 * 0.25) = 25, S at round(50.5) = 51.
        QTest::newRow("odd width E") << 1325 << 0 << 101 << "depth 0.000  direct E89";
        QTest::newRow("odd width S") << 1351 << 0 << 101 << "depth 0.000  direct S182";
        QTest::newRow("odd width ES") << 1350 << 0 << 101 << "depth 0.000  direct ES178";
        // Halves round upwards: 1/8 of 360 on a width of 16 -> 22.5 -> 23.
        QTest::newRow("half up") << 1301 << 0 << 16 << "depth 0.000  direct NE23";
        QTest::newRow("metres 3 decimals") << 1400 << 1234567 << 400 << "depth 123.457  direct E90";
    }

    void readOut()
    {
        QFETCH(int, x);
        QFETCH(int, depth);
        QFETCH(int, width);
        QFETCH(QString, text);
        MouseLabel *label = MouseLabel::instance();
        label->showPosition(x, depth, width);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->widthPx(), width);
    }

    void withoutDepthScaleTheRowIsTheDepth()
    {
        // Without a page the main window passes row - 120 as the depth.
        MouseLabel *label = MouseLabel::instance();
        label->showPosition(1400, 100 - 120, 400);
        QVERIFY(label->text().startsWith(QStringLiteral("depth 0  ")));
        label->showPosition(1400, 5120 - 120, 400);
        QVERIFY(label->text().startsWith(QStringLiteral("depth 0.500  ")));
    }

    void wordsAreTranslated()
    {
        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        MouseLabel *label = MouseLabel::instance();
        label->showPosition(1400, 10000, 400);
        const QString text = label->text();
        QCoreApplication::removeTranslator(&translator);
        // Only the two words are texts; directions and numbers are not.
        QCOMPARE(text, QStringLiteral("depth #1.000  direct #E90"));
    }

    void noImageWidthDoesNotDivideByZero()
    {
        MouseLabel *label = MouseLabel::instance();
        label->showPosition(1500, 0, 0);
        QCOMPARE(label->text(), QStringLiteral("depth 0.000  direct N0"));
    }
};

QTEST_MAIN(TestMouseLabel)
#include "tst_mouselabel.moc"
