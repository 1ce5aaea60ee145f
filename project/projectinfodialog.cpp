#include "projectinfodialog.h"

#include "holesurveynotifier.h"
#include "holesurveystore.h"
#include "projectinfo.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

ProjectInfoDialog::ProjectInfoDialog(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
{
    m_projectNameLabel = new QLabel(this);
    m_projectNameEdit = new QLineEdit(this);
    m_detectionUnitLabel = new QLabel(this);
    m_detectionUnitEdit = new QLineEdit(this);
    m_coordinatesLabel = new QLabel(this);
    m_coordinatesLongitudeEdit = new QLineEdit(this);
    m_coordinatesLatitudeEdit = new QLineEdit(this);
    m_orificeNumberLabel = new QLabel(this);
    m_orificeNumberEdit = new QLineEdit(this);
    m_dateLabel = new QLabel(this);
    m_dateEdit = new QDateEdit(QDate::currentDate(), this);
    m_dateEdit->setCalendarPopup(true);
    // The lowest date stands for "no date": the box shows it empty.
    m_dateEdit->setMinimumDate(noDate());
    m_dateEdit->setSpecialValueText(QStringLiteral(" "));
    // ... and its calendar then opens on the current month, not on year 100.
    if (QCalendarWidget *calendar = m_dateEdit->calendarWidget())
        calendar->installEventFilter(this);
    m_testTotalDepthLabel = new QLabel(this);
    m_testTotalDepthEdit = new QLineEdit(this);
    m_diameterLabel = new QLabel(this);
    m_diameterEdit = new QLineEdit(QStringLiteral("0"), this);
    m_diameterEdit->setEnabled(false);
    m_testStartDepthLabel = new QLabel(this);
    m_testStartDepthEdit = new QLineEdit(this);
    m_testPersonLabel = new QLabel(this);
    m_testPersonEdit = new QLineEdit(this);
    m_orificeElevationLabel = new QLabel(this);
    m_orificeElevationEdit = new QLineEdit(this);
    m_stableWaterLevelLabel = new QLabel(this);
    m_stableWaterLevelEdit = new QLineEdit(this);
    // The azimuth reference in a panel of its own below the record's fields.
    auto *referencePanel = new QWidget(this);
    referencePanel->setObjectName(QStringLiteral("referencePanel"));
    m_referenceLabel = new QLabel(referencePanel);
    m_referenceBox = new QComboBox(referencePanel);
    m_referenceBox->setObjectName(QStringLiteral("referenceBox"));
    m_referenceNote = new QLabel(referencePanel);
    m_referenceNote->setWordWrap(true);
    connect(m_referenceBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &ProjectInfoDialog::updateReferenceNote);

    auto *grid = new QGridLayout;
    grid->addWidget(m_projectNameLabel, 0, 0);
    grid->addWidget(m_projectNameEdit, 0, 1, 1, 3);
    grid->addWidget(m_detectionUnitLabel, 1, 0);
    grid->addWidget(m_detectionUnitEdit, 1, 1, 1, 3);
    grid->addWidget(m_coordinatesLabel, 2, 0);
    grid->addWidget(m_coordinatesLongitudeEdit, 2, 1);
    grid->addWidget(m_coordinatesLatitudeEdit, 2, 3);
    grid->addWidget(m_orificeNumberLabel, 3, 0);
    grid->addWidget(m_orificeNumberEdit, 3, 1);
    grid->addWidget(m_dateLabel, 3, 2);
    grid->addWidget(m_dateEdit, 3, 3);
    grid->addWidget(m_testTotalDepthLabel, 4, 0);
    grid->addWidget(m_testTotalDepthEdit, 4, 1);
    grid->addWidget(m_diameterLabel, 4, 2);
    grid->addWidget(m_diameterEdit, 4, 3);
    grid->addWidget(m_testStartDepthLabel, 5, 0);
    grid->addWidget(m_testStartDepthEdit, 5, 1);
    grid->addWidget(m_testPersonLabel, 5, 2);
    grid->addWidget(m_testPersonEdit, 5, 3);
    grid->addWidget(m_orificeElevationLabel, 6, 0);
    grid->addWidget(m_orificeElevationEdit, 6, 1);
    grid->addWidget(m_stableWaterLevelLabel, 6, 2);
    grid->addWidget(m_stableWaterLevelEdit, 6, 3);
    auto *reference = new QVBoxLayout(referencePanel);
    reference->setContentsMargins(0, 0, 0, 0);
    auto *referenceRow = new QHBoxLayout;
    referenceRow->addWidget(m_referenceLabel);
    referenceRow->addWidget(m_referenceBox);
    referenceRow->addStretch(1);
    reference->addLayout(referenceRow);
    reference->addWidget(m_referenceNote);

    m_saveButton = new QPushButton(this);
    m_cancelButton = new QPushButton(this);
    for (QPushButton *button : {m_saveButton, m_cancelButton}) {
        button->setMaximumSize(80, 50);
        button->setMinimumHeight(30);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_saveButton);
    buttons->addWidget(m_cancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(referencePanel);
    layout->addLayout(buttons);

    connect(m_saveButton, &QPushButton::pressed, this, &ProjectInfoDialog::handleSavePressed);
    connect(m_cancelButton, &QPushButton::pressed, this, &QWidget::close);

    OnRetranslate();
}

bool ProjectInfoDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched == m_dateEdit->calendarWidget()
        && m_dateEdit->date() == noDate()) {
        const QDate today = QDate::currentDate();
        m_dateEdit->calendarWidget()->setCurrentPage(today.year(), today.month());
    }
    return QWidget::eventFilter(watched, event);
}

