#ifndef GRAPHICSVIEW_H
#define GRAPHICSVIEW_H

#include <QGraphicsView>

class QGraphicsItem;
class QMouseEvent;
class QWheelEvent;

// The page view: hand-drag scrolling in Pointer mode, mouse tracking for the
// cursor read-out, and zoom by the mouse wheel about the cursor (1.125 per
// notch, no limit).
class GraphicsView : public QGraphicsView
{
    Q_OBJECT

public:
    explicit GraphicsView(QWidget *parent = nullptr);

    // Factor of the last wheel step.
    double zoomFactor() const { return m_zoomFactor; }

signals:
    void mouseMoved(QMouseEvent *event);

public slots:
    void handleItemInserted(QGraphicsItem *item);
    void handleCancelInsertItem();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    double m_zoomFactor = 1.0;
};

#endif // GRAPHICSVIEW_H
