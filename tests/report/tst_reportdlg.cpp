// The report dialog: the recommended depth per block, the two validation
// messages by mouse and keyboard, the preview record, and ranges of deep
// holes. That the dialog is disabled during a preview is checked in
// tst_reportcommands, through the main window.

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "creportparameter.h"
#include "projectinfo.h"
#include "reportdlg.h"
#include "samplefixture.h"

class TestReportDlg : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void recommendation_data();
    void recommendation();
    void validation_data();
    void validation();
    void previewRecord();
    void deepHoleRange();

private:
    template <typename T>
    static T *child(ReportDlg &dialog, const char *name)
    {
        T *w = dialog.findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("missing %s", name);
        return w;
    }

    QTemporaryDir m_dir;
};

void TestReportDlg::initTestCase()
{
    // A project of diameter 100 mm (1000 depth units).
    const QString project = m_dir.filePath(QStringLiteral("d.prj"));
    QVERIFY(SampleFixture::make(project, {QStringLiteral("--to"), QStringLiteral("3")}));
    ProjectInfo::instance()->setDatabase(project);
    ProjectInfo::instance()->loadProjectInfo();
    QCOMPARE(ProjectInfo::instance()->diameter(), 1000);
}

void TestReportDlg::recommendation_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<bool>("header");
    QTest::addColumn<int>("units");
    QTest::addColumn<QString>("label");
    QTest::addColumn<double>("step");
    QTest::addColumn<QString>("typed"); // into the step box first
    QTest::addColumn<bool>("track");    // a PDF with the frequency track
    QTest::newRow("one column") << 1 << false << 4508 << "m(0.5m better)" << 0.5 << QString() << false;
    QTest::newRow("four columns with header") << 4 << true << 19233 << "m(1.9m better)" << 1.9 << QString() << false;
    QTest::newRow("typed step stays") << 4 << true << 19233 << "m(1.9m better)" << 0.35 << "0.35" << false;
    // The track's band narrows the wall: a longer step fills the page.
    QTest::newRow("frequency track") << 2 << true << 11950 << "m(1.2m better)" << 1.2 << QString() << true;
}

void TestReportDlg::recommendation()
{
    QFETCH(int, columns);
    QFETCH(bool, header);
    QFETCH(int, units);
    QFETCH(QString, label);
    QFETCH(double, step);
    QFETCH(QString, typed);
    QFETCH(bool, track);
    QCOMPARE(ReportDlg::recommendedStep(1000, columns, header, track), units);

    // Shown at 1955 m of a deep hole, the dialog opens there with the last
    // step; a typed step survives a change of columns and header.
    CReportParameter previous;
    previous.setDepthStep(0.8f);
    ReportDlg dialog;
    dialog.setParameter(previous);
    dialog.setMaxDepth(19600000);
    dialog.setPageRange(1955.0, 1960.0);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *box = child<QDoubleSpinBox>(dialog, "SpinBoxStep");
    QCOMPARE(box->value(), 0.8);
    if (!typed.isEmpty()) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, typed);
    }
    // Through the controls, as the user sets them.
    if (header)
        QTest::mouseClick(child<QCheckBox>(dialog, "checkBox"), Qt::LeftButton, {}, QPoint(5, 5));
    child<QComboBox>(dialog, "comboBox")->setCurrentIndex(columns - 1);
    if (track) {
        child<QComboBox>(dialog, "comboBoxType")->setCurrentIndex(1);
        QTest::mouseClick(child<QCheckBox>(dialog, "checkBoxFrequency"), Qt::LeftButton, {}, QPoint(5, 5));
    }
    QCOMPARE(child<QLabel>(dialog, "label_5")->text(), label);
    QCOMPARE(child<QDoubleSpinBox>(dialog, "SpinBoxStep")->value(), step);
    CReportParameter read;
    dialog.parameter(read);
    QCOMPARE(read.depthStep(), float(step));
    QCOMPARE(read.fromDepth(), 1955.0f);
    QCOMPARE(read.toDepth(), 1960.0f);
}

