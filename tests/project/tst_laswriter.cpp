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

// A small reader of what the writer promises: "MNEM.UNIT DATA : DESCRIPTION"
// header lines by section ("W:WELL" gives the data, "C:DIP" the unit), the
// curve list, the type codes of ~Other and the data rows.
struct LasFile
{
    QMap<QString, QString> header;
    QStringList curves;
    QMap<int, QString> typeOfCode;
    QVector<QVector<double>> rows;

    bool parse(const QByteArray &bytes)
    {
        const QRegularExpression headerLine("^([^.]+)\\.(\\S*)(.*):[^:]*$"), typeLine("^TYPE (\\d+) = (\\w+)$");
        QString section;
        for (QString line : QString::fromUtf8(bytes).split('\n')) {
            line = line.trimmed();
            const QRegularExpressionMatch h = headerLine.match(line), t = typeLine.match(line);
            bool ok = true;
            if (line.isEmpty() || line.startsWith('#')) {
            } else if (line.startsWith('~')) {
                section = line.mid(1, 1).toUpper();
            } else if (section == "A") {
                rows << QVector<double>();
                for (const QString &field : line.split(' ', Qt::SkipEmptyParts))
                    rows.last() << (ok ? field.toDouble(&ok) : 0.0);
            } else if (section == "O") {
                if (t.hasMatch())
                    typeOfCode[t.captured(1).toInt()] = t.captured(2);
            } else if ((ok = h.hasMatch())) {
                const QString mnemonic = h.captured(1).trimmed();
                header[section + ':' + mnemonic] = section == "C" ? h.captured(2) : h.captured(3).trimmed();
                if (section == "C")
                    curves << mnemonic;
            }
            if (!ok)
                return false;
        }
        return true;
    }
};

StructurePick pick(double metres, double dip, double direction, const QString &type)
{
    return {0, metres * 10000.0, dip, direction, 0.0, type, {}};
}

} // namespace

class TstLasWriter : public QObject
{
    Q_OBJECT

private slots:
    void parsesBackToThePicks_data()
    {
        QTest::addColumn<QVector<StructurePick>>("picks");
        QTest::addColumn<bool>("survey");
        QTest::addColumn<double>("step");
        const QVector<StructurePick> irregular{pick(12.5, 40, 200, "vein"), pick(3.25, 15.5, 359.5, "fracture"),
                                               pick(7.0, qQNaN(), 10, "bedding"), pick(9.125, 80, 0, "unknown kind")};
        QTest::newRow("irregular, inclined hole") << irregular << true << 0.0;
        QTest::newRow("irregular, no survey") << irregular << false << 0.0;
        const QVector<StructurePick> even{pick(1, 10, 20, "breakout"), pick(1.5, 30, 40, "other"),
                                          pick(2, 50, 60, "fracture")};
        QTest::newRow("evenly spaced") << even << false << 0.5;
        QTest::newRow("one pick") << QVector<StructurePick>{pick(4, 33, 44, "fracture")} << true << 0.0;
    }

    void parsesBackToThePicks()
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
        QCOMPARE(las.header["W:WELL"], QString("ZK-7"));
        QCOMPARE(las.header["W:NULL"].toDouble(), -999.25);
        QCOMPARE((QStringList{las.header["C:DEPT"], las.header["C:DIP"], las.header["C:DAZI"]}),
                 (QStringList{"M", "DEG", "DEG"}));
        QCOMPARE(las.header["W:STEP"].toDouble(), step);
        QCOMPARE(las.curves, (survey ? QStringList{"DEPT", "DIP", "DAZI", "TDIP", "TAZI", "TYPE"}
                                     : QStringList{"DEPT", "DIP", "DAZI", "TYPE"}));

        std::sort(picks.begin(), picks.end(),
                  [](const StructurePick &a, const StructurePick &b) { return a.depth < b.depth; });
        QCOMPARE(las.header["W:STRT"].toDouble(), picks.first().depth / 10000.0);
        QCOMPARE(las.header["W:STOP"].toDouble(), picks.last().depth / 10000.0);
        QCOMPARE(las.rows.size(), picks.size());
        for (int i = 0; i < picks.size(); ++i) {
            const StructurePick &p = picks.at(i);
            QVector<double> want{p.depth / 10000.0, p.dip, p.dipDirection};
            if (survey) {
                double dip = 0, direction = 0;
                orientation.toTrue(p.depth, p.dip, p.dipDirection, &dip, &direction);
                want << dip << direction;
            }
            const QVector<double> &row = las.rows.at(i);
            QCOMPARE(row.size(), las.curves.size());
            for (int c = 0; c < want.size(); ++c)
                QVERIFY2(std::isfinite(want[c]) ? std::fabs(row[c] - want[c]) < 0.006 : row[c] == -999.25,
                         qPrintable(QString("row %1, %2: %3").arg(i).arg(las.curves[c]).arg(row[c])));
            QCOMPARE(las.typeOfCode.value(int(row.last())),
                     StructurePick::types().contains(p.type) ? p.type : QString("other"));
        }
    }

    void failedWriteLeavesNoFile()
    {
        QTemporaryDir dir;
        // The target's folder is a file: nothing can be written beside it.
        QFile blocker(dir.filePath("folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QString error;
        QVERIFY(!LasWriter::write({pick(1, 2, 3, "vein")}, TrueOrientation(), {}, dir.filePath("folder/picks.las"),
                                  &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"folder"});
    }
};

QTEST_GUILESS_MAIN(TstLasWriter)
#include "tst_laswriter.moc"
