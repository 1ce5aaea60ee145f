#ifndef PAGERENDERER_H
#define PAGERENDERER_H

#include "depthmodel.h"

#include <QImage>
#include <QList>
#include <QString>

class GraphicsLeftScaleItem;
class QGraphicsItem;
class QGraphicsScene;

// Renders the page shown in a scene to images: depth pieces written as JPEG
// files (saving and the 3D view), the two rulers of the 3D view and the image
// of a row range for the roll view. The scene is laid out as every page is:
// image column at x = 1300, header band of 120 rows above it, depth scale on
// the column's left edge. Depths are in units of 0.1 mm.
class PageRenderer
{
public:
    // leftScale may be null (no page read yet): nothing can be rendered then.
    // Depths are placed on the page by the depth model (the open project's
    // when none is given): the page's column top is at the scale's start.
    PageRenderer(QGraphicsScene *scene, GraphicsLeftScaleItem *leftScale, int pageStart,
                 int pageEnd);
    PageRenderer(QGraphicsScene *scene, GraphicsLeftScaleItem *leftScale, int pageStart,
                 int pageEnd, const DepthModel &model);

    // Scene y of depth on the page (the header band included).
    int sceneY(int depth) const;

    // Writes the page in pieces of step depth units. The pieces are named
    // base + "(s-em).jpg", or all go to base itself when singleFile is set.
    // False when there is nothing to render, a piece cannot be allocated or a
    // file cannot be written (writeError() then says why); pieces already
    // written stay on disk, a piece that failed leaves its file as it was.
    bool renderPage(int step, const QString &base, bool imageColumnOnly, bool singleFile);
    // Why the last renderPage() could not write a piece ("the disk is full",
    // "the folder ... is read-only"); empty when no write failed.
    QString writeError() const { return m_writeError; }

    // Writes image as JPEG beside path and renames it over path when all of
    // it was written; false with *error (the cause in words) otherwise.
    static bool writeJpeg(const QImage &image, const QString &path, QString *error);

    // One piece from depth s to depth e; a null image when it cannot be made.
    QImage renderPiece(int s, int e, bool imageColumnOnly) const;

    // Azimuth ruler (image column width x 120) and depth ruler (300 wide, the
    // height of the page image) of the 3D view. True when both were written.
    bool renderRulers(const QString &leftPath, const QString &topPath) const;

    // Image column with the header band above it, rows y1 to y2 of the scene,
    // for the roll view. Without a depth scale (a single picture) the whole
    // scene. The caller owns the image.
    QImage renderRollImage(int y1, int y2) const;

    // Number of pieces of step depth units that cover span; 0 for a step or
    // span that is not positive.
    static int pieceCount(int span, int step);
    // base + "(12.00-14.00m).jpg" for the piece from s to e.
    static QString pieceFileName(const QString &base, int s, int e);

    // Hides every item of the scene that is not a pixmap (scales, grid,
    // drawings) and answers the items it hid, for showItems().
    static QList<QGraphicsItem *> hideAllButImages(QGraphicsScene *scene);
    static void showItems(const QList<QGraphicsItem *> &items);

    // Files written by the last renderPage(), in order.
    QStringList writtenFiles() const { return m_written; }

    static constexpr int kColumnLeft = 1300;
    static constexpr int kHeaderHeight = 120;

private:
    int imageColumnWidth() const;

    QGraphicsScene *m_scene;
    GraphicsLeftScaleItem *m_leftScale;
    int m_pageStart;
    int m_pageEnd;
    DepthModel m_model;
    QStringList m_written;
    QString m_writeError;
};

#endif // PAGERENDERER_H
