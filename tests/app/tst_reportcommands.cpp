// Report commands of the main window: a PDF export through the report
// dialog and the file dialog up to the offer to open the file, a preview
// from the open dialog, a project the report cannot be laid out for, a
// window closed during an export, and a word-processor document and the
// word processor's error box.

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "mainwindow.h"
#include "modalwatcher.h"
#include "fileinfowidget.h"
#include "projectinfo.h"
#include "qreportbuilder.h"
#include "qword.h"
#include "reportdlg.h"
#include "shelltestsupport.h"

namespace {

// Chooses the format in the report dialog and presses OK.
ModalWatcher::Handler acceptReport(int format)
{
    return [format](QWidget *w) {
        auto *dialog = qobject_cast<ReportDlg *>(w);
        if (!dialog) {
            if (auto *d = qobject_cast<QDialog *>(w))
                d->reject();
            return;
        }
        dialog->findChild<QComboBox *>(QStringLiteral("comboBoxType"))->setCurrentIndex(format);
        dialog->findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok)->click();
    };
}

// Records the text of the offer to open the written report and declines it.
ModalWatcher::Handler recordOffer(QString *offer)
{
    return [offer](QWidget *box) {
        if (auto *label = box->findChild<QLabel *>(QStringLiteral("labInfo")))
            *offer = label->text();
        static_cast<QDialog *>(box)->reject();
    };
}

const char *const kOffer = "Saving report successfully , do you want to open it ?";

} // namespace

class TestReportCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void exportPdf();
    void previewFromTheDialog();
    void projectWithoutDiameter();
    void wordFormat();
    void windowClosedDuringExport();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
};

void TestReportCommands::initTestCase()
{
    ShellTest::setUp(m_settingsDir, 0);
    QReportBuilder::setBlockPause(0);
    m_project = ShellTest::makeProject(m_dir, QStringLiteral("p.prj"), {QStringLiteral("--to"), QStringLiteral("4")});
    QVERIFY(!m_project.isEmpty());
}

void TestReportCommands::exportPdf()
{
    QTemporaryDir out;
    MainWindow w;
    ModalWatcher watcher;
    // (Without a project: tst_mainwindow's signal test.)
    SHELL_OPEN_PROJECT(&w, m_project);
    // The page from 1 m to 3 m on screen: the dialog opens there.
    w.fileInfoWidget()->startSpin->setValue(1.0);
    w.fileInfoWidget()->endSpin->setValue(3.0);
    w.handleGoPressed();
    SHELL_WAIT_READ(&w);
    QString offer;
    watcher.answer(acceptReport(1));
    watcher.answerFileDialog(out.filePath(QStringLiteral("r.pdf")));
    watcher.answer(recordOffer(&offer));
    w.handleExportReportBtnPressed();
    QTRY_COMPARE_WITH_TIMEOUT(offer, QString::fromLatin1(kOffer), 60000);
    QFile pdf(out.filePath(QStringLiteral("r.pdf")));
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(4) == "%PDF");
    // The dialog's choices are kept for the next export, completed with the
    // deepest id of the project.
    QCOMPARE(w.reportParameter().exportFormat(), 1);
    QCOMPARE(w.reportParameter().fromDepth(), 1.0f);
    QCOMPARE(w.reportParameter().toDepth(), 3.0f);
    QCOMPARE(w.reportParameter().reservedValue(), 40000);
}