QDate ProjectInfoDialog::noDate()
{
    return QDate(100, 1, 1);
}

void ProjectInfoDialog::fillFromRecord()
{
    const ProjectInfo *info = ProjectInfo::instance();
    m_projectNameEdit->setText(info->projectName());
    m_detectionUnitEdit->setText(info->detectionUnit());
    m_coordinatesLongitudeEdit->setText(info->coordinatesLongitude());
    m_coordinatesLatitudeEdit->setText(info->coordinatesLatitude());
    m_orificeNumberEdit->setText(info->orificeNumber());
    // A project without a valid date shows an empty box, never the date
    // the box held for the previous project.
    m_dateEdit->setDate(info->date().isValid() ? info->date() : noDate());
    m_testTotalDepthEdit->setText(info->testTotalDepth());
    m_testStartDepthEdit->setText(info->testStartDepth());
    m_testPersonEdit->setText(info->testPerson());
    m_orificeElevationEdit->setText(info->orificeElevation());
    m_stableWaterLevelEdit->setText(info->stableWaterLevel());
    m_diameterEdit->setText(QString::number(info->diameter() / 10));

    const HoleSurvey survey = info->projectPath().isEmpty() ? HoleSurvey()
                                                            : HoleSurveyStore(info->projectPath()).read();
    m_hasSurvey = !survey.isEmpty();
    m_verticalStation = false;
    for (const HoleSurvey::Station &s : survey.stations())
        m_verticalStation = m_verticalStation || s.inclination == 0.0;
    {
        const QSignalBlocker block(m_referenceBox);
        m_referenceBox->setCurrentIndex(survey.reference() == HoleSurvey::HighSide ? 1 : 0);
    }
    m_referenceBox->setEnabled(m_hasSurvey);
    updateReferenceNote();
}

void ProjectInfoDialog::updateReferenceNote()
{
    if (!m_hasSurvey)
        m_referenceNote->setText(tr("The project has no hole survey: dips and dip directions are "
                                    "measured against the hole, azimuth 0 is north."));
    else if (m_referenceBox->currentIndex() == 1 && m_verticalStation)
        m_referenceNote->setText(tr("Where the hole is vertical it has no high side: north is "
                                    "used there."));
    else
        m_referenceNote->clear();
}

void ProjectInfoDialog::handleSavePressed()
{
    ProjectInfo *info = ProjectInfo::instance();
    info->setProjectName(m_projectNameEdit->text());
    info->setDetectionUnit(m_detectionUnitEdit->text());
    info->setCoordinatesLongitude(m_coordinatesLongitudeEdit->text());
    info->setCoordinatesLatitude(m_coordinatesLatitudeEdit->text());
    info->setOrificeNumber(m_orificeNumberEdit->text());
    info->setDate(m_dateEdit->date() == noDate() ? QDate() : m_dateEdit->date());
    info->setTestTotalDepth(m_testTotalDepthEdit->text());
    info->setDiameterText(m_diameterEdit->text());
    info->setTestStartDepth(m_testStartDepthEdit->text());
    info->setTestPerson(m_testPersonEdit->text());
    info->setOrificeElevation(m_orificeElevationEdit->text());
    info->setStableWaterLevel(m_stableWaterLevelEdit->text());
    const bool saved = info->saveProjectInfo();
    // The reference lives in the survey's own table, changed only when it changes.
    QString referenceError;
    if (m_hasSurvey) {
        const auto reference = m_referenceBox->currentIndex() == 1 ? HoleSurvey::HighSide : HoleSurvey::North;
        HoleSurveyStore store(info->projectPath());
        if (store.read().reference() != reference) {
            if (store.setReference(reference))
                HoleSurveyNotifier::instance()->notify(info->projectPath());
            else
                referenceError = store.lastError();
        }
    }
    close();
    if (!saved) {
        // The edits stay in memory; the user must learn they are not in the file.
        QMessageBox::warning(parentWidget(), tr("Warning"),
                             tr("The project information could not be saved to the project file!"));
    }
    if (!referenceError.isEmpty())
        QMessageBox::warning(parentWidget(), tr("Warning"),
                             tr("The azimuth reference could not be saved: %1").arg(referenceError));
}

void ProjectInfoDialog::OnRetranslate()
{
    setWindowTitle(tr("Project name:"));
    m_projectNameLabel->setText(tr("Project name:"));
    m_detectionUnitLabel->setText(tr("Detection unit:"));
    m_coordinatesLabel->setText(tr("Coordinates:"));
    m_orificeNumberLabel->setText(tr("Number:"));
    m_dateLabel->setText(tr("Date:"));
    m_testTotalDepthLabel->setText(tr("Total diameter(mm):"));
    m_diameterLabel->setText(tr("Diameter(mm):"));
    m_testStartDepthLabel->setText(tr("Start depth(mm):"));
    m_testPersonLabel->setText(tr("Person:"));
    m_orificeElevationLabel->setText(tr("Orifice elevation:"));
    m_stableWaterLevelLabel->setText(tr("Waterlevel"));
    m_referenceLabel->setText(tr("Azimuth reference:"));
    {
        const QSignalBlocker block(m_referenceBox);
        const int index = qMax(0, m_referenceBox->currentIndex());
        m_referenceBox->clear();
        m_referenceBox->addItem(tr("North"));
        m_referenceBox->addItem(tr("High side of the hole"));
        m_referenceBox->setCurrentIndex(index);
    }
    updateReferenceNote();
    m_saveButton->setText(tr("Save"));
    m_cancelButton->setText(tr("Cancel"));
}
