#include "myglwidget.h"

#include <QDebug>
#include <QMetaObject>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>
#include <QPainterPath>
#include <QSurfaceFormat>
#include <QWheelEvent>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {

// Twice the tangent of half the 45 degree field of view: the view's height
// per unit of camera distance.
constexpr float kViewHeightPerDistance = 0.8284263822087914f;

// The camera never starts nearer than this (the tube's diameter is 2).
constexpr float kNearestStart = 5.0f;

// Share of the view's height the whole page takes when the window opens.
constexpr float kPageShareOfView = 0.8f;

QImage loadOrPlaceholder(const QString &path)
{
    QImage image;
    if (!path.isEmpty())
        image.load(path);
    if (image.isNull()) {
        qWarning() << "Cannot open the image...";
        image = QImage(128, 128, QImage::Format_RGB32);
        image.fill(Qt::green);
    }
    return image;
}

// Uploads image (top-down rows) as a new linear-filtered texture. Answers the
// texture name, or 0 when the GL refuses it (too large or out of memory).
GLuint uploadTexture(const QImage &image)
{
    const QImage data = CylinderTexture::toGLFormat(image);
    if (data.isNull())
        return 0;
    while (glGetError() != GL_NO_ERROR) {
    }
    // Ask the proxy first: an oversized texture is refused there without
    // touching memory.
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGB, data.width(), data.height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    GLint proxyWidth = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &proxyWidth);
    if (proxyWidth == 0 || glGetError() != GL_NO_ERROR)
        return 0;
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, data.width(), data.height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, data.constBits());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteTextures(1, &name);
        return 0;
    }
    return name;
}

} // namespace

MyGLWidget::MyGLWidget(const QStringList &fileList, QWidget *parent)
    : QOpenGLWidget(parent)
{
    m_fileList = fileList;
    m_fileList.detach();
    // The drawing uses the fixed pipeline and GLU.
    QSurfaceFormat fmt = format();
    fmt.setProfile(QSurfaceFormat::CompatibilityProfile);
    fmt.setDepthBufferSize(24);
    setFormat(fmt);
    resize(640, 400);
    loadImages();
}

MyGLWidget::~MyGLWidget()
{
    if (context()) {
        disconnect(context(), nullptr, this, nullptr);
        cleanupGL();
    }
}

void MyGLWidget::cleanupGL()
{
    makeCurrent();
    releaseGL();
    doneCurrent();
}

void MyGLWidget::loadImages()
{
    m_wallImage = loadOrPlaceholder(m_fileList.value(0));
    m_rulerImage = loadOrPlaceholder(m_fileList.value(1));
}

void MyGLWidget::reportTextureFailure()
{
    // Told after the GL hook has returned, so that a message box opened in
    // answer does not run inside the paint.
    QMetaObject::invokeMethod(this, "signalTextureLoadFailed", Qt::QueuedConnection);
}

bool MyGLWidget::loadTextures()
{
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    const CylinderTexture t = CylinderTexture::prepare(m_wallImage, m_rulerImage, maxSize);
    m_imageAspect = m_wallImage.width() > 0 ? float(m_wallImage.height()) / m_wallImage.width() : 0.0f;
    if (!t.isValid())
        return false;
    m_wallTexPadding = t.wallTexPadding();
    m_radius = t.radius();
    m_wallTexHeight = t.wallTexHeight();
    m_cylinderLength = t.cylinderLength();
    m_rulerTexWidth = t.rulerTexWidth();
    m_rulerTexHeight = t.rulerTexHeight();
    if (!m_viewFitted) {
        // The window opens on the whole page: the camera stands back until
        // the page's length fills most of the view's height.
        m_viewFitted = true;
        m_cameraZ = -std::max(kNearestStart, pageLength() / kPageShareOfView / kViewHeightPerDistance);
        updateViewExtent();
    }
    m_wallTexture = uploadTexture(t.wallTexture());
    m_rulerTexture = m_wallTexture ? uploadTexture(t.rulerTexture()) : 0;
    if (!texturesLoaded()) {
        releaseGL();
        return false;
    }
    return true;
}