void TestReportCommands::previewFromTheDialog()
{
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);
    QSignalSpy ended(&w, &MainWindow::NotifyPreviewEnd);
    bool disabledDuringPreview = false;
    bool enabledAfter = false;
    QPointer<ReportDlg> reportDialog;
    watcher.answer([&](QWidget *dialog) {
        reportDialog = qobject_cast<ReportDlg *>(dialog);
        QVERIFY(reportDialog);
        reportDialog->findChild<QPushButton *>(QStringLiteral("btnPrintPreView"))->click();
        disabledDuringPreview = !reportDialog->isEnabled();
    });
    watcher.answer([](QWidget *dialog) {
        QVERIFY(qobject_cast<QPrintPreviewDialog *>(dialog));
        static_cast<QDialog *>(dialog)->reject();
    });
    watcher.answer([&](QWidget *dialog) {
        // Back in the report dialog once the preview has closed.
        enabledAfter = dialog->isEnabled();
        static_cast<QDialog *>(dialog)->reject();
    });
    w.handleExportReportBtnPressed();
    QCOMPARE(watcher.classNames(),
             (QStringList{"ReportDlg", "QPrintPreviewDialog", "ReportDlg"}));
    QVERIFY(disabledDuringPreview);
    QCOMPARE(ended.count(), 1);
    QVERIFY(enabledAfter);
}

void TestReportCommands::projectWithoutDiameter()
{
    // The step in pixels would be 0: the user is told, nothing is divided
    // by it, and a preview request still ends.
    const QString flat = ShellTest::makeProject(m_dir, QStringLiteral("flat.prj"),
                                                {QStringLiteral("--to"), QStringLiteral("2"),
                                                 QStringLiteral("--diameter"), QStringLiteral("0")});
    QVERIFY(!flat.isEmpty());
    MainWindow w;
    ModalWatcher watcher;
    w.openProjectFile(flat);
    watcher.clear();
    QSignalSpy ended(&w, &MainWindow::NotifyPreviewEnd);
    CReportParameter para;
    para.setExportFormat(2);
    watcher.acceptNext();
    w.OnPreView(para);
    QCOMPARE(watcher.count(), 1);
    QVERIFY(watcher.texts().first().startsWith(QStringLiteral("The report cannot be laid out")));
    QCOMPARE(ended.count(), 1);
}

void TestReportCommands::wordFormat()
{
    // An OpenDocument text needs no word processor; a name without suffix
    // takes the chosen type's.
    QTemporaryDir out;
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);
    QString offer;
    watcher.answer(acceptReport(0));
    watcher.answer([&out](QWidget *dialog) {
        auto *files = qobject_cast<QFileDialog *>(dialog);
        QVERIFY(files);
        QCOMPARE(files->nameFilters().first(), QStringLiteral("*.doc"));
        files->selectNameFilter(QStringLiteral("*.odt"));
        files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(out.filePath(QStringLiteral("r")));
        QMetaObject::invokeMethod(files, "accept", Qt::DirectConnection);
    });
    watcher.answer(recordOffer(&offer));
    w.handleExportReportBtnPressed();
    QTRY_COMPARE_WITH_TIMEOUT(offer, QString::fromLatin1(kOffer), 60000);
    QFile odt(out.filePath(QStringLiteral("r.odt")));
    QVERIFY(odt.open(QIODevice::ReadOnly));
    QVERIFY(odt.read(2) == "PK");

    // Without a word processor a .doc ends in the "Error" box.
    QWord::setOfficeProgram(out.filePath(QStringLiteral("none")));
    watcher.clear();
    watcher.answer(acceptReport(0));
    watcher.answerFileDialog(out.filePath(QStringLiteral("r.doc")));
    watcher.acceptNext();
    w.handleExportReportBtnPressed();
    QTRY_COMPARE_WITH_TIMEOUT(watcher.count(), 3, 60000);
    QWord::setOfficeProgram(QString());
    QCOMPARE(watcher.texts().value(2), QStringLiteral("Error: word not installed!"));
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("r.doc"))));
}

void TestReportCommands::windowClosedDuringExport()
{
    // The export is stopped and waited for; no report, whole or partial, is
    // left behind.
    QTemporaryDir out;
    QReportBuilder::setBlockPause(1500);
    auto *w = new MainWindow;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(w, m_project);
    watcher.answer(acceptReport(1));
    watcher.answerFileDialog(out.filePath(QStringLiteral("r.pdf")));
    w->handleExportReportBtnPressed();
    QCOMPARE(watcher.count(), 2);
    delete w;
    QReportBuilder::setBlockPause(0);
    QCOMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

QTEST_MAIN(TestReportCommands)
#include "tst_reportcommands.moc"
