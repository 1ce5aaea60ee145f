#include "holesurveycontroller.h"

#include "holesurveydialog.h"
#include "mainwindow.h"
#include "projectinfo.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>

HoleSurveyController::HoleSurveyController(MainWindow *window)
    : QObject(window)
    , m_window(window)
{
    m_surveyAct = new QAction(window);
    m_surveyAct->setObjectName(QStringLiteral("holeSurveyAct"));
    connect(m_surveyAct, &QAction::triggered, this, &HoleSurveyController::showSurveyDialog);
    if (QMenu *file = window->fileMenu())
        file->insertAction(window->recentFilesMenu() ? window->recentFilesMenu()->menuAction() : nullptr,
                           m_surveyAct);
    connect(window, &MainWindow::NotifyLanguageChanged, this, &HoleSurveyController::OnRetranslate);
    OnRetranslate();
}

HoleSurveyDialog *HoleSurveyController::dialog() const
{
    return m_dialog.data();
}

void HoleSurveyController::OnRetranslate()
{
    m_surveyAct->setText(tr("Hole &survey..."));
    m_surveyAct->setStatusTip(tr("Import the hole's deviation survey, for the true orientation of "
                                 "the structure picks"));
}

void HoleSurveyController::showSurveyDialog()
{
    const QString path = ProjectInfo::instance()->projectPath();
    if (path.isEmpty()) {
        QMessageBox::information(m_window, QString(), tr("Please open a project file first!"));
        return;
    }
    if (m_dialog) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    m_dialog = new HoleSurveyDialog(path, m_window);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_dialog->open();
}
