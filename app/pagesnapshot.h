#ifndef PAGESNAPSHOT_H
#define PAGESNAPSHOT_H

#include <QImage>
#include <QString>

class GraphicsLeftScaleItem;
class GraphicsTopScaleItem;
class QGraphicsScene;

// Pictures of the page shown in the scene for the 3D and roll views: the
// image column, its depth and azimuth rulers, and a row range of the column
// under its azimuth band. Everything is drawn from the scene as it stands
// (page image plus drawings), in scene pixels.
class PageSnapshot
{
public:
    // Writes the image column from scene row y1 to y2 as one JPEG file.
    static bool renderPageColumn(QGraphicsScene *scene, int y1, int y2, const QString &path);
    // Writes the azimuth ruler (the band above the column) to topPath and
    // the depth ruler (the band left of the column) to leftPath, both JPEG.
    static bool renderRulers(QGraphicsScene *scene, GraphicsLeftScaleItem *leftScale,
                             const QString &leftPath, const QString &topPath);
    // Column rows y1 … y2 under the azimuth band, with the depth scale drawn
    // at the column's right edge; the whole scene when projectOpen is false.
    // Null when the image cannot be allocated.
    static QImage renderRollImage(QGraphicsScene *scene, GraphicsLeftScaleItem *leftScale,
                                  GraphicsTopScaleItem *topScale, int y1, int y2, bool projectOpen);
};

#endif // PAGESNAPSHOT_H
