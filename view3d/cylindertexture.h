#ifndef CYLINDERTEXTURE_H
#define CYLINDERTEXTURE_H

#include <QImage>

// The two textures of the 3D cylinder view made from the page image (wrapped
// around the cylinder) and the depth ruler image (the strip beside it), with
// the geometry derived from them. Both textures share one power-of-two
// height; an image shorter than that height is padded with rows at the top.
class CylinderTexture
{
public:
    // Height cap of the wall texture whatever the GL allows.
    static constexpr int kMaxTextureHeight = 8192;

    // value itself when it is a positive power of two, otherwise the power of
    // two below it (up == false) or above it (up == true). Values below 1
    // give 1.
    static int roundPowerOfTwo(int value, bool up);

    // Makes both textures. limit is the largest texture edge the GL accepts
    // (GL_MAX_TEXTURE_SIZE); the effective cap is the power of two at or below
    // min(limit, kMaxTextureHeight). The result is invalid when an image is
    // null, or when it cannot be reduced into the cap, or an allocation fails.
    static CylinderTexture prepare(const QImage &wall, const QImage &ruler,
                                   int limit = kMaxTextureHeight);

    // image in the byte order and row order of a GL texture upload (RGBA
    // bytes, bottom row first).
    static QImage toGLFormat(const QImage &image);

    bool isValid() const { return m_valid; }
    // Textures in top-down row order (convert with toGLFormat to upload).
    QImage wallTexture() const { return m_wallTexture; }
    QImage rulerTexture() const { return m_rulerTexture; }
    // Rows of padding at the top of both textures.
    int wallTexPadding() const { return m_wallTexPadding; }
    int wallTexHeight() const { return m_wallTexHeight; }
    int rulerTexWidth() const { return m_rulerTexture.width(); }
    int rulerTexHeight() const { return m_rulerTexture.height(); }
    // Wall image height / width.
    float imageAspect() const { return m_imageAspect; }
    // Cylinder radius in texels: wall texture width / 3.14 × 0.5.
    float radius() const { return m_radius; }
    // Wall texture height in cylinder radii.
    float cylinderLength() const { return m_cylinderLength; }
    // Factor by which the width was divided to keep the height in the cap.
    int reduction() const { return m_reduction; }

private:
    bool m_valid = false;
    QImage m_wallTexture;
    QImage m_rulerTexture;
    int m_wallTexPadding = 0;
    int m_wallTexHeight = 0;
    float m_imageAspect = 0.0f;
    float m_radius = 0.0f;
    float m_cylinderLength = 0.0f;
    int m_reduction = 1;
};

#endif // CYLINDERTEXTURE_H
