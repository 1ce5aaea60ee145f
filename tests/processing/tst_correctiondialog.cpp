// The corrections dialog: what "Ok" writes, asks for and refuses.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>

#include "conversionfixture.h"
#include "correctiondialog.h"
#include "samplefixture.h"

using namespace ConversionFixture;

namespace {

// Closes every message box that comes up and keeps its text.
class BoxCloser : public QObject
{
public:
    BoxCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->done(QMessageBox::Ok);
            }
        });
        m_timer.start(10);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

int storedDiameter(const QString &path)
{
    return scalarOn(path, QStringLiteral("select diameter from projectInfo")).toInt();
}

// Types the values into the dialog and presses "Ok"; the texts of the
// message boxes that came up.
QStringList pressOk(CorrectionDialog &dialog, const QString &depth, const QString &angle,
                    const QString &diameter)
{
    dialog.realDepthEdit()->setText(depth);
    dialog.angleEdit()->setText(angle);
    dialog.realDiameterEdit()->setText(diameter);
    BoxCloser boxes;
    dialog.okButton()->click();
    return boxes.texts;
}

} // namespace

class TestCorrectionDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void okAsksAndWrites_data();
    void okAsksAndWrites();
    void badValuesStartNothing_data();
    void badValuesStartNothing();
    void diameterWaitsForALock();

private:
    QTemporaryDir m_dir;
    QString m_sample;
    QString m_path;
    int m_serial = 0;
};

void TestCorrectionDialog::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_sample = m_dir.filePath(QStringLiteral("sample.prj"));
    QVERIFY(SampleFixture::make(m_sample, {"--to", "3", "--width", "400", "--diameter", "100"}));
}

void TestCorrectionDialog::init()
{
    m_path = m_dir.filePath(QStringLiteral("work-%1.prj").arg(++m_serial));
    QVERIFY(QFile::copy(m_sample, m_path));
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner);
    loadRecord(m_path);
}

void TestCorrectionDialog::okAsksAndWrites_data()
{
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("angle");
    QTest::addColumn<QString>("diameter");
    QTest::addColumn<QStringList>("requests");
    QTest::addColumn<int>("storedDiameter");

    QTest::newRow("all empty") << "" << "" << "" << QStringList() << 1000;
    QTest::newRow("real depth equal to the test depth") << "3000" << "" << "" << QStringList() << 1000;
    QTest::newRow("real diameter 96 mm") << "" << "" << "96" << QStringList() << 960;
    QTest::newRow("depth and angle") << " 3300 " << "-90" << "" << QStringList{"depth 3300", "angle -90"}
                                     << 1000;
    QTest::newRow("all three") << "3300" << "450" << "96" << QStringList{"depth 3300", "angle 450"} << 960;
}

void TestCorrectionDialog::okAsksAndWrites()
{
    QFETCH(QString, depth);
    QFETCH(QString, angle);
    QFETCH(QString, diameter);
    QFETCH(QStringList, requests);
    QFETCH(int, storedDiameter);

    CorrectionDialog dialog;
    dialog.show();
    QCOMPARE(dialog.testDepthEdit()->text(), QStringLiteral("3000"));
    QCOMPARE(dialog.testDiameterEdit()->text(), QStringLiteral("100"));
    QStringList seen;
    // The diameter is in the file before any rewrite is asked for, and the
    // requests of one press say so.
    connect(&dialog, &CorrectionDialog::signalToCorrectDepth, this, [&](int v) {
        seen << QStringLiteral("depth %1").arg(v);
        QCOMPARE(::storedDiameter(m_path), storedDiameter);
        QVERIFY(dialog.okPressInProgress());
    });
    connect(&dialog, &CorrectionDialog::signalToCorrectAngle, this, [&](int v) {
        seen << QStringLiteral("angle %1").arg(v);
        QVERIFY(dialog.okPressInProgress());
    });
    QCOMPARE(pressOk(dialog, depth, angle, diameter), QStringList());
    QCOMPARE(seen, requests);
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.okPressInProgress());
    QCOMPARE(::storedDiameter(m_path), storedDiameter);
    QCOMPARE(ProjectInfo::instance()->diameter(), storedDiameter);
    if (storedDiameter == 960) {
        QCOMPARE(pixelsPerUnit, 400 / (960 * 3.14));
        QCOMPARE(dialog.testDiameterEdit()->text(), QStringLiteral("96"));
    }
}

