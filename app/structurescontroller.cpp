#include "structurescontroller.h"

#include "holesurveynotifier.h"
#include "mainwindow.h"
#include "pagepickreader.h"
#include "projectinfo.h"
#include "structureswindow.h"
#include "tadpoleplot.h"
#include "toolbar.h"
#include "trueorientation.h"

#include <QAction>
#include <QDockWidget>
#include <QGridLayout>
#include <QMenu>
#include <QMessageBox>
#include <QToolButton>


StructuresController::StructuresController(MainWindow *window)
    : QObject(window)
    , m_mainWindow(window)
    , m_reader(new PagePickReader(this))
{
    connect(m_reader, &PagePickReader::picksRead, this, &StructuresController::showPagePicks);
    m_structuresAct = new QAction(QIcon(QStringLiteral(":/res/structures.png")), QString(), window);
    m_structuresAct->setObjectName(QStringLiteral("structuresAct"));
    connect(m_structuresAct, &QAction::triggered, this, &StructuresController::showStructures);

    m_tadpole = new TadpolePlot;
    m_tadpoleDock = new QDockWidget(window);
    m_tadpoleDock->setObjectName(QStringLiteral("tadpoleDock"));
    m_tadpoleDock->setWidget(m_tadpole);
    window->addDockWidget(Qt::RightDockWidgetArea, m_tadpoleDock);
    m_tadpoleDock->hide();
    // Shown again: the page may have changed meanwhile.
    connect(m_tadpoleDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            readPagePicks();
    });

    // A panel of its own below the tool bar's panels, buttons as theirs.
    if (ToolBar *bar = window->toolBar()) {
        auto *panel = new QWidget(bar);
        panel->setObjectName(QStringLiteral("viewPanel"));
        panel->setMaximumWidth(110);
        auto *grid = new QGridLayout(panel);
        m_structuresButton = new QToolButton(panel);
        m_structuresButton->setFixedSize(40, 40);
        m_structuresButton->setIconSize(QSize(32, 32));
        m_structuresButton->setDefaultAction(m_structuresAct);
        grid->addWidget(m_structuresButton, 0, 0);
        bar->addWidget(panel);
    }
    // True orientations change with the survey.
    connect(HoleSurveyNotifier::instance(), &HoleSurveyNotifier::surveyChanged, this,
            [this] { picksCorrected(false); });
    if (QMenu *view = window->viewMenu()) {
        view->addAction(m_structuresAct);
        view->addAction(m_tadpoleDock->toggleViewAction());
    }
    OnRetranslate();
}

void StructuresController::OnRetranslate()
{
    m_structuresAct->setText(tr("&Structures"));
    m_structuresAct->setToolTip(tr("Stereonet, rose and tadpole plots of the structure picks"));
    m_structuresAct->setStatusTip(tr("Stereonet, rose and tadpole plots of the structure picks"));
    if (m_structuresButton)
        m_structuresButton->setStatusTip(tr("Structures"));
    m_tadpoleDock->setWindowTitle(tr("Tadpole plot"));
    m_tadpoleDock->toggleViewAction()->setText(tr("Tadpole plot"));
    if (m_window)
        m_window->OnRetranslate();
}

void StructuresController::showStructures()
{
    ProjectInfo *info = ProjectInfo::instance();
    if (info->projectPath().isEmpty()) {
        QMessageBox::information(m_mainWindow, QString(), tr("Please open a project file first!"));
        return;
    }
    if (!m_window)
        m_window = new StructuresWindow(m_mainWindow);
    m_window->setProject(info->projectPath(), info->start(), info->maxDepth());
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
}

void StructuresController::pageRead()
{
    // Not hidden by the user (it may be out of sight on a minimised window).
    if (!m_tadpoleDock->isHidden())
        readPagePicks();
}

void StructuresController::picksCorrected(bool depthsMoved)
{
    pageRead();
    if (!m_window)
        return;
    if (depthsMoved) {
        ProjectInfo *info = ProjectInfo::instance();
        m_window->setProject(info->projectPath(), info->start(), info->maxDepth());
    } else {
        m_window->reload();
    }
}

void StructuresController::readPagePicks()
{
    ProjectInfo *info = ProjectInfo::instance();
    const QString path = info->projectPath();
    m_readFrom = info->pageStart();
    m_readTo = info->pageEnd();
    if (path.isEmpty()) {
        m_readTicket = 0;
        m_tadpole->setPicks({});
        m_tadpole->setDepthRange(0.0, 0.0);
        emit tadpoleRefreshed();
        return;
    }
    // The page's picks and the survey their true orientation needs.
    m_readTicket = m_reader->read(path, m_readFrom, m_readTo, true);
}

void StructuresController::showPagePicks(quint64 ticket, const QVector<StructurePick> &picks,
                                         const HoleSurvey &survey)
{
    if (ticket != m_readTicket)
        return; // a newer page is being read
    const TrueOrientation orientation(survey);
    m_tadpole->setTrueOrientation(orientation.isActive());
    m_tadpole->setPicks(orientation.corrected(picks));
    m_tadpole->setDepthRange(m_readFrom, m_readTo);
    emit tadpoleRefreshed();
}
