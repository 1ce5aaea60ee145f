#include "cylindertexture.h"

#include <QPainter>

#include <cmath>

int CylinderTexture::roundPowerOfTwo(int value, bool up)
{
    if (value < 1)
        return 1;
    if ((value & (value - 1)) == 0)
        return value;
    int power = 1;
    while (power <= value / 2)
        power <<= 1; // largest power of two below value
    if (up && power <= (1 << 29))
        return power << 1;
    return power;
}

namespace {

// image scaled to width × height (aspect ignored) at the bottom of a
// width × fullHeight RGB image whose top rows stay transparent black.
// Null when the allocation fails.
QImage padAtTop(const QImage &image, int width, int height, int fullHeight)
{
    QImage padded(width, fullHeight, QImage::Format_RGB32);
    if (padded.isNull())
        return QImage();
    padded.fill(Qt::transparent);
    const QImage scaled = (image.width() == width && image.height() == height)
        ? image
        : image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    if (scaled.isNull())
        return QImage();
    QPainter painter(&padded);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, fullHeight - height, scaled);
    painter.end();
    return padded;
}

} // namespace

CylinderTexture CylinderTexture::prepare(const QImage &wall, const QImage &ruler, int limit)
{
    CylinderTexture t;
    if (wall.isNull() || ruler.isNull() || limit < 1)
        return t;
    const int cap = roundPowerOfTwo(qMin(limit, int(kMaxTextureHeight)), false);

    t.m_imageAspect = float(wall.height()) / float(wall.width());
    // Height of the image at width w, rounded up (exact integer arithmetic).
    const auto heightAt = [&wall](int w) {
        return int((qint64(w) * wall.height() + wall.width() - 1) / wall.width());
    };
    int w = roundPowerOfTwo(wall.width(), false);
    int h = heightAt(w);
    int H = roundPowerOfTwo(h, true);
    int f = 1;
    if (H > cap) {
        f = H / cap;
        w /= f;
    }
    if (w > cap) { // a very wide, flat image: the width itself is over the cap
        const int g = w / cap;
        f *= g;
        w /= g;
    }
    if (w < 1)
        return t; // too thin to keep any column
    h = qMax(1, heightAt(w));
    H = roundPowerOfTwo(h, true);
    if (H > cap)
        return t;

    // The image goes to the bottom of the texture; the rows above it are
    // padding. An image whose height is already H is used as it is.
    if (w == wall.width() && h == H) {
        t.m_wallTexture = wall.convertToFormat(QImage::Format_RGB32);
    } else {
        t.m_wallTexture = padAtTop(wall, w, h, H);
        t.m_wallTexPadding = H - h;
    }
    if (t.m_wallTexture.isNull())
        return t;

    const int rw = qMax(1, roundPowerOfTwo(ruler.width(), false) / f);
    const int rh = qBound(1, int(std::ceil(double(ruler.height()) / wall.height() * h)), H);
    t.m_rulerTexture = padAtTop(ruler, rw, rh, H);
    if (t.m_rulerTexture.isNull())
        return t;

    t.m_reduction = f;
    t.m_wallTexHeight = H;
    t.m_radius = float(t.m_wallTexture.width() / 3.14 * 0.5);
    t.m_cylinderLength = float(H) / t.m_radius;
    t.m_valid = true;
    return t;
}

QImage CylinderTexture::toGLFormat(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGBA8888).mirrored();
}
