// LAS 2.0 export of structure picks: the file parses back to the picks'
// values, with or without a hole survey, and a write that cannot complete
// leaves nothing under the target's name.

#include <QBuffer>
#include <QMap>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

#include "laswriter.h"

namespace {

// A small reader of what the writer promises: sections, "MNEM.UNIT DATA :
// DESCRIPTION" header lines, the curve list, the type codes of ~Other and
// the data rows.
struct LasFile
{
    QMap<QString, QString> version, well;
    QStringList curves, units;
    QMap<int, QString> typeOfCode;
    QVector<QVector<double>> rows;

    bool parse(const QByteArray &bytes)
    {
        QString section;
        for (QString line : QString::fromUtf8(bytes).split('\n')) {
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            if (line.startsWith('~')) {
                section = line.mid(1, 1).toUpper();
                continue;
            }
            if (section == "A") {
                QVector<double> row;
                for (const QString &field : line.split(' ', Qt::SkipEmptyParts)) {
                    bool ok = false;
                    row << field.toDouble(&ok);
                    if (!ok)
                        return false;
                }
                rows << row;
                continue;
            }
            if (section == "O") {
                const QRegularExpressionMatch m = QRegularExpression("^TYPE (\\d+) = (\\w+)$").match(line);
                if (m.hasMatch())
                    typeOfCode[m.captured(1).toInt()] = m.captured(2);
                continue;
            }
            const int dot = line.indexOf('.');
            const int colon = line.lastIndexOf(':');
            if (dot < 0 || colon < dot)
                return false;
            const QString mnemonic = line.left(dot).trimmed();
            const QString rest = line.mid(dot + 1, colon - dot - 1);
            const int space = rest.indexOf(' ');
            const QString unit = space < 0 ? rest : rest.left(space);
            const QString data = space < 0 ? QString() : rest.mid(space).trimmed();
            if (section == "V")
                version[mnemonic] = data;
            else if (section == "W")
                well[mnemonic] = data;
            else if (section == "C") {
                curves << mnemonic;
                units << unit;
            }
        }
        return true;
    }
};

StructurePick pick(double metres, double dip, double direction, const QString &type)
{
    StructurePick p;
    p.depth = metres * 10000.0;
    p.dip = dip;
    p.dipDirection = direction;
    p.type = type;
    return p;
}

} // namespace

class TstLasWriter : public QObject
{
    Q_OBJECT

private slots:
    void parsesBackToThePicks_data();
    void parsesBackToThePicks();
    void failedWriteLeavesNoFile();
};

void TstLasWriter::parsesBackToThePicks_data()
{
    QTest::addColumn<QVector<StructurePick>>("picks");
    QTest::addColumn<bool>("survey");
    QTest::addColumn<double>("step");
    const QVector<StructurePick> irregular{pick(12.5, 40, 200, "vein"), pick(3.25, 15.5, 359.5, "fracture"),
                                           pick(7.0, qQNaN(), 10, "bedding"),
                                           pick(9.125, 80, 0, "unknown kind")};
    QTest::newRow("irregular, inclined hole") << irregular << true << 0.0;
    QTest::newRow("irregular, no survey") << irregular << false << 0.0;
    QTest::newRow("evenly spaced") << QVector<StructurePick>{pick(1, 10, 20, "breakout"), pick(1.5, 30, 40, "other"),
                                                             pick(2, 50, 60, "fracture")}
                                   << false << 0.5;
    QTest::newRow("one pick") << QVector<StructurePick>{pick(4, 33, 44, "fracture")} << true << 0.0;
}

void TstLasWriter::parsesBackToThePicks()
{
    QFETCH(QVector<StructurePick>, picks);
    QFETCH(bool, survey);
    QFETCH(double, step);
    const TrueOrientation orientation(survey ? HoleSurvey::straight(35, 120) : HoleSurvey());
    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    QVERIFY(LasWriter::write(picks, orientation, {"ZK-7", "Survey team", "2026/01/02"}, &buffer));

    LasFile las;
    QVERIFY(las.parse(buffer.data()));
    QCOMPARE(las.version.value("VERS"), QString("2.0"));
    QCOMPARE(las.version.value("WRAP"), QString("NO"));
    QCOMPARE(las.well.value("WELL"), QString("ZK-7"));
    QCOMPARE(las.well.value("NULL").toDouble(), -999.25);
    QCOMPARE(las.well.value("STEP").toDouble(), step);
    QStringList expectedCurves{"DEPT", "DIP", "DAZI"};
    if (survey)
        expectedCurves << "TDIP" << "TAZI";
    expectedCurves << "TYPE";
    QCOMPARE(las.curves, expectedCurves);
    QCOMPARE(las.units.mid(0, 3), (QStringList{"M", "DEG", "DEG"}));

    QVector<StructurePick> sorted = picks;
    std::sort(sorted.begin(), sorted.end(),
              [](const StructurePick &a, const StructurePick &b) { return a.depth < b.depth; });
    QCOMPARE(las.well.value("STRT").toDouble(), sorted.first().depth / 10000.0);
    QCOMPARE(las.well.value("STOP").toDouble(), sorted.last().depth / 10000.0);
    QCOMPARE(las.rows.size(), sorted.size());
    auto same = [](double written, double value) {
        return std::isfinite(value) ? std::fabs(written - value) < 0.006 : written == -999.25;
    };
    for (int i = 0; i < sorted.size(); ++i) {
        const StructurePick &p = sorted.at(i);
        const QVector<double> &row = las.rows.at(i);
        QCOMPARE(row.size(), expectedCurves.size());
        QVERIFY(same(row[0], p.depth / 10000.0));
        QVERIFY2(same(row[1], p.dip), qPrintable(QString::number(row[1])));
        QVERIFY(same(row[2], p.dipDirection));
        if (survey) {
            double dip = 0, direction = 0;
            orientation.toTrue(p.depth, p.dip, p.dipDirection, &dip, &direction);
            QVERIFY(same(row[3], dip));
            QVERIFY(same(row[4], direction));
        }
        const QString type = las.typeOfCode.value(int(row.last()));
        QCOMPARE(type, StructurePick::types().contains(p.type) ? p.type : QString("other"));
    }
}

void TstLasWriter::failedWriteLeavesNoFile()
{
    QTemporaryDir dir;
    // The target's folder is a file: nothing can be written beside it.
    QFile blocker(dir.filePath("folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    QVERIFY(!LasWriter::write({pick(1, 2, 3, "vein")}, TrueOrientation(), {},
                              dir.filePath("folder/picks.las"), &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"folder"});
}

QTEST_GUILESS_MAIN(TstLasWriter)
#include "tst_laswriter.moc"
