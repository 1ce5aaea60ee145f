#include "main3dwindow.h"

#include "myglwidget.h"
#include "toptoolbar.h"

#include <QCloseEvent>

Main3DWindow::Main3DWindow(const QStringList &fileList, QWidget *parent)
    : QMainWindow(parent)
    , m_fileList(fileList)
{
    resize(800, 600);
    m_toolBar = new TopToolBar(tr("3D tool"), this);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    if (m_fileList.size() < 2)
        return;
    m_glWidget = new MyGLWidget(m_fileList, this);
    setCentralWidget(m_glWidget);
    connect(m_toolBar, &TopToolBar::signalRotation, this, &Main3DWindow::Handle3DRotation);
    connect(m_toolBar, &TopToolBar::signalMove, this, &Main3DWindow::Handle3DMove);
    connect(m_toolBar, &TopToolBar::signalSizeChanged, this, &Main3DWindow::HandleSizeChanged);
    connect(m_glWidget, &MyGLWidget::signalTextureLoadFailed, this, &Main3DWindow::signalTextureLoadFailed);
}

void Main3DWindow::Handle3DRotation()
{
    if (m_glWidget)
        m_glWidget->rotateView(true, m_toolBar->lastActionId() == TopToolBar::RotateVertical);
}

void Main3DWindow::Handle3DMove()
{
    if (!m_glWidget)
        return;
    const int id = m_toolBar->lastActionId();
    if (id == TopToolBar::MoveLeft || id == TopToolBar::MoveRight)
        m_glWidget->moveView(id == TopToolBar::MoveLeft, false);
    else
        m_glWidget->moveView(id == TopToolBar::MoveUp, true);
}

void Main3DWindow::HandleSizeChanged()
{
    if (m_glWidget)
        m_glWidget->zoomCamera(m_toolBar->lastActionId() == TopToolBar::Enlarge);
}

void Main3DWindow::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    // Once only: a second close of the same window must not hand the list
    // back again.
    if (event->isAccepted() && !m_closeReported) {
        m_closeReported = true;
        emit signal3dwindowclose(m_fileList);
    }
}
