#include "structurescontroller.h"

#include "holesurveynotifier.h"
#include "holesurveystore.h"
#include "mainwindow.h"
#include "projectinfo.h"
#include "structurepickstore.h"
#include "structureswindow.h"
#include "tadpoleplot.h"
#include "toolbar.h"
#include "trueorientation.h"

#include <QAction>
#include <QDockWidget>
#include <QGridLayout>
#include <QMenu>
#include <QMessageBox>
#include <QThread>
#include <QToolButton>

#include <memory>

StructuresController::StructuresController(MainWindow *window)
    : QObject(window)
    , m_mainWindow(window)
{
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

StructuresController::~StructuresController()
{
    for (const QPointer<QThread> &reader : qAsConst(m_readers)) {
        if (reader) {
            reader->wait();
            delete reader.data();
        }
    }
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
    const double from = info->pageStart();
    const double to = info->pageEnd();
    const int serial = ++m_readSerial;
    if (path.isEmpty()) {
        m_tadpole->setPicks({});
        m_tadpole->setDepthRange(0.0, 0.0);
        emit tadpoleRefreshed();
        return;
    }
    auto result = std::make_shared<QVector<StructurePick>>();
    auto surveyed = std::make_shared<bool>(false);
    QThread *reader = QThread::create([path, from, to, result, surveyed] {
        const TrueOrientation orientation(HoleSurveyStore(path).read());
        *surveyed = orientation.isActive();
        *result = orientation.corrected(StructurePickStore(path).picks(from, to));
    });
    connect(reader, &QThread::finished, this, [this, reader, result, surveyed, serial, from, to] {
        m_readers.removeAll(reader);
        reader->deleteLater();
        if (serial != m_readSerial)
            return; // a newer page is being read
        m_tadpole->setTrueOrientation(*surveyed);
        m_tadpole->setPicks(*result);
        m_tadpole->setDepthRange(from, to);
        emit tadpoleRefreshed();
    });
    m_readers.removeAll(nullptr);
    m_readers << reader;
    reader->start();
}
