#include "correctiondialog.h"

#include <QDebug>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <limits>

#include "pickcorrection.h"
#include "projectinfo.h"
#include "sqliteconnection.h"
#include "structurepickstore.h"
#include "writefailure.h"

namespace {

// Millimetres from a field: a whole number above 0 whose depth units (x 10)
// fit the depth range; 0 for anything else.
int positiveMillimetres(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value <= 0 || value > std::numeric_limits<int>::max() / 10)
        return 0;
    return value;
}

} // namespace

CorrectionDialog::CorrectionDialog(QWidget *parent)
    : QDialog(parent)
    , m_projectInfo(ProjectInfo::instance())
{
    auto *layout = new QVBoxLayout(this);

    m_depthGroup = new QGroupBox(this);
    auto *depthLayout = new QGridLayout(m_depthGroup);
    m_testDepthLabel = new QLabel(m_depthGroup);
    m_testDepthEdit = new QLineEdit(m_depthGroup);
    m_testDepthEdit->setEnabled(false);
    m_realDepthLabel = new QLabel(m_depthGroup);
    m_realDepthEdit = new QLineEdit(m_depthGroup);
    depthLayout->addWidget(m_testDepthLabel, 0, 0);
    depthLayout->addWidget(m_testDepthEdit, 0, 1);
    depthLayout->addWidget(m_realDepthLabel, 1, 0);
    depthLayout->addWidget(m_realDepthEdit, 1, 1);
    layout->addWidget(m_depthGroup);
    layout->addSpacing(30);

    m_angleGroup = new QGroupBox(this);
    auto *angleLayout = new QGridLayout(m_angleGroup);
    m_angleLabel = new QLabel(m_angleGroup);
    m_angleEdit = new QLineEdit(m_angleGroup);
    m_angleNoteLabel = new QLabel(m_angleGroup);
    angleLayout->addWidget(m_angleLabel, 0, 0);
    angleLayout->addWidget(m_angleEdit, 0, 1);
    angleLayout->addWidget(m_angleNoteLabel, 1, 1);
    layout->addWidget(m_angleGroup);
    layout->addSpacing(30);

    m_diameterGroup = new QGroupBox(this);
    auto *diameterLayout = new QGridLayout(m_diameterGroup);
    m_testDiameterLabel = new QLabel(m_diameterGroup);
    m_testDiameterEdit = new QLineEdit(m_diameterGroup);
    m_testDiameterEdit->setEnabled(false);
    m_realDiameterLabel = new QLabel(m_diameterGroup);
    m_realDiameterEdit = new QLineEdit(m_diameterGroup);
    diameterLayout->addWidget(m_testDiameterLabel, 0, 0);
    diameterLayout->addWidget(m_testDiameterEdit, 0, 1);
    diameterLayout->addWidget(m_realDiameterLabel, 1, 0);
    diameterLayout->addWidget(m_realDiameterEdit, 1, 1);
    layout->addWidget(m_diameterGroup);
    layout->addSpacing(30);

    auto *buttons = new QGridLayout;
    m_okButton = new QPushButton(this);
    m_okButton->setFixedSize(80, 30);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setFixedSize(80, 30);
    buttons->addWidget(m_okButton, 0, 0);
    buttons->addWidget(m_cancelButton, 0, 1);
    layout->addLayout(buttons);

    connect(m_okButton, &QPushButton::pressed, this, &CorrectionDialog::handleOkBtnPressed);
    connect(m_cancelButton, &QPushButton::pressed, this, &QWidget::close);

    OnRetranslate();
    refresh();
}

CorrectionDialog::~CorrectionDialog() = default;

void CorrectionDialog::refresh()
{
    m_testDepthEdit->setText(QString::number(m_projectInfo->maxDepth() / 10));
    m_testDiameterEdit->setText(QString::number(m_projectInfo->diameter() / 10));
}

void CorrectionDialog::refuse(QLineEdit *field, const QString &why)
{
    QMessageBox::warning(this, tr("Warning"), why);
    if (field) {
        field->setFocus();
        field->selectAll();
    }
}

