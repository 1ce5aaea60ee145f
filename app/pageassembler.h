#ifndef PAGEASSEMBLER_H
#define PAGEASSEMBLER_H

#include "kdimage.h"

class GraphicsLeftScaleItem;
class GraphicsTopScaleItem;
class ProjectInfo;
class QGraphicsItem;
class QGraphicsPixmapItem;
class QGraphicsScene;
class QImage;

// Lays the pieces of one page out in a scene as every page is laid out: the
// image column at x = 1300 from y = 120 down, the part of each piece on the
// page at the rows the depth model gives its depths, the depth scale on the
// column's left edge and the azimuth scale above it. Keeps the page height and end in the project
// record. Used by the page on screen and by the batch pages command.
class PageAssembler
{
public:
    PageAssembler(QGraphicsScene *scene, ProjectInfo *info);

    // The largest page (depth units) that stays below 1 GiB of 32-bit pixels
    // for this image width and scale, in whole metres; 0 when either is not
    // positive.
    static double maxPageDepth(int imageWidth, double pixelsPerUnit);

    // A read of the page (start, end] begins: the next piece is its first.
    void startRead(int start, int end);
    // Page height 0 and two new scales in the scene.
    void addScales();
    bool hasScales() const { return m_leftScale && m_topScale; }
    // The scales went with the scene's items.
    void forgetScales();
    // item left the scene: forgotten if it is a scale.
    void forget(const QGraphicsItem *item);
    GraphicsLeftScaleItem *leftScale() const { return m_leftScale; }
    GraphicsTopScaleItem *topScale() const { return m_topScale; }

    // True until the first piece of the read is placed.
    bool beforeFirstPiece() const { return m_first; }
    // Places the part of the next piece that lies on the page, at the scale
    // pixelsPerUnit. Answers its item, still empty, and in *scaled the
    // picture for the caller to show on it; null when the piece has no
    // picture or no rows on the page.
    QGraphicsPixmapItem *add(KdImage piece, double pixelsPerUnit, QImage *scaled);

private:
    QGraphicsScene *m_scene;
    ProjectInfo *m_info;
    GraphicsLeftScaleItem *m_leftScale = nullptr;
    GraphicsTopScaleItem *m_topScale = nullptr;
    int m_readStart = 0;
    int m_readEnd = 0;
    bool m_first = false;
};

#endif // PAGEASSEMBLER_H
