#include "rollwidget.h"

#include <QApplication>
#include <QDebug>
#include <QDesktopWidget>
#include <QKeyEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QScreen>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {

int s_textureSizeLimit = 0;

constexpr int kFullTurn = 5760; // sixteenths of a degree

} // namespace

RollWidget::RollWidget(QWidget *parent, bool fullScreenView)
    : QOpenGLWidget(parent)
    , fullScreen(fullScreenView)
{
    QSurfaceFormat fmt = format();
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setDepthBufferSize(24);
    setFormat(fmt);
    setMinimumSize(600, 800);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_DeleteOnClose);
}

RollWidget::~RollWidget()
{
    if (context()) {
        disconnect(context(), nullptr, this, nullptr);
        cleanupGL();
    }
}

QSize RollWidget::sizeHint() const
{
    return QSize(400, 400);
}

QSize RollWidget::minimumSizeHint() const
{
    return QSize(50, 50);
}

void RollWidget::setTextureSizeLimit(int limit)
{
    s_textureSizeLimit = limit;
}

int RollWidget::wrapAngle(int angle)
{
    while (angle < 0)
        angle += kFullTurn;
    while (angle > kFullTurn)
        angle -= kFullTurn;
    return angle;
}

void RollWidget::setXRotation(int angle)
{
    angle = wrapAngle(angle);
    if (angle != xRot) {
        xRot = angle;
        update();
    }
}

void RollWidget::setYRotation(int angle)
{
    angle = wrapAngle(angle);
    if (angle != yRot) {
        yRot = angle;
        update();
    }
}

void RollWidget::setZRotation(int angle)
{
    angle = wrapAngle(angle);
    if (angle != zRot) {
        zRot = angle;
        update();
    }
}

void RollWidget::setRollRange(int start, int end)
{
    rollStart = start;
    rollEnd = end;
    update();
}

void RollWidget::setImage(const QImage &image)
{
    if (image.isNull())
        return;
    wallImage = image;
    resetView();
    // The texture is made on the next paint, also when the view already has
    // one (Previous and Next replace the image of a shown view).
    m_textureDirty = true;
    update();
}

void RollWidget::resetView()
{
    xRot = -1100;
    yRot = 0;
    zRot = 0;
    xTrans = 0;
    yTrans = 0;
    zTrans = -(wallImage.height() / 180);
}

bool RollWidget::saveView(const QString &fileName)
{
    if (fileName.isEmpty())
        return false;
    const QImage view = grabFramebuffer();
    if (view.isNull())
        return false;
    return view.save(fileName);
}

void RollWidget::initializeGL()
{
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &RollWidget::cleanupGL,
            Qt::UniqueConnection);
    releaseGL();
    m_textureDirty = !wallImage.isNull();

    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.2f, 0.8f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    const GLfloat ambient[] = {0.5f, 0.5f, 0.5f, 1.0f};
    const GLfloat diffuse[] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat position[] = {0.0f, 0.0f, 2.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glEnable(GL_LIGHT1);
    if (lighting)
        glEnable(GL_LIGHTING);

    quadric = gluNewQuadric();
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricTexture(quadric, GL_TRUE);
}

void RollWidget::uploadTexture()
{
    m_textureDirty = false;
    if (m_texture)
        glDeleteTextures(1, &m_texture);
    m_texture = 0;
    m_textureSize = QSize();
    if (wallImage.isNull())
        return;

    // An image over the GL's limit is scaled down by a power of two until it
    // fits; the cylinder keeps the size of the image.
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (s_textureSizeLimit > 0)
        maxSize = qMin(maxSize, s_textureSizeLimit);
    int factor = 1;
    while (maxSize > 0 && (wallImage.height() / factor > maxSize || wallImage.width() / factor > maxSize))
        factor *= 2;
    const int w = wallImage.width() / factor;
    const int h = wallImage.height() / factor;

    bool ok = maxSize > 0 && w > 0 && h > 0;
    QImage data;
    if (ok) {
        qDebug() << "covertToGLFormat start ";
        const QImage source = factor == 1
            ? wallImage
            : wallImage.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        data = source.convertToFormat(QImage::Format_RGBA8888).mirrored();
        qDebug() << "covertToGLFormat end";
        ok = !data.isNull();
    }
    if (ok) {
        while (glGetError() != GL_NO_ERROR) {
        }
        glGenTextures(1, &m_texture);
        glBindTexture(GL_TEXTURE_2D, m_texture);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        qDebug() << "gluBuild2DMipmaps";
        const GLint result = gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, data.width(), data.height(),
                                               GL_RGBA, GL_UNSIGNED_BYTE, data.constBits());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        ok = result == 0 && glGetError() == GL_NO_ERROR;
    }
    if (!ok) {
        if (m_texture)
            glDeleteTextures(1, &m_texture);
        m_texture = 0;
        qWarning() << "RollWidget: texture of" << wallImage.size() << "refused by the GL";
        // Told after the paint has returned.
        QMetaObject::invokeMethod(this, "signalTextureLoadFailed", Qt::QueuedConnection);
        return;
    }
    m_textureSize = data.size();
}

