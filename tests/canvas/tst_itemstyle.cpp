// The process-wide drawing style and tool mode: their start-up values (the
// tool bar, the scene and every item rely on them), the fixed mode numbers,
// and the debug line written whenever the text font is set.

#include "itemstyle.h"
#include "mode.h"

#include <QtTest>

class TestItemStyle : public QObject
{
    Q_OBJECT

private slots:
    // Runs first: nothing in this process has touched the style before.
    void startValuesOnFirstUse();
    void oneRecordForTheWholeProgram();
    void modeNumbersAreFixed();
    void settingTheFontWritesItsDebugLine();
};

void TestItemStyle::startValuesOnFirstUse()
{
    QCOMPARE(currentMode, Pointer);

    // Created on first use; its font is set like any later one.
    QTest::ignoreMessage(QtDebugMsg, "Font name: \"Times\" point size: 12");
    const ItemStyle *style = ItemStyle::instance();
    QVERIFY(style);
    QCOMPARE(style->color(), QColor(Qt::black));
    QCOMPARE(style->lineWidth(), 8);
    QCOMPARE(style->drawing(), false);
    QCOMPARE(style->font().family(), QStringLiteral("Times"));
    QCOMPARE(style->font().pixelSize(), 12);
    QCOMPARE(style->font().weight(), 50);
    QCOMPARE(style->font().italic(), false);
    QCOMPARE(style->textColor(), QColor(Qt::black));
    QCOMPARE(style->gridSize(), QSize(10, 10));
    QCOMPARE(style->gridVisible(), false);
    QCOMPARE(style->zoom(), 1.0);
}

void TestItemStyle::oneRecordForTheWholeProgram()
{
    ItemStyle *style = ItemStyle::instance();
    QCOMPARE(ItemStyle::instance(), style);
    style->setLineWidth(3);
    style->setColor(Qt::red);
    style->setGridSize(50, 20);
    QCOMPARE(ItemStyle::instance()->lineWidth(), 3);
    QCOMPARE(ItemStyle::instance()->color(), QColor(Qt::red));
    QCOMPARE(ItemStyle::instance()->gridSize(), QSize(50, 20));
    style->setLineWidth(8);
    style->setColor(Qt::black);
    style->setGridSize(10, 10);
}

void TestItemStyle::modeNumbersAreFixed()
{
    // The tool bar maps its buttons to these numbers; 2 is not a tool.
    QCOMPARE(int(InsertLine), 0);
    QCOMPARE(int(InsertArrow), 1);
    QCOMPARE(int(InsertText), 3);
    QCOMPARE(int(FitCurve), 4);
    QCOMPARE(int(InsertPen), 5);
    QCOMPARE(int(InsertAngle), 6);
    QCOMPARE(int(Pointer), 7);
    QCOMPARE(int(InsertRuler), 8);
    QCOMPARE(int(InsertDip), 9);
    QCOMPARE(int(MeasureLength), 10);
    QCOMPARE(int(MeasureAngle), 11);
    QCOMPARE(int(MarkLithology), 12);
    QCOMPARE(int(IrregularArea), 13);
}

void TestItemStyle::settingTheFontWritesItsDebugLine()
{
    QFont font(QStringLiteral("Courier"), 30);
    font.setPixelSize(20);
    QTest::ignoreMessage(QtDebugMsg, "Font name: \"Courier\" point size: 20");
    ItemStyle::instance()->setFont(font);
    QCOMPARE(ItemStyle::instance()->font(), font);

    // Every time, even for the same font again.
    QTest::ignoreMessage(QtDebugMsg, "Font name: \"Courier\" point size: 20");
    ItemStyle::instance()->setFont(font);
}

QTEST_MAIN(TestItemStyle)
#include "tst_itemstyle.moc"
