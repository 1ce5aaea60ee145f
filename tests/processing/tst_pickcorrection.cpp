// Structure picks follow the corrections of the wall under them: stored picks
// land at their corrected depth, dip and dip direction, together with the
// wall or not at all.

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtMath>
#include <QtTest>

#include "correctiondialog.h"
#include "correctionfixture.h"
#include "samplefixture.h"
#include "structurepickstore.h"

using namespace ConversionFixture;
using namespace CorrectionFixture;

class TestPickCorrection : public QObject
{
    Q_OBJECT

private slots:
    void picksFollowTheWall_data();
    void picksFollowTheWall();

private:
    QTemporaryDir m_dir;
    int m_serial = 0;
};

void TestPickCorrection::picksFollowTheWall_data()
{
    QTest::addColumn<QString>("kind");     // depth, angle, diameter
    QTest::addColumn<int>("value");        // real depth mm, angle, real diameter mm
    QTest::addColumn<int>("width");
    QTest::addColumn<double>("turn");      // degrees the wall turns (whole columns)
    QTest::addColumn<QString>("trouble");  // "", cancel, refuse (the pick update fails), no picks

    QTest::newRow("hole 10 % deeper") << "depth" << 6600 << 400 << 0.0 << "";
    QTest::newRow("angle 90") << "angle" << 90 << 400 << 90.0 << "";
    QTest::newRow("angle -90") << "angle" << -90 << 400 << 270.0 << "";
    QTest::newRow("angle 1 on 1000 columns: 2 columns") << "angle" << 1 << 1000 << 0.72 << "";
    QTest::newRow("diameter 96 mm") << "diameter" << 96 << 400 << 0.0 << "";
    QTest::newRow("depth canceled") << "depth" << 6600 << 400 << 0.0 << "cancel";
    QTest::newRow("depth, picks refused") << "depth" << 6600 << 400 << 0.0 << "refuse";
    QTest::newRow("diameter, picks refused") << "diameter" << 96 << 400 << 0.0 << "refuse";
    QTest::newRow("depth, no picks") << "depth" << 6600 << 400 << 0.0 << "no picks";
    QTest::newRow("diameter, no picks") << "diameter" << 96 << 400 << 0.0 << "no picks";
}

void TestPickCorrection::picksFollowTheWall()
{
    QFETCH(QString, kind);
    QFETCH(int, value);
    QFETCH(int, width);
    QFETCH(double, turn);
    QFETCH(QString, trouble);
    const QString path = m_dir.filePath(QStringLiteral("p%1.prj").arg(++m_serial));
    QVERIFY(SampleFixture::make(path, {"--to", "6", "--width", QString::number(width)}));

    // Picks in a hole of 1000 depth units: tan(dip) = 2 amplitude / 1000.
    QVector<StructurePick> before{{0, 11334.0, 23.67, 93.12, 500 * std::tan(qDegreesToRadians(23.67))},
                                  {0, 50000.0, 45.0, 10.0, 500.0}};
    StructurePickStore store(path);
    for (StructurePick &p : before)
        QVERIFY(trouble == QLatin1String("no picks") || store.add(&p));
    if (trouble == QLatin1String("refuse"))
        QVERIFY(execOn(path, {"CREATE TRIGGER refusePicks BEFORE UPDATE ON structurePicks "
                              "BEGIN SELECT RAISE(ABORT, 'picks refused'); END"}));
    const QVector<StructurePick> stored = store.allPicks();
    const FileState wall = readState(path);

    loadRecord(path);
    bool done = false;
    if (kind == QLatin1String("diameter")) {
        CorrectionDialog dialog;
        dialog.realDiameterEdit()->setText(QString::number(value));
        QTimer::singleShot(0, [] {   // the refusal's message box
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->done(QMessageBox::Ok);
        });
        dialog.okButton()->click();
        done = ProjectInfo::instance()->diameter() == value * 10;
    } else {
        const int cancelAt = trouble == QLatin1String("cancel") ? 1 : -1;
        done = (kind == QLatin1String("depth") ? correctDepth(path, value, cancelAt)
                                               : correctAngle(path, value, cancelAt)).succeeded;
    }
    QCOMPARE(done, trouble.isEmpty() || trouble == QLatin1String("no picks"));
    const QVector<StructurePick> after = store.allPicks();

    if (trouble == QLatin1String("no picks")) {   // and no table made for them
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no such table: structurePicks"));
        QVERIFY(!execOn(path, {"select 1 from structurePicks"}));
    } else if (!done) {   // picks and wall as they were
        QCOMPARE(after, stored);
        QCOMPARE(readState(path).hash, wall.hash);
    }
    if (!trouble.isEmpty())
        return;
    QCOMPARE(after.size(), stored.size());
    const double f = kind == QLatin1String("depth") ? value / 6000.0 : 1.0;
    const double diameter = kind == QLatin1String("diameter") ? value * 10.0 : 1000.0;
    for (int i = 0; i < stored.size(); ++i) {
        const StructurePick &was = stored.at(i);
        const StructurePick &now = after.at(i);
        QCOMPARE(now.id, was.id);
        QVERIFY(qAbs(now.depth - was.depth * f) < 1e-6 && qAbs(now.amplitude - was.amplitude * f) < 1e-6);
        // tan(dip) = 2 amplitude / diameter.
        const double dip = qRadiansToDegrees(std::atan(std::tan(qDegreesToRadians(was.dip)) * f * 1000.0 / diameter));
        const double direction = std::fmod(was.dipDirection - turn + 720.0, 360.0);
        QVERIFY2(qAbs(now.dip - dip) < 1e-6 && qAbs(now.dipDirection - direction) < 1e-6,
                 qPrintable(QStringLiteral("%1 %2 %3 %4").arg(now.dip).arg(dip).arg(now.dipDirection).arg(direction)));
    }
}

QTEST_MAIN(TestPickCorrection)

#include "tst_pickcorrection.moc"
