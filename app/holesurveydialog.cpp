#include "holesurveydialog.h"

#include "holesurveynotifier.h"
#include "holesurveystore.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>

#include <memory>

HoleSurveyDialog::HoleSurveyDialog(const QString &projectPath, QWidget *parent)
    : QDialog(parent)
    , m_projectPath(projectPath)
{
    setWindowTitle(tr("Hole survey"));
    m_current = new QLabel(this);
    m_current->setWordWrap(true);
    m_csvButton = new QRadioButton(tr("Stations from a CSV file (columns depth or MD, inclination "
                                      "or INC, azimuth or AZI):"),
                                   this);
    m_csvEdit = new QLineEdit(this);
    m_browse = new QPushButton(tr("Browse..."), this);
    m_straightButton = new QRadioButton(tr("A straight hole:"), this);
    m_inclination = new QDoubleSpinBox(this);
    m_inclination->setRange(0.0, 180.0);
    m_inclination->setDecimals(2);
    m_inclination->setSuffix(QStringLiteral("°"));
    m_azimuth = new QDoubleSpinBox(this);
    m_azimuth->setRange(0.0, 359.99);
    m_azimuth->setDecimals(2);
    m_azimuth->setWrapping(true);
    m_azimuth->setSuffix(QStringLiteral("°"));
    m_csvButton->setChecked(true);

    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(m_csvEdit, 1);
    fileRow->addWidget(m_browse);
    auto *straight = new QFormLayout;
    straight->addRow(tr("Inclination from vertical:"), m_inclination);
    straight->addRow(tr("Azimuth of the hole from north:"), m_azimuth);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_okButton = buttons->button(QDialogButtonBox::Ok);
    auto *method = new QLabel(tr("Between stations the hole's direction follows a circular arc "
                                 "(minimum curvature)."),
                              this);
    method->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_current);
    layout->addWidget(m_csvButton);
    layout->addLayout(fileRow);
    layout->addWidget(m_straightButton);
    layout->addLayout(straight);
    layout->addWidget(method);
    layout->addWidget(buttons);

    connect(m_browse, &QPushButton::clicked, this, &HoleSurveyDialog::browse);
    connect(m_csvButton, &QRadioButton::toggled, this, &HoleSurveyDialog::updateEnabled);
    connect(buttons, &QDialogButtonBox::accepted, this, &HoleSurveyDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &HoleSurveyDialog::reject);
    m_current->setText(describe(HoleSurveyStore(projectPath).read()));
    updateEnabled();
}

HoleSurveyDialog::~HoleSurveyDialog()
{
    if (m_worker) {
        m_worker->disconnect(this);
        m_worker->wait();
        delete m_worker.data();
    }
}

QString HoleSurveyDialog::describe(const HoleSurvey &survey)
{
    if (survey.isEmpty())
        return tr("The project has no hole survey: dips are measured against the hole.");
    const QVector<HoleSurvey::Station> stations = survey.stations();
    const QString reference = survey.reference() == HoleSurvey::HighSide ? tr("high side") : tr("north");
    if (stations.size() == 1)
        return tr("Straight hole, inclination %1°, azimuth %2°; azimuth reference: %3.")
            .arg(stations.first().inclination, 0, 'f', 2)
            .arg(stations.first().azimuth, 0, 'f', 2)
            .arg(reference);
    return tr("%1 stations from %2 m to %3 m; azimuth reference: %4.")
        .arg(stations.size())
        .arg(stations.first().depth, 0, 'f', 2)
        .arg(stations.last().depth, 0, 'f', 2)
        .arg(reference);
}

void HoleSurveyDialog::updateEnabled()
{
    const bool csv = m_csvButton->isChecked();
    m_csvEdit->setEnabled(csv);
    m_browse->setEnabled(csv);
    m_inclination->setEnabled(!csv);
    m_azimuth->setEnabled(!csv);
}

void HoleSurveyDialog::browse()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Hole survey"),
                                                      QFileInfo(m_projectPath).absolutePath(),
                                                      tr("CSV files (*.csv *.txt);;All files (*)"));
    if (!path.isEmpty())
        m_csvEdit->setText(path);
}

void HoleSurveyDialog::accept()
{
    if (m_worker)
        return;
    const bool csv = m_csvButton->isChecked();
    const QString csvPath = m_csvEdit->text().trimmed();
    if (csv && csvPath.isEmpty()) {
        stored(false, tr("Choose the CSV file of the survey."));
        return;
    }
    const QString project = m_projectPath;
    const double inclination = m_inclination->value();
    const double azimuth = m_azimuth->value();
    auto error = std::make_shared<QString>();
    auto ok = std::make_shared<bool>(false);
    // The file is read and the project written away from the GUI thread.
    m_worker = QThread::create([=] {
        HoleSurveyStore store(project);
        const HoleSurvey::Reference reference = store.read().reference();
        *ok = csv ? store.importCsv(csvPath, reference)
                  : store.write(HoleSurvey::straight(inclination, azimuth, reference));
        *error = store.lastError();
    });
    connect(m_worker, &QThread::finished, this, [this, ok, error] {
        m_worker->deleteLater();
        m_worker = nullptr;
        m_okButton->setEnabled(true);
        stored(*ok, *error);
    });
    m_okButton->setEnabled(false);
    m_worker->start();
}

void HoleSurveyDialog::stored(bool ok, const QString &error)
{
    if (ok) {
        m_lastError.clear();
        emit surveyStored();
        HoleSurveyNotifier::instance()->notify(m_projectPath);
        QDialog::accept();
        return;
    }
    m_lastError = error;
    QMessageBox::warning(this, tr("Warning"), tr("The hole survey was not stored: %1").arg(error));
}