void TestReportDlg::validation_data()
{
    QTest::addColumn<double>("from");
    QTest::addColumn<double>("to");
    QTest::addColumn<double>("step");
    QTest::addColumn<bool>("keyboard");
    QTest::addColumn<QString>("message");
    const QString stepMessage = QStringLiteral("Step value must be greater than or equal 0.2 , please put in again !!!");
    const QString rangeMessage = QStringLiteral("Stop value must be greater than start value , please put in again !!!");
    for (bool keyboard : {false, true}) {
        const char *how = keyboard ? " (keyboard)" : " (click)";
        QTest::addRow("step 0.1 refused%s", how) << 0.0 << 1.0 << 0.1 << keyboard << stepMessage;
        QTest::addRow("step 0.2 accepted%s", how) << 0.0 << 1.0 << 0.2 << keyboard << QString();
        QTest::addRow("from above to refused%s", how) << 0.15 << 0.14 << 1.0 << keyboard << rangeMessage;
        QTest::addRow("from equal to accepted%s", how) << 0.5 << 0.5 << 1.0 << keyboard << QString();
    }
}

void TestReportDlg::validation()
{
    QFETCH(double, from);
    QFETCH(double, to);
    QFETCH(double, step);
    QFETCH(bool, keyboard);
    QFETCH(QString, message);

    ReportDlg dialog;
    dialog.setMaxDepth(30000);
    QStringList shown;
    dialog.setMessageHandler([&shown](QWidget *, const QString &text) { shown << text; });
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    child<QDoubleSpinBox>(dialog, "spinBoxFrom")->setValue(from);
    child<QDoubleSpinBox>(dialog, "spinBoxTo")->setValue(to);
    child<QDoubleSpinBox>(dialog, "SpinBoxStep")->setValue(step);

    QPushButton *ok = child<QDialogButtonBox>(dialog, "buttonBox")->button(QDialogButtonBox::Ok);
    if (keyboard) {
        ok->setFocus();
        QTest::keyClick(ok, Qt::Key_Space);
    } else {
        QTest::mouseClick(ok, Qt::LeftButton);
    }

    if (message.isEmpty()) {
        QVERIFY(shown.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
    } else {
        // Shown once, and the dialog stays open with its values.
        QCOMPARE(shown, QStringList{message});
        QVERIFY(dialog.isVisible());
        QCOMPARE(child<QDoubleSpinBox>(dialog, "SpinBoxStep")->value(), step);
    }
}

void TestReportDlg::previewRecord()
{
    ReportDlg dialog;
    dialog.setMaxDepth(30000);
    child<QComboBox>(dialog, "comboBoxType")->setCurrentIndex(1); // PDF
    child<QComboBox>(dialog, "comboBox")->setCurrentIndex(2);
    child<QCheckBox>(dialog, "checkBox_2")->setChecked(true);
    QSignalSpy spy(&dialog, &ReportDlg::requestedPreview);
    dialog.show();
    QTest::mouseClick(child<QPushButton>(dialog, "btnPrintPreView"), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    const CReportParameter record = spy.first().first().value<CReportParameter>();
    QCOMPARE(record.exportFormat(), 2);
    QCOMPARE(record.columnsPerPage(), 3);
    QVERIFY(record.withGridLines());
    QCOMPARE(record.toDepth(), 3.0f);
}

void TestReportDlg::deepHoleRange()
{
    // A hole logged from 1000 m to 1485 m: the previous choice of From
    // survives the dialog and the whole range can be chosen.
    CReportParameter previous;
    previous.setFromDepth(1200.0f);
    previous.setToDepth(1300.0f);
    previous.setExportFormat(1);
    ReportDlg dialog;
    dialog.setParameter(previous);
    dialog.setMaxDepth(14850000);
    CReportParameter read;
    dialog.parameter(read);
    QCOMPARE(read.fromDepth(), 1200.0f);
    QCOMPARE(read.toDepth(), 1485.0f); // reset to the deepest depth
    QCOMPARE(read.exportFormat(), 1);
    auto *from = child<QDoubleSpinBox>(dialog, "spinBoxFrom");
    from->setValue(1484.5);
    QCOMPARE(from->value(), 1484.5);
    from->setValue(2000.0);
    QCOMPARE(from->value(), 1485.0);
}

QTEST_MAIN(TestReportDlg)
#include "tst_reportdlg.moc"