void TestCorrectionDialog::badValuesStartNothing_data()
{
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("angle");
    QTest::addColumn<QString>("diameter");
    QTest::addColumn<QString>("trouble");

    QTest::newRow("real depth 0") << "0" << "90" << "96" << "";
    QTest::newRow("real depth not a number") << "3.3 m" << "" << "96" << "";
    QTest::newRow("real depth beyond the range") << "300000000" << "" << "" << "";
    QTest::newRow("angle not a number") << "3300" << "north" << "96" << "";
    QTest::newRow("real diameter 0") << "3300" << "90" << "0" << "";
    QTest::newRow("real diameter not a number") << "" << "" << "ninety" << "";
    QTest::newRow("diameter cannot be written") << "3300" << "90" << "96" << "read-only";
    // Another rewrite of the file runs; once it is over, the same press works.
    QTest::newRow("file busy") << "" << "90" << "96" << "busy";
}

void TestCorrectionDialog::badValuesStartNothing()
{
    QFETCH(QString, depth);
    QFETCH(QString, angle);
    QFETCH(QString, diameter);
    QFETCH(QString, trouble);
    if (trouble == QLatin1String("read-only")) {
        QVERIFY(execOn(m_path, {QStringLiteral("create trigger refuse before update on projectInfo "
                                               "begin select raise(abort, 'refused'); end")}));
    }
    const double factor = pixelsPerUnit;

    CorrectionDialog dialog;
    bool busy = trouble == QLatin1String("busy");
    dialog.setBusyCheck([&busy] { return busy; });
    dialog.show();
    QSignalSpy depthSpy(&dialog, &CorrectionDialog::signalToCorrectDepth);
    QSignalSpy angleSpy(&dialog, &CorrectionDialog::signalToCorrectAngle);
    QCOMPARE(pressOk(dialog, depth, angle, diameter).size(), 1);
    QVERIFY(dialog.isVisible());
    QCOMPARE(depthSpy.count(), 0);
    QCOMPARE(angleSpy.count(), 0);
    // The values stay for the user to mend; nothing changed anywhere.
    QCOMPARE(dialog.realDepthEdit()->text(), depth);
    QCOMPARE(::storedDiameter(m_path), 1000);
    QCOMPARE(ProjectInfo::instance()->diameter(), 1000);
    QCOMPARE(pixelsPerUnit, factor);
    if (busy) {
        busy = false;
        dialog.okButton()->click();
        QCOMPARE(angleSpy.count(), 1);
        QCOMPARE(::storedDiameter(m_path), 960);
    }
}

void TestCorrectionDialog::diameterWaitsForALock()
{
    // Another connection holds the write lock for a moment.
    std::atomic<bool> locked{false};
    std::thread holder([this, &locked] {
        const QString name = QStringLiteral("lock-holder");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(m_path);
            db.open();
            QSqlQuery q(db);
            q.exec(QStringLiteral("BEGIN IMMEDIATE"));
            locked = true;
            QThread::msleep(700);
            q.exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    });
    while (!locked)
        QThread::msleep(5);
    CorrectionDialog dialog;
    dialog.show();
    const QStringList boxes = pressOk(dialog, QString(), QString(), QStringLiteral("96"));
    holder.join();
    QCOMPARE(boxes, QStringList());
    QCOMPARE(::storedDiameter(m_path), 960);
}

QTEST_MAIN(TestCorrectionDialog)

#include "tst_correctiondialog.moc"
