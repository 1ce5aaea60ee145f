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
    void valuesThatAreNoNumbersStay_data();
    void valuesThatAreNoNumbersStay();
    void unreadablePicksTable_data();
    void unreadablePicksTable();

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

struct Outcome { bool done = false, asked = false, picksLeft = false; int notMoved = -1; };

// Runs the correction kind (depth: 10 % deeper, angle: 90, diameter: 96 mm) through the corrections
// dialog as the main window does, answering its question about unreadable picks with answer.
static Outcome correctThroughDialog(const QString &path, const QString &kind,
                                    QMessageBox::StandardButton answer = QMessageBox::Yes)
{
    const bool depth = kind == QLatin1String("depth"), angle = kind == QLatin1String("angle");
    loadRecord(path);
    Outcome outcome;
    CorrectionDialog dialog;
    auto runWorker = [&](CorrectionThread &&worker) {
        worker.setLeavePicks(dialog.leavesPicks());
        const bool done = CorrectionFixture::run(worker).succeeded;
        outcome = {done, outcome.asked, worker.picksLeft(), worker.picksNotMoved()};
    };
    QObject::connect(&dialog, &CorrectionDialog::signalToCorrectDepth,
                     [&](int mm) { runWorker(CorrectDepthThread(path, mm)); });
    QObject::connect(&dialog, &CorrectionDialog::signalToCorrectAngle,
                     [&](int angle) { runWorker(CorrectAngleThread(path, angle)); });
    (depth ? dialog.realDepthEdit() : angle ? dialog.angleEdit() : dialog.realDiameterEdit())
        ->setText(depth ? "6600" : angle ? "90" : "96");
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            outcome.asked = true, box->button(answer)->click();
    });
    dialog.okButton()->click();
    const bool diameterSet = ProjectInfo::instance()->diameter() == 960;
    if (!depth && !angle)
        return {diameterSet, outcome.asked, diameterSet && dialog.leavesPicks(), dialog.picksNotMoved()};
    return outcome;
}

void TestPickCorrection::valuesThatAreNoNumbersStay_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("row");      // depth, dip, dipDirection, amplitude as SQL
    QTest::addColumn<int>("notMoved");
    QTest::addColumn<QString>("kept");     // the stored row afterwards: quote() of each column

    const QString noDip = "20000, NULL, 10, 300", text = "20000, 30, 10, 'wide'";
    QTest::newRow("depth, NULL dip: moved, dip stays NULL") << "depth" << noDip << 0 << "22000.0,NULL,10.0,330.0";
    QTest::newRow("angle, NULL dip: turned, dip stays NULL") << "angle" << noDip << 0 << "20000.0,NULL,280.0,300.0";
    QTest::newRow("diameter, NULL dip stays NULL") << "diameter" << noDip << 0 << "20000.0,NULL,10.0,300.0";
    QTest::newRow("depth, text amplitude") << "depth" << text << 1 << "20000.0,30.0,10.0,'wide'";
    QTest::newRow("diameter, text amplitude") << "diameter" << text << 1 << "20000.0,30.0,10.0,'wide'";
    QTest::newRow("angle, text amplitude: turned") << "angle" << text << 0 << "20000.0,30.0,280.0,'wide'";
    QTest::newRow("angle, NaN direction") << "angle" << "20000, 30, 'NaN', 300" << 1 << "20000.0,30.0,'NaN',300.0";
    QTest::newRow("depth, NULL depth") << "depth" << "NULL, 30, 10, 300" << 1 << "NULL,30.0,10.0,300.0";
    QTest::newRow("depth, infinite depth") << "depth" << "1e999, 30, 10, 300" << 1 << "Inf,30.0,10.0,300.0";
}

