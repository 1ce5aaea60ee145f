#ifndef CONTRASTCONTROLLER_H
#define CONTRASTCONTROLLER_H

#include <QImage>
#include <QList>
#include <QObject>

#include <functional>

#include "wallcontrast.h"

class QGraphicsPixmapItem;
class QGraphicsScene;

// Contrast of the wall picture on the page, for the view only: every piece
// of the page keeps the picture it was read as on its item, and shows that
// picture through the current contrast setting. The project file is never
// touched; what is saved or reported from the page is what the page shows.
//
// The automatic stretch takes each piece's levels at its middle row and
// blends them towards its neighbours' between the middles, so a joint is no
// brighter step than any other row.
//
// Dynamic normalisation works across the pieces: its window reaches into the
// pieces above and below, so the pieces join without a seam, and the rows of
// the piece above that a new piece's window reaches are shown again when it
// arrives.
class ContrastController : public QObject
{
    Q_OBJECT

public:
    explicit ContrastController(QGraphicsScene *scene, QObject *parent = nullptr);

    WallContrast contrast() const { return m_contrast; }
    // Length of the dynamic normalisation window along the hole, metres.
    double windowMetres() const { return m_windowMetres; }

    // Rows of the normalisation window for the current pixel factor.
    int windowRows() const;

    // The current setting as a filter of a report block's picture covering
    // metres of the hole: the normalisation window keeps its length in metres
    // at the picture's scale. Holds copies only, so it may run on any thread;
    // empty when the setting changes nothing.
    std::function<QImage(const QImage &, double)> pictureFilter() const;

    // A piece was placed on the page showing original: keeps it on the item
    // and shows it through the current setting.
    void pieceAdded(QGraphicsPixmapItem *item, const QImage &original);

    // The picture a piece was read as (null for any other item).
    static QImage originalOf(const QGraphicsPixmapItem *item);
    // The pieces of the page, top to bottom.
    QList<QGraphicsPixmapItem *> pieces() const;

public slots:
    // A new setting: every piece of the page is shown through it again.
    void setContrast(const WallContrast &contrast);
    void setWindowMetres(double metres);
    // Both at once, the page being done again once.
    void setSetting(const WallContrast &contrast, double windowMetres);
    // Shows every piece of the page again through the current setting.
    void reapply();

signals:
    void contrastChanged();

private:
    // Rows firstRow … lastRow of piece index as shown through the setting.
    QImage render(const QList<QGraphicsPixmapItem *> &pieces, int index, int firstRow,
                  int lastRow) const;
    WallContrast effective() const;
    // Rows firstRow … lastRow of piece index with the automatic stretch,
    // its levels blended with its neighbours'.
    QImage stretchRows(const QList<QGraphicsPixmapItem *> &pieces, int index, int firstRow,
                       int lastRow) const;
    // The stretch levels of a piece's picture (kept on the item).
    StretchLevels levelsOf(QGraphicsPixmapItem *item) const;

    QGraphicsScene *m_scene = nullptr;
    WallContrast m_contrast;
    double m_windowMetres = 0.5;
};

#endif // CONTRASTCONTROLLER_H