void MyGLWidget::releaseGL()
{
    if (m_wallTexture)
        glDeleteTextures(1, &m_wallTexture);
    if (m_rulerTexture)
        glDeleteTextures(1, &m_rulerTexture);
    m_wallTexture = 0;
    m_rulerTexture = 0;
    if (m_quadric)
        gluDeleteQuadric(m_quadric);
    m_quadric = nullptr;
}

void MyGLWidget::initializeGL()
{
    // A new context (first show, or a move to another window) gets its own
    // resources; they go when that context goes.
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &MyGLWidget::cleanupGL,
            Qt::UniqueConnection);
    releaseGL();

    if (!loadTextures())
        reportTextureFailure();

    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    m_quadric = gluNewQuadric();
    gluQuadricDrawStyle(m_quadric, GLU_FILL);
    gluQuadricNormals(m_quadric, GLU_SMOOTH);
    gluQuadricOrientation(m_quadric, GLU_OUTSIDE);
    gluQuadricTexture(m_quadric, GL_TRUE);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
}

float MyGLWidget::pageLength() const
{
    return m_radius > 0.0f ? (m_wallTexHeight - m_wallTexPadding) / m_radius : 0.0f;
}

void MyGLWidget::resizeGL(int w, int h)
{
    if (h == 0)
        h = 1;
    m_aspect = float(w) / float(h);
    updateViewExtent();
}

void MyGLWidget::setUpFrame()
{
    // Set again on every frame: the painter of the compass letters leaves
    // its own state behind, and a camera far back needs a farther plane.
    if (QOpenGLContext *c = QOpenGLContext::currentContext()) {
        QOpenGLFunctions *f = c->functions();
        f->glUseProgram(0);
        f->glBindBuffer(GL_ARRAY_BUFFER, 0);
        f->glActiveTexture(GL_TEXTURE0);
    }
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    const qreal ratio = devicePixelRatioF();
    glViewport(0, 0, GLsizei(width() * ratio), GLsizei(std::max(1, height()) * ratio));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double far = std::max(100.0, std::fabs(double(m_cameraZ)) + std::fabs(double(m_axialOffset))
                                           + double(m_cylinderLength) + 20.0);
    gluPerspective(45.0, GLdouble(m_aspect), 0.1, far);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void MyGLWidget::paintGL()
{
    setUpFrame();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    if (!texturesLoaded() || !m_quadric || m_radius <= 0.0f)
        return;
    glTranslatef(0.0f, 0.0f, m_cameraZ);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, m_wallTexture);

    glPushMatrix();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(90.0f, 0.0f, 0.0f, 1.0f);
    glRotatef(m_tiltAngle, 0.0f, 1.0f, 0.0f);
    glTranslatef(0.0f, m_panOffset, 0.0f);
    glRotatef(-m_spinAngle, 0.0f, 0.0f, 1.0f);
    glTranslatef(0.0f, 0.0f,
                 m_axialOffset + 0.375f * m_viewHeight - m_cylinderLength + m_wallTexPadding / m_radius);
    gluCylinder(m_quadric, 1.0, 1.0, m_cylinderLength, 32, 32);

    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, m_rulerTexture);
    const float outer = 2.0f * (m_rulerTexWidth + 1.0f) / m_radius;
    const float length = m_rulerTexHeight / m_radius;
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, outer, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(0.0f, 1.0f, length);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, outer, length);
    glEnd();

    const QVector<CompassMark> marks = compassMarks(m_cylinderLength - m_wallTexPadding / m_radius);
    glPopMatrix();
    drawCompassMarks(marks);
}

