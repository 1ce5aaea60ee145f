// Labels and values of the command line's tables line up in a terminal,
// whatever mix of Chinese and Latin text they hold.

#include <QtTest>

#include "terminaltext.h"

using Rows = QVector<QPair<QString, QString>>;

class TestTerminalText : public QObject
{
    Q_OBJECT

private slots:
    void valuesStartInOneColumn_data();
    void valuesStartInOneColumn();
};

void TestTerminalText::valuesStartInOneColumn_data()
{
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<QList<int>>("labelColumns");   // counted by hand
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("column");                // where every value starts

    const Rows mixed{{QStringLiteral("文件："), QStringLiteral("/tmp/a.prj")},
                     {QStringLiteral("Pieces:"), QStringLiteral("12")},
                     {QStringLiteral("深度范围："), QStringLiteral("1.00 m 至 9.00 m")},
                     // e + combining acute accent: one column
                     {QStringLiteral("Date de\u0301but:"), QStringLiteral("2026.1.2")}};
    const QList<int> mixedColumns{6, 7, 10, 11};
    QTest::newRow("short labels") << mixed << mixedColumns << 18 << 18;
    QTest::newRow("a label wider than the minimum")
        << (Rows(mixed) << qMakePair(QStringLiteral("检测单位全称与联系方式："), QStringLiteral("x")))
        << (QList<int>(mixedColumns) << 24) << 18 << 26;
    QTest::newRow("full-width Latin")
        << Rows{{QStringLiteral("ＡＢＣ:"), QStringLiteral("1")}, {QStringLiteral("ABC:"), QStringLiteral("2")}}
        << QList<int>{7, 4} << 0 << 9;
}

void TestTerminalText::valuesStartInOneColumn()
{
    QFETCH(Rows, rows);
    QFETCH(QList<int>, labelColumns);
    QFETCH(int, minimum);
    QFETCH(int, column);
    const QStringList lines = TerminalText::alignedRows(rows, minimum);
    QCOMPARE(lines.size(), rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const QString spaces(column - labelColumns.at(i), QLatin1Char(' '));
        QCOMPARE(lines.at(i), rows.at(i).first + spaces + rows.at(i).second);
    }
}

QTEST_MAIN(TestTerminalText)

#include "tst_terminaltext.moc"
