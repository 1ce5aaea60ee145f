#ifndef GLTESTSUPPORT_H
#define GLTESTSUPPORT_H

// Shared by the tests that draw: whether this platform gives an OpenGL
// context at all (the offscreen platform needs an X display for Mesa's GLX;
// CTest provides one through xvfb-run), and images of one colour.

#include <QColor>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QtTest>

namespace GLTest {

inline bool contextAvailable()
{
    static int available = -1;
    if (available < 0) {
        QOffscreenSurface surface;
        surface.create();
        QOpenGLContext context;
        available = context.create() && context.makeCurrent(&surface) ? 1 : 0;
    }
    return available == 1;
}

inline QImage filled(int w, int h, const QColor &colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Colours equal within a small tolerance (texture filtering, JPEG).
inline bool near(QRgb a, const QColor &b, int tolerance = 12)
{
    return qAbs(qRed(a) - b.red()) <= tolerance && qAbs(qGreen(a) - b.green()) <= tolerance
        && qAbs(qBlue(a) - b.blue()) <= tolerance;
}

} // namespace GLTest

#define GL_TEST_REQUIRE_CONTEXT()                                                              \
    do {                                                                                       \
        if (!GLTest::contextAvailable())                                                       \
            QSKIP("No OpenGL context on this platform (run through CTest, which uses xvfb-run)"); \
    } while (0)

#endif // GLTESTSUPPORT_H
