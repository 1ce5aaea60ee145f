#include "reportdlg.h"

#include "projectinfo.h"
#include "qreportbuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <cmath>

namespace {
// Largest depth the project format can hold, metres.
constexpr double kDeepestMetres = 214748.3647;
}

ReportDlg::ReportDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("ReportDlg"));
    auto *grid = new QGridLayout(this);
    grid->setSpacing(6);
    grid->setContentsMargins(11, 11, 11, 11);

    m_label = new QLabel(tr("Column per page"), this);
    m_label->setObjectName(QStringLiteral("label"));
    m_comboBox = new QComboBox(this);
    m_comboBox->setObjectName(QStringLiteral("comboBox"));
    m_labelInfo = new QLabel(tr("2 columns best"), this);
    m_labelInfo->setObjectName(QStringLiteral("label_info"));
    m_checkBoxGrid = new QCheckBox(tr("WithGridLines"), this);
    m_checkBoxGrid->setObjectName(QStringLiteral("checkBox_2"));
    m_checkBoxHeader = new QCheckBox(tr("With Header"), this);
    m_checkBoxHeader->setObjectName(QStringLiteral("checkBox"));
    m_checkBoxStructures = new QCheckBox(tr("Structures page"), this);
    m_checkBoxStructures->setObjectName(QStringLiteral("checkBoxStructures"));
    m_checkBoxStructures->setToolTip(tr("A PDF report ends with the stereonet and rose of the picks in its range"));
    m_checkBoxFrequency = new QCheckBox(tr("Frequency track"), this);
    m_checkBoxFrequency->setObjectName(QStringLiteral("checkBoxFrequency"));
    m_checkBoxFrequency->setToolTip(tr("A PDF report shows the picks per metre (P10) beside each block"));
    m_label2 = new QLabel(tr("Range"), this);
    m_label2->setObjectName(QStringLiteral("label_2"));
    m_spinBoxFrom = new QDoubleSpinBox(this);
    m_spinBoxFrom->setObjectName(QStringLiteral("spinBoxFrom"));
    m_spinBoxFrom->setPrefix(tr("From "));
    m_spinBoxFrom->setSuffix(tr(" m "));
    // The range boxes reach as deep as a project can: setMaxDepth() narrows
    // them to the project, so a deep hole can be reported from anywhere.
    m_spinBoxFrom->setRange(0.0, kDeepestMetres);
    m_spinBoxTo = new QDoubleSpinBox(this);
    m_spinBoxTo->setObjectName(QStringLiteral("spinBoxTo"));
    m_spinBoxTo->setPrefix(tr("To "));
    m_spinBoxTo->setSuffix(tr(" m"));
    m_spinBoxTo->setDecimals(1);
    m_spinBoxTo->setRange(0.0, kDeepestMetres);
    m_spinBoxTo->setSingleStep(0.1);
    m_spinBoxTo->setValue(1.0);
    m_label4 = new QLabel(tr("DepthStep"), this);
    m_label4->setObjectName(QStringLiteral("label_4"));
    m_spinBoxStep = new QDoubleSpinBox(this);
    m_spinBoxStep->setObjectName(QStringLiteral("SpinBoxStep"));
    m_spinBoxStep->setMinimum(0.1);
    m_label5 = new QLabel(tr("m"), this);
    m_label5->setObjectName(QStringLiteral("label_5"));
    m_label3 = new QLabel(tr("Export Format"), this);
    m_label3->setObjectName(QStringLiteral("label_3"));
    m_comboBoxType = new QComboBox(this);
    m_comboBoxType->setObjectName(QStringLiteral("comboBoxType"));
    m_comboBoxType->addItem(tr("word"));
    m_comboBoxType->addItem(tr("PDF"));
    m_buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    m_buttonBox->setCenterButtons(true);
    m_buttonBox->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    m_buttonBox->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    m_btnPrintPreView = new QPushButton(tr("PrintPreview"), this);
    m_btnPrintPreView->setObjectName(QStringLiteral("btnPrintPreView"));

    grid->addWidget(m_label, 0, 0);
    grid->addWidget(m_comboBox, 0, 1);
    grid->addWidget(m_labelInfo, 0, 2);
    grid->addWidget(m_checkBoxGrid, 1, 0);
    grid->addWidget(m_checkBoxHeader, 1, 1);
    grid->addWidget(m_checkBoxStructures, 1, 2);
    grid->addWidget(m_label2, 2, 0);
    grid->addWidget(m_spinBoxFrom, 2, 1);
    grid->addWidget(m_spinBoxTo, 2, 2);
    grid->addWidget(m_label4, 4, 0);
    grid->addWidget(m_spinBoxStep, 4, 1);
    grid->addWidget(m_label5, 4, 2);
    grid->addWidget(m_label3, 5, 0);
    grid->addWidget(m_comboBoxType, 5, 1);
    grid->addWidget(m_checkBoxFrequency, 5, 2);
    grid->addWidget(m_buttonBox, 7, 1);
    grid->addWidget(m_btnPrintPreView, 7, 2);

    // OK, by mouse or keyboard, always goes through the validation; only
    // OnOK() accepts.
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &ReportDlg::OnOK);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_spinBoxStep, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, [this] {
        if (!m_bSettingStep)
            m_bStepTyped = true;
    });
    // The frequency track of a PDF report narrows the wall: recommended anew.
    connect(m_checkBoxFrequency, &QCheckBox::toggled, this, &ReportDlg::updateRecommendation);
    connect(m_comboBoxType, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ReportDlg::updateRecommendation);
    QMetaObject::connectSlotsByName(this);

    m_comboBox->addItems({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")});
    m_comboBox->setCurrentIndex(1);
}

int ReportDlg::recommendedStep(int diameter, int columns, bool withHeader, bool withTrack)
{
    const double circumference = diameter * 3.1415926;
    const double height = withHeader ? 783.630637079456 : 889.3715103793845;
    const double width = 649.7007874015749;
    double imageWidth;
    if (columns <= 1)
        imageWidth = width - 30;
    else
        imageWidth = int((width - (5 * columns - 5)) / columns) - 30;
    // The track takes at least its narrowest band from the wall's width, so
    // that a block still fills the page's height.
    if (withTrack)
        imageWidth -= QReportBuilder::kMinimumTrackBand;
    if (imageWidth <= 0)
        return 0;
    return int(height * circumference / imageWidth);
}

void ReportDlg::updateRecommendation()
{
    const int recommended = recommendedStep(ProjectInfo::instance()->diameter(), m_comboBox->currentIndex() + 1,
                                            m_checkBoxHeader->isChecked(),
                                            m_checkBoxFrequency->isChecked() && m_comboBoxType->currentIndex() == 1);
    const QString text = QString::number(recommended / 10000.0, 'f', 1);
    m_label5->setText(tr("m(%1m better)").arg(text));
    if (m_bStepTyped)
        return;
    m_bSettingStep = true;
    m_spinBoxStep->setValue(text.toDouble());
    m_bSettingStep = false;
}

void ReportDlg::on_comboBox_currentIndexChanged(int)
{
    updateRecommendation();
}

void ReportDlg::on_checkBox_clicked()
{
    updateRecommendation();
}

void ReportDlg::setParameter(const CReportParameter &para)
{
    m_spinBoxFrom->setValue(para.fromDepth());
    m_spinBoxTo->setValue(para.toDepth());
    m_checkBoxHeader->setChecked(para.withHeader());
    m_checkBoxGrid->setChecked(para.withGridLines());
    m_checkBoxStructures->setChecked(para.withStructures());
    m_checkBoxFrequency->setChecked(para.withFrequency());
    m_comboBox->setCurrentIndex(qBound(0, para.columnsPerPage() - 1, 3));
    m_comboBoxType->setCurrentIndex(para.exportFormat() == 1 ? 1 : 0);
    // The step of the last report stays, after the column list has shown
    // its recommendation; a change of columns or header recommends anew.
    m_bSettingStep = true;
    m_spinBoxStep->setValue(para.depthStep());
    m_bSettingStep = false;
}

void ReportDlg::setPageRange(double fromMetres, double toMetres)
{
    m_spinBoxFrom->setValue(fromMetres);
    m_spinBoxTo->setValue(qMax(fromMetres, toMetres));
}

void ReportDlg::setMaxDepth(int depth)
{
    m_nMaxDepth = depth;
    const float metres = float(depth * 0.0001);
    m_spinBoxFrom->setMaximum(metres);
    m_spinBoxTo->setMaximum(metres);
    m_spinBoxTo->setValue(metres);
    // A project without images still leaves the smallest step selectable.
    m_bSettingStep = true;
    m_spinBoxStep->setMaximum(qMax(double(metres), m_spinBoxStep->minimum()));
    m_bSettingStep = false;
}

void ReportDlg::parameter(CReportParameter &para) const
{
    para.setFromDepth(float(m_spinBoxFrom->value()));
    para.setToDepth(float(m_spinBoxTo->value()));
    para.setColumnsPerPage(m_comboBox->currentIndex() + 1);
    para.setExportFormat(m_comboBoxType->currentIndex());
    para.setDepthStep(float(m_spinBoxStep->value()));
    para.setWithHeader(m_checkBoxHeader->isChecked());
    para.setWithGridLines(m_checkBoxGrid->isChecked());
    para.setWithStructures(m_checkBoxStructures->isChecked());
    para.setWithFrequency(m_checkBoxFrequency->isChecked());
}

void ReportDlg::showMessage(const QString &text)
{
    if (m_messageHandler)
        m_messageHandler(this, text);
    else
        QMessageBox::information(this, QString(), text);
}

void ReportDlg::OnOK()
{
    const int stepUnits = int(float(m_spinBoxStep->value()) * 10000.0f);
    if (stepUnits < int(kMinimumStep * 10000)) {
        showMessage(tr("Step value must be greater than or equal 0.2 , please put in again !!!"));
        return;
    }
    const qint64 from = qint64(std::floor(m_spinBoxFrom->value() * 10000.0 + 0.5));
    const qint64 to = qint64(std::floor(m_spinBoxTo->value() * 10000.0 + 0.5));
    if (from > to) {
        showMessage(tr("Stop value must be greater than start value , please put in again !!!"));
        return;
    }
    accept();
}

void ReportDlg::on_btnPrintPreView_clicked()
{
    CReportParameter record;
    parameter(record);
    record.setExportFormat(2);
    setEnabled(false);
    emit requestedPreview(record);
}

void ReportDlg::OnEndPreview()
{
    qDebug() << "ReportDlg::OnEndPreview";
    setEnabled(true);
}
