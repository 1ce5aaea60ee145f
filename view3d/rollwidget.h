#ifndef ROLLWIDGET_H
#define ROLLWIDGET_H

#include <QImage>
#include <QOpenGLWidget>
#include <QPoint>
#include <QSize>

class GLUquadric;
class QKeyEvent;
class QMouseEvent;
class QWheelEvent;
class QTimerEvent;

// A depth range of the borehole wall as a textured cylinder seen in
// perspective, rolled and turned with keys and the mouse. Angles are in
// sixteenths of a degree. Deletes itself when closed.
class RollWidget : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit RollWidget(QWidget *parent = nullptr, bool fullScreen = false);
    ~RollWidget() override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // Keeps a copy of image and resets the view to it; a null image is
    // ignored. The texture follows on the next paint.
    void setImage(const QImage &image);
    QImage image() const { return wallImage; }
    // Writes the rendered view to fileName (format from its suffix).
    bool saveView(const QString &fileName);

    void setXRotation(int angle);
    void setYRotation(int angle);
    void setZRotation(int angle);

    float xRotation() const { return xRot; }
    float yRotation() const { return yRot; }
    float zRotation() const { return zRot; }
    float xTranslation() const { return xTrans; }
    float yTranslation() const { return yTrans; }
    float zTranslation() const { return zTrans; }
    float speed() const { return rollSpeed; }
    bool isLighting() const { return lighting; }
    bool isAltHeld() const { return altHeld; }
    bool isFullScreenView() const { return fullScreen; }
    int rollStartDepth() const { return rollStart; }
    int rollEndDepth() const { return rollEnd; }
    // Size of the texture on the GL (empty before the first paint or when it
    // failed); smaller than the image when the image had to be scaled down.
    QSize textureSize() const { return m_textureSize; }

    // Caps the texture edge below what the GL allows (0: no cap of our own).
    static void setTextureSizeLimit(int limit);

    // Brings an angle into 0 … 5760 sixteenths of a degree.
    static int wrapAngle(int angle);

signals:
    void signalTextureLoadFailed();

public slots:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void setRollRange(int start, int end);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void wheelEvent(QWheelEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private slots:
    void cleanupGL();

private:
    void resetView();
    void uploadTexture();
    void releaseGL();
    void leaveFullScreen();

    bool altHeld = false;
    QImage wallImage;
    bool fullScreen = false;
    bool lighting = false;
    int rollStart = 0;
    int rollEnd = 0;
    QPoint lastPos;
    float xRot = 0.0f;
    float yRot = 0.0f;
    float zRot = 0.0f;
    float rollSpeed = 1.0f;
    float zTrans = 0.0f;
    float xTrans = 2.0f;
    float yTrans = 0.0f;
    GLUquadric *quadric = nullptr;
    unsigned int m_texture = 0;
    bool m_textureDirty = false;
    QSize m_textureSize;
};

#endif // ROLLWIDGET_H
