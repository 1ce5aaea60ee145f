#ifndef REPORTDLG_H
#define REPORTDLG_H

#include "creportparameter.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;

// Asks for the settings of a report: columns per page, grid lines, header,
// depth range, depth per block and format. Recommends the depth per block
// that fills a column. Its print-preview button asks for a preview while it
// stays open (disabled until OnEndPreview()).
class ReportDlg : public QDialog
{
    Q_OBJECT

public:
    explicit ReportDlg(QWidget *parent = nullptr);

    void setParameter(const CReportParameter &para);
    // Deepest depth of the project, depth units: the end of both range boxes
    // and of the step, and the value of "To".
    void setMaxDepth(int depth);
    int maxDepth() const { return m_nMaxDepth; }
    // The page on screen, metres: the range the dialog opens with (call it
    // after setMaxDepth, which would reset "To").
    void setPageRange(double fromMetres, double toMetres);
    void parameter(CReportParameter &para) const;

    // Depth per block (depth units) that fills one column for a hole of the
    // given diameter (depth units).
    // withTrack: a PDF report with the frequency track beside each block,
    // which leaves the wall a narrower column.
    static int recommendedStep(int diameter, int columns, bool withHeader, bool withTrack = false);
    // Smallest depth per block the dialog accepts, metres.
    static constexpr double kMinimumStep = 0.2;

    // How validation messages are shown (the application's own box); a plain
    // information box when none is set.
    using MessageHandler = std::function<void(QWidget *parent, const QString &text)>;
    void setMessageHandler(MessageHandler handler) { m_messageHandler = std::move(handler); }

signals:
    void requestedPreview(CReportParameter reportPara);

public slots:
    void OnEndPreview();
    void OnOK();
    void on_btnPrintPreView_clicked();
    void on_comboBox_currentIndexChanged(int);
    void on_checkBox_clicked();

private:
    void updateRecommendation();
    void showMessage(const QString &text);

    QLabel *m_label = nullptr;
    QComboBox *m_comboBox = nullptr;
    QLabel *m_labelInfo = nullptr;
    QCheckBox *m_checkBoxGrid = nullptr;
    QCheckBox *m_checkBoxHeader = nullptr;
    QCheckBox *m_checkBoxStructures = nullptr;
    QCheckBox *m_checkBoxFrequency = nullptr;
    QLabel *m_label2 = nullptr;
    QDoubleSpinBox *m_spinBoxFrom = nullptr;
    QDoubleSpinBox *m_spinBoxTo = nullptr;
    QLabel *m_label4 = nullptr;
    QDoubleSpinBox *m_spinBoxStep = nullptr;
    QLabel *m_label5 = nullptr;
    QLabel *m_label3 = nullptr;
    QComboBox *m_comboBoxType = nullptr;
    QDialogButtonBox *m_buttonBox = nullptr;
    QPushButton *m_btnPrintPreView = nullptr;
    int m_nMaxDepth = 0;
    // Set once the user has typed a step: the recommendation then only
    // shows beside it.
    bool m_bStepTyped = false;
    // Set while the dialog itself changes the step.
    bool m_bSettingStep = false;
    MessageHandler m_messageHandler;
};

#endif // REPORTDLG_H