QVector<MyGLWidget::CompassMark> MyGLWidget::compassMarks(float top)
{
    // gluCylinder lays the texture's column s at the angle (1 − s) · 360°
    // from (0, 1) towards (1, 0): north (the picture's edges) at (0, 1),
    // east a quarter of the picture in at (−1, 0), south at (0, −1), west
    // at (1, 0). A short tick marks each at the top of the page.
    static const float kAt[4][2] = {{0.0f, 1.0f}, {-1.0f, 0.0f}, {0.0f, -1.0f}, {1.0f, 0.0f}};
    glDisable(GL_TEXTURE_2D);
    glColor3f(1.0f, 0.85f, 0.1f);
    glLineWidth(2.0f);
    const float tick = std::min(0.6f, top);
    glBegin(GL_LINES);
    for (const auto &at : kAt) {
        glVertex3f(1.01f * at[0], 1.01f * at[1], top);
        glVertex3f(1.01f * at[0], 1.01f * at[1], top - tick);
    }
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_TEXTURE_2D);

    // The letters go above the ticks on the near half of the tube; those
    // behind it are left out.
    GLdouble model[16];
    GLdouble projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    QVector<CompassMark> marks;
    const qreal ratio = devicePixelRatioF();
    for (int i = 0; i < 4; ++i) {
        const double x = 1.01 * kAt[i][0];
        const double y = 1.01 * kAt[i][1];
        const double z = top;
        // Facing the camera: the outward normal points back to the eye.
        const double ex = model[0] * x + model[4] * y + model[8] * z + model[12];
        const double ey = model[1] * x + model[5] * y + model[9] * z + model[13];
        const double ez = model[2] * x + model[6] * y + model[10] * z + model[14];
        const double nx = model[0] * x + model[4] * y;
        const double ny = model[1] * x + model[5] * y;
        const double nz = model[2] * x + model[6] * y;
        const double facing = -(nx * ex + ny * ey + nz * ez) / std::sqrt(ex * ex + ey * ey + ez * ez);
        if (facing < -0.2)
            continue;
        GLdouble wx = 0.0, wy = 0.0, wz = 0.0;
        if (gluProject(x, y, z, model, projection, viewport, &wx, &wy, &wz) != GL_TRUE || wz < 0.0 || wz > 1.0)
            continue;
        marks.append({i, QPointF(wx / ratio, (viewport[3] - wy) / ratio)});
    }
    return marks;
}

void MyGLWidget::drawCompassMarks(const QVector<CompassMark> &marks)
{
    if (marks.isEmpty())
        return;
    const QString letters[4] = {tr("N"), tr("E"), tr("S"), tr("W")};
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(16);
    const QFontMetricsF fm(font);
    for (const CompassMark &m : marks) {
        const QString &text = letters[m.direction];
        // Above the tick, but inside the view.
        const double baseline = std::max(fm.ascent() + 2.0, m.at.y() - 4.0);
        QPainterPath path;
        path.addText(QPointF(m.at.x() - fm.horizontalAdvance(text) / 2.0, baseline), font, text);
        painter.setPen(QPen(Qt::black, 3.0));
        painter.drawPath(path);
        painter.fillPath(path, QColor(255, 220, 30));
    }
}

void MyGLWidget::updateViewExtent()
{
    m_viewHeight = std::fabs(m_cameraZ) * kViewHeightPerDistance;
    m_viewWidth = m_aspect * m_viewHeight;
}

void MyGLWidget::rotateView(bool positive, bool vertical)
{
    const float step = positive ? 1.0f : -1.0f;
    if (vertical)
        m_tiltAngle += step;
    else
        m_spinAngle += step;
    update();
}

void MyGLWidget::moveView(bool positive, bool vertical)
{
    const float sign = positive ? 1.0f : -1.0f;
    if (vertical)
        m_axialOffset += sign * m_viewHeight / 20.0f;
    else
        m_panOffset += sign * m_viewWidth / 20.0f;
    update();
}

void MyGLWidget::zoomCamera(bool in)
{
    m_cameraZ += in ? 1.0f : -1.0f;
    updateViewExtent();
    update();
}

void MyGLWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_lastPos = event->pos();
    } else if (event->button() == Qt::RightButton) {
        m_dragging = false;
    }
    event->accept();
}

void MyGLWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_dragging = false;
    event->accept();
}

void MyGLWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging) {
        const int dx = event->x() - m_lastPos.x();
        const int dy = event->y() - m_lastPos.y();
        if (std::abs(dy) < std::abs(dx))
            m_spinAngle += dx / 3.14159f;
        else if (m_cylinderLength > 0.0f)
            m_tiltAngle += dy / m_cylinderLength;
        m_lastPos = event->pos();
        update();
    }
    event->accept();
}

void MyGLWidget::wheelEvent(QWheelEvent *event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0 && event->angleDelta().x() == 0) {
        m_cameraZ += delta / 120;
        updateViewExtent();
        update();
    }
    event->accept();
}