void CorrectionDialog::handleOkBtnPressed()
{
    // Everything is checked before anything is written or started.
    const QString depthText = m_realDepthEdit->text().trimmed();
    const QString angleText = m_angleEdit->text().trimmed();
    const QString diameterText = m_realDiameterEdit->text().trimmed();

    int realDepth = 0;
    bool depthRequested = false;
    if (!depthText.isEmpty()) {
        realDepth = positiveMillimetres(depthText);
        if (realDepth <= 0) {
            refuse(m_realDepthEdit, tr("The real depth must be a whole number of millimetres greater than 0."));
            return;
        }
        depthRequested = realDepth != m_projectInfo->maxDepth() / 10;
    }
    int angle = 0;
    const bool angleRequested = !angleText.isEmpty();
    if (angleRequested) {
        bool ok = false;
        angle = angleText.toInt(&ok, 10);
        if (!ok) {
            refuse(m_angleEdit, tr("The correction angle must be a whole number of degrees."));
            return;
        }
    }
    int realDiameter = 0;
    bool diameterRequested = false;
    if (!diameterText.isEmpty()) {
        realDiameter = positiveMillimetres(diameterText);
        if (realDiameter <= 0) {
            refuse(m_realDiameterEdit,
                   tr("The real diameter must be a whole number of millimetres greater than 0."));
            return;
        }
        diameterRequested = realDiameter != m_projectInfo->diameter() / 10;
    }

    if (depthRequested || angleRequested || diameterRequested) {
        if (m_projectInfo->projectPath().isEmpty()) {
            refuse(nullptr, tr("Please open a project file first!"));
            return;
        }
        if (m_busyCheck && m_busyCheck()) {
            refuse(nullptr, tr("The project file is being rewritten. Please wait until it is finished."));
            return;
        }
    }

    // A picks table that cannot be read never blocks a correction of the
    // wall, and is never left behind without the user knowing.
    m_leavesPicks = false;
    if (depthRequested || angleRequested || diameterRequested) {
        const QString unreadable = StructurePickStore::unreadableReason(m_projectInfo->projectPath());
        if (!unreadable.isEmpty()) {
            const auto answer = QMessageBox::question(
                this, tr("Corrections"),
                tr("The structure picks of this project cannot be read: %1.\n"
                   "Correct the wall without moving them? They will then no longer match the wall.")
                    .arg(unreadable));
            if (answer != QMessageBox::Yes)
                return;
            m_leavesPicks = true;
        }
    }

    // The diameter first: the rewrites that follow hold the file's write lock.
    if (diameterRequested) {
        QString why;
        if (!updateDiameter(realDiameter * 10, &why)) {
            refuse(m_realDiameterEdit,
                   tr("The diameter could not be written to the project file: %1. Nothing was corrected.")
                       .arg(why));
            return;
        }
        m_projectInfo->setDiameter(realDiameter * 10);
        refresh();
        emit signalDiameterCorrected(realDiameter * 10);
    }

    // A request is made once: the fields are emptied, so that opening the
    // dialog again and pressing "Ok" does not turn the wall a second time.
    m_realDepthEdit->clear();
    m_angleEdit->clear();
    m_realDiameterEdit->clear();

    m_okPressInProgress = true;
    if (depthRequested)
        emit signalToCorrectDepth(realDepth);
    if (angleRequested)
        emit signalToCorrectAngle(angle);
    m_okPressInProgress = false;

    close();
}

bool CorrectionDialog::updateDiameter(int diameter, QString *why)
{
    const QString path = m_projectInfo->projectPath();
    const QString name = SqliteConnection::uniqueName(QStringLiteral("DB7"));
    bool ok = false;
    if (SqliteConnection::isReadOnlyFile(path) || WriteFailure::folderIsReadOnly(path)) {
        *why = WriteFailure::describe(WriteFailure::ReadOnly, path, QString());
        return false;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Another writer (a program, or a rewrite that is just ending) is
        // waited for rather than failed on.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!QFileInfo(path).isFile() || !db.open()) {
            qDebug() << "database open failed!" << path;
            *why = WriteFailure::forSql(path, db.lastError());
        } else {
            // The record and the dips of the structure picks change together.
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
                qDebug() << query.lastError().text();
                *why = WriteFailure::forSql(path, query.lastError());
            } else {
                query.prepare(QStringLiteral("update  ProjectInfo set  diameter = ?"));
                query.addBindValue(diameter);
                QString error;
                if (!query.exec()) {
                    qDebug() << query.lastError().text();
                    *why = WriteFailure::forSql(path, query.lastError());
                } else if (query.numRowsAffected() <= 0) {
                    qDebug() << "no projectInfo row to update";
                    *why = tr("the project has no information row");
                } else if (!m_leavesPicks && !PickCorrection::changeDiameters(db, diameter, &error, &m_picksNotMoved)) {
                    qDebug() << "structure picks not corrected:" << error;
                    *why = tr("the structure picks could not be corrected (%1)").arg(error);
                } else {
                    ok = true;
                }
                query.finish();
                QSqlQuery end(db);
                if (ok && !end.exec(QStringLiteral("COMMIT"))) {
                    qDebug() << end.lastError().text();
                    *why = WriteFailure::forSql(path, end.lastError());
                    ok = false;
                }
                if (!ok)
                    end.exec(QStringLiteral("ROLLBACK"));
            }
            query.finish();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

void CorrectionDialog::OnRetranslate()
{
    setWindowTitle(tr("Corrections"));
    m_depthGroup->setTitle(tr("Depth correction"));
    m_testDepthLabel->setText(tr("Test depth(mm):"));
    m_realDepthLabel->setText(tr("Real depth(mm):"));
    m_angleGroup->setTitle(tr("Angle correction"));
    m_angleLabel->setText(tr("Correction angle:"));
    m_angleNoteLabel->setText(tr("note:The default correction angle is north to east"));
    m_diameterGroup->setTitle(tr("Diameter correction"));
    m_testDiameterLabel->setText(tr("Test diameter(mm):"));
    m_realDiameterLabel->setText(tr("Real diameter(mm):"));
    m_okButton->setText(tr("Ok"));
    m_cancelButton->setText(tr("Cancel"));
}