void RollWidget::releaseGL()
{
    if (m_texture)
        glDeleteTextures(1, &m_texture);
    m_texture = 0;
    m_textureSize = QSize();
    if (quadric)
        gluDeleteQuadric(quadric);
    quadric = nullptr;
}

void RollWidget::cleanupGL()
{
    makeCurrent();
    releaseGL();
    doneCurrent();
    m_textureDirty = !wallImage.isNull();
}

void RollWidget::resizeGL(int w, int h)
{
    if (h == 0)
        h = 1;
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, GLsizei(w * ratio), GLsizei(h * ratio));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, GLdouble(w) / GLdouble(h), 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void RollWidget::paintGL()
{
    if (m_textureDirty)
        uploadTexture();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (!quadric || !m_texture)
        return;
    glTranslatef(xTrans, yTrans, zTrans);
    glRotatef(xRot / 16.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(yRot / 16.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(zRot / 16.0f, 0.0f, 0.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, m_texture);
    glTranslatef(0.0f, 0.0f, (rollEnd - rollStart) * -7.5f / 10000.0f);
    const double radius = wallImage.width() / 1884.95556;
    const double length = wallImage.height() / 300;
    gluCylinder(quadric, radius, radius, length, 32, 32);
}

void RollWidget::leaveFullScreen()
{
    // The view sits in the roll window: the window is what leaves full
    // screen and is placed centred on the desktop.
    QWidget *w = window();
    w->showNormal();
    w->resize(640, 480);
    const QRect desktop = w->screen() ? w->screen()->availableGeometry()
                                      : QApplication::desktop()->availableGeometry(w);
    w->move(desktop.center() - QPoint(320, 240));
}

void RollWidget::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_A:
        zRot += 16;
        update();
        break;
    case Qt::Key_D:
        zRot -= 16;
        update();
        break;
    case Qt::Key_L:
        lighting = !lighting;
        if (context()) {
            makeCurrent();
            if (lighting)
                glEnable(GL_LIGHTING);
            else
                glDisable(GL_LIGHTING);
            doneCurrent();
        }
        update();
        break;
    case Qt::Key_Escape:
        // Closes the view's window (the roll window), full screen or not.
        fullScreen = false;
        window()->close();
        break;
    case Qt::Key_Left:
        xTrans -= 0.5f;
        update();
        break;
    case Qt::Key_Right:
        xTrans += 0.5f;
        update();
        break;
    case Qt::Key_Up:
        rollSpeed += 0.5f;
        setXRotation(int(xRot + rollSpeed * 8));
        update();
        break;
    case Qt::Key_Down:
        rollSpeed += 0.5f;
        setXRotation(int(xRot - rollSpeed * 8));
        update();
        break;
    case Qt::Key_PageUp:
        zTrans += 0.2f;
        update();
        break;
    case Qt::Key_PageDown:
        zTrans -= 0.2f;
        update();
        break;
    case Qt::Key_Alt:
        altHeld = true;
        break;
    case Qt::Key_F2:
        fullScreen = !fullScreen;
        if (fullScreen)
            window()->showFullScreen();
        else
            leaveFullScreen();
        update();
        break;
    default:
        QOpenGLWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void RollWidget::keyReleaseEvent(QKeyEvent *event)
{
    // X11 sends a release before every repeated press of a held key; only
    // the real release ends the acceleration.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Alt)
        altHeld = false;
    else if (event->key() == Qt::Key_Up)
        rollSpeed = 1.0f;
    else
        QOpenGLWidget::keyReleaseEvent(event);
}

void RollWidget::mousePressEvent(QMouseEvent *event)
{
    lastPos = event->pos();
}

void RollWidget::mouseMoveEvent(QMouseEvent *event)
{
    const int dx = event->x() - lastPos.x();
    const int dy = event->y() - lastPos.y();
    const Qt::MouseButtons buttons = event->buttons();
    if (altHeld) {
        if (buttons & Qt::LeftButton)
            setXRotation(int(xRot + 8 * dx));
        else if (buttons & Qt::RightButton)
            setZRotation(int(zRot + 8 * dx));
    } else if (buttons & Qt::LeftButton) {
        if (std::abs(dy) < std::abs(dx))
            setZRotation(int(zRot + 8 * dx));
        else
            setXRotation(int(xRot + 8 * dy));
    } else if (buttons & Qt::RightButton) {
        // dy / (-100 / |zTrans / 10|), without dividing by zero at zTrans 0.
        yTrans += dy * std::fabs(zTrans / 10.0f) / -100.0f;
        update();
    }
    lastPos = event->pos();
}

void RollWidget::wheelEvent(QWheelEvent *event)
{
    zTrans += event->angleDelta().y() / 100;
    update();
    event->accept();
}

void RollWidget::timerEvent(QTimerEvent *)
{
    update();
}
