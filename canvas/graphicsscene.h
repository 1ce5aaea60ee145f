#ifndef GRAPHICSSCENE_H
#define GRAPHICSSCENE_H

#include "mode.h"

#include <QGraphicsScene>
#include <QImage>
#include <QList>
#include <QPointer>
#include <QRectF>
#include <functional>

class CalcPixelNumThread;
class GraphicsStructurePickItem;
class QGraphicsSceneMouseEvent;

// The scene of one page: page image(s), the two scales, the grid and the
// user's interpretation items. It runs the tool-mode state machine (what a
// left press creates, when an item under construction counts as finished),
// keeps the grid overlay in step with the page and brokers the irregular-area
// measurement between the outline item and the pixel-counting worker.
class GraphicsScene : public QGraphicsScene
{
    Q_OBJECT

public:
    explicit GraphicsScene(QObject *parent = nullptr);
    ~GraphicsScene() override;

    // Number of page items that are not user drawings (images, scales, grid).
    void setBaseItemCount(int count) { m_baseItemCount = count; }
    int baseItemCount() const { return m_baseItemCount; }

    // Forgets the item under construction without touching the mouse grab;
    // for use after the scene has been cleared.
    void clearCurrentItem() { m_currentItem = nullptr; }
    QGraphicsItem *currentItem() const { return m_currentItem; }

    // Worker of the last area measurement while it exists (null once it has
    // finished and been reclaimed).
    CalcPixelNumThread *pixelThread() const;

    // First item of the given type code in items() (topmost first), starting
    // at index start; null when there is none.
    QGraphicsItem *itemOfType(int type, int start = 0) const;

    // Area the grid covers: the page image area when a page image (type 7) is
    // in the scene, otherwise the whole scene rectangle. A single picture
    // opened for drawing (no page margins) is covered itself.
    QRectF gridRect() const;

    // Makes the item of a new structure pick at the first click of the tool:
    // it knows the page geometry and the hole's diameter. Null when picks
    // cannot be made on what is shown; the factory has then told the user
    // why, and the tool ends without an item.
    using StructurePickFactory = std::function<GraphicsStructurePickItem *()>;
    void setStructurePickFactory(const StructurePickFactory &factory) { m_pickFactory = factory; }

signals:
    void itemInserted(QGraphicsItem *insertedItem);
    void signalCancelInsertItem();
    void signalCalcAreaResult(float fArea);
    // The structure pick under construction was ended (right click, Enter,
    // the tool button again, another tool, a new page): whoever keeps picks
    // stores it or drops it. Sent once per pick, after it left construction.
    void structurePickEnded(GraphicsStructurePickItem *pick);

public slots:
    void handleIrregularArea(int pixelNum);
    void handleSelCurveFinished(QImage mask);
    void handleForceCancelInsertItem();
    void UpdateGridLines();
    void ShowGridLines();
    void setMode(Mode mode);
    void init();

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void drawBackground(QPainter *painter, const QRectF &rect) override;

    // The item the current mode creates at the press position, or null.
    QGraphicsItem *createItem(QGraphicsSceneMouseEvent *event);

private:
    // True when the scene shows a single picture rather than a page laid out
    // in margins; area receives the picture's rectangle.
    bool pictureArea(QRectF *area) const;
    // Takes the item under construction out of the scene and frees it once
    // control is back in the event loop (it may still be on the call stack).
    void discardCurrentItem();
    // Structure pick tool: a left click adds a point to the pick under
    // construction (making it at the first click).
    void addStructurePickPoint(QGraphicsSceneMouseEvent *event);

    QGraphicsItem *m_currentItem = nullptr;
    int m_baseItemCount = 0;
    QPointer<CalcPixelNumThread> m_pixelThread;
    StructurePickFactory m_pickFactory;
};

#endif // GRAPHICSSCENE_H
