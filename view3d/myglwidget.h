#ifndef MYGLWIDGET_H
#define MYGLWIDGET_H

#include <QImage>
#include <QOpenGLWidget>
#include <QPoint>
#include <QPointF>
#include <QVector>
#include <QStringList>

#include "cylindertexture.h"

class GLUquadric;
class QMouseEvent;
class QWheelEvent;

// The page image wrapped around a textured cylinder with the depth ruler
// standing beside it as a flat strip, drawn with the fixed pipeline. Entry 0
// of the file list is the page image, entry 1 the ruler image; the rest is
// carried along. Turned, moved and zoomed by the window's tool bar, the
// mouse and the wheel. It opens on the whole page, with N, E, S and W marked
// at the top of the tube.
class MyGLWidget : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit MyGLWidget(const QStringList &fileList, QWidget *parent = nullptr);
    ~MyGLWidget() override;

    QStringList fileList() const { return m_fileList; }

    // Camera operations; each repaints.
    void rotateView(bool positive, bool vertical);
    void moveView(bool positive, bool vertical);
    void zoomCamera(bool in);

    float radius() const { return m_radius; }
    float wallTexHeight() const { return m_wallTexHeight; }
    float wallTexPadding() const { return m_wallTexPadding; }
    float cylinderLength() const { return m_cylinderLength; }
    float rulerTexWidth() const { return m_rulerTexWidth; }
    float rulerTexHeight() const { return m_rulerTexHeight; }
    float tiltAngle() const { return m_tiltAngle; }
    float spinAngle() const { return m_spinAngle; }
    float panOffset() const { return m_panOffset; }
    float axialOffset() const { return m_axialOffset; }
    float aspect() const { return m_aspect; }
    float viewWidth() const { return m_viewWidth; }
    float viewHeight() const { return m_viewHeight; }
    float imageAspect() const { return m_imageAspect; }
    float cameraZ() const { return m_cameraZ; }
    bool dragging() const { return m_dragging; }
    // True while both textures are on the GL.
    bool texturesLoaded() const { return m_wallTexture != 0 && m_rulerTexture != 0; }

signals:
    // The GL could not take a texture (too large, or out of memory); the
    // view stays empty.
    void signalTextureLoadFailed();

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private slots:
    void cleanupGL();

private:
    // A compass letter of the view: which (0 N, 1 E, 2 S, 3 W) and the
    // top of its tick on the widget.
    struct CompassMark
    {
        int direction;
        QPointF at;
    };

    void loadImages();
    // Length of the page on the tube (without the texture's padding).
    float pageLength() const;
    // GL state, viewport and projection of a frame.
    void setUpFrame();
    // Ticks at N, E, S and W on the tube's top edge (top in the tube's own
    // frame, which is current), and where their letters go.
    QVector<CompassMark> compassMarks(float top);
    void drawCompassMarks(const QVector<CompassMark> &marks);
    bool loadTextures();
    // Deletes the textures and the quadric; the context must be current.
    void releaseGL();
    void updateViewExtent();
    void reportTextureFailure();

    float m_radius = 0.0f;
    float m_wallTexHeight = 0.0f;
    float m_wallTexPadding = 0.0f;
    float m_cylinderLength = 0.0f;
    float m_rulerTexWidth = 0.0f;
    float m_rulerTexHeight = 0.0f;
    float m_tiltAngle = 0.0f;
    float m_spinAngle = 0.0f;
    float m_panOffset = 0.0f;
    float m_axialOffset = 0.0f;
    float m_aspect = 1.0f;
    float m_viewWidth = 0.0f;
    float m_viewHeight = 0.0f;
    float m_imageAspect = 0.0f;
    float m_cameraZ = -5.0f;
    bool m_dragging = false;
    bool m_viewFitted = false;
    QPoint m_lastPos;
    unsigned int m_wallTexture = 0;
    unsigned int m_rulerTexture = 0;
    GLUquadric *m_quadric = nullptr;
    QStringList m_fileList;
    QImage m_wallImage;
    QImage m_rulerImage;
};

#endif // MYGLWIDGET_H
