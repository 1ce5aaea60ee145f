#ifndef KDIMAGE_H
#define KDIMAGE_H

#include <QImage>
#include <QMetaType>

// One decoded big image with the depth interval it covers, carried through
// queued signals. Depths are in depth units (0.1 mm).
class KdImage
{
public:
    KdImage(int startDepth = 0, int endDepth = 0, const QImage &image = QImage());

    QImage image() const { return m_image; }
    int startDepth() const { return m_startDepth; }
    int endDepth() const { return m_endDepth; }
    void setStartDepth(int depth) { m_startDepth = depth; }
    void setEndDepth(int depth) { m_endDepth = depth; }

private:
    QImage m_image;
    int m_startDepth;
    int m_endDepth;
};

Q_DECLARE_METATYPE(KdImage)

#endif // KDIMAGE_H