void TestPickCorrection::valuesThatAreNoNumbersStay()
{
    QFETCH(QString, kind);
    QFETCH(QString, row);
    QFETCH(int, notMoved);
    QFETCH(QString, kept);
    const QString path = m_dir.filePath(QStringLiteral("p%1.prj").arg(++m_serial));
    QVERIFY(SampleFixture::make(path, {"--to", "6", "--width", "400"}));
    StructurePick good{0, 10000.0, 45.0, 100.0, 500.0};
    QVERIFY(StructurePickStore(path).add(&good));
    QVERIFY(execOn(path, {"INSERT INTO structurePicks (id, depth, dip, dipDirection, amplitude) VALUES (77, "
                          + row + ")"}));

    const Outcome outcome = correctThroughDialog(path, kind);
    const auto rowOf = [&](qint64 id) {
        return scalarOn(path, QStringLiteral("select quote(depth)||','||quote(dip)||','||quote(dipDirection)||','||"
                                             "quote(amplitude) from structurePicks where id = %1").arg(id)).toString();
    };
    QVERIFY(outcome.done);
    QCOMPARE(outcome.notMoved, notMoved);
    QCOMPARE(rowOf(77), kept);
    QVERIFY(rowOf(good.id) != QStringLiteral("10000.0,45.0,100.0,500.0"));   // moved with the wall
}

void TestPickCorrection::unreadablePicksTable_data()
{
    // table: the statement that makes structurePicks; reason: named in the question and the failure.
    for (const char *column : {"kind", "table", "reason"})
        QTest::addColumn<QString>(column);
    QTest::addColumn<bool>("yes");         // the answer to the question

    const QString columns = "depth real, dipDirection real, amplitude real, type text, comment text)";
    const QString noDip = "CREATE TABLE structurePicks (id integer primary key, " + columns;
    const QString textId = "CREATE TABLE structurePicks (id text, dip real, " + columns;
    const QString view = "CREATE VIEW structurePicks AS SELECT 1 AS id, 2.0 AS depth, 3.0 AS dip, 4.0 AS "
                         "dipDirection, 5.0 AS amplitude, 'x' AS type, '' AS comment";
    for (const char *kind : {"depth", "angle", "diameter"}) {
        QTest::addRow("%s, missing column, corrected without the picks", kind) << kind << noDip << "dip" << true;
        QTest::addRow("%s, a view, not corrected", kind) << kind << view << "view" << false;
        QTest::addRow("%s, text id, corrected without the picks", kind) << kind << textId << "integer key" << true;
    }
}

void TestPickCorrection::unreadablePicksTable()
{
    QFETCH(QString, kind);
    QFETCH(QString, table);
    QFETCH(QString, reason);
    QFETCH(bool, yes);
    const QString path = m_dir.filePath(QStringLiteral("p%1.prj").arg(++m_serial));
    QVERIFY(SampleFixture::make(path, {"--to", "6", "--width", "400"}));
    QVERIFY(execOn(path, {table}));
    if (!table.contains(QLatin1String("VIEW")))
        QVERIFY(execOn(path, {"INSERT INTO structurePicks (id, depth, dipDirection, amplitude) VALUES (5, 20000, 10, 300)"}));
    const auto picks = [&] { return scalarOn(path, "select group_concat(quote(depth)||quote(dipDirection)) from structurePicks"); };
    const QVariant picksBefore = picks();
    QVERIFY(StructurePickStore::unreadableReason(path).contains(reason));
    const FileState before = readState(path);

    const Outcome outcome = correctThroughDialog(path, kind, yes ? QMessageBox::Yes : QMessageBox::No);
    QVERIFY(outcome.asked);
    QCOMPARE(outcome.done, yes);
    QVERIFY(yes ? outcome.picksLeft : readState(path).hash == before.hash);
    QCOMPARE(picks(), picksBefore);

    // A worker started without the user's consent refuses and says why.
    if (kind == QLatin1String("depth")) {
        loadRecord(path);
        CorrectDepthThread worker(path, 7000);
        QVERIFY(!CorrectionFixture::run(worker).succeeded);
        QVERIFY2(worker.failureText().contains(reason), qPrintable(worker.failureText()));
    }
}

QTEST_MAIN(TestPickCorrection)

#include "tst_pickcorrection.moc"
