#ifndef GRAPHICSLEFTSCALEITEM_H
#define GRAPHICSLEFTSCALEITEM_H

#include <QFont>
#include <QGraphicsLineItem>
#include <QLineF>
#include <QPointF>
#include <QString>
#include <QVector>

// Depth scale in metres down the left edge of the page image. Besides
// drawing, it converts between depth (0.1 mm units) and scene y. The line
// runs from the top-left to the bottom-left corner of the image.
class GraphicsLeftScaleItem : public QGraphicsLineItem
{
public:
    enum { Type = 16 };

    // One tick of the drawing, in item coordinates. Minor ticks have no label.
    struct Tick
    {
        QLineF line;
        QString label;
        QPointF labelPos; // text baseline start
        double labelRight = 0.0; // a label ends left of this x (see labelPoint)
    };

    explicit GraphicsLeftScaleItem(QGraphicsItem *parent = nullptr);

    double startDepth() const { return m_startDepth; }
    void setStartDepth(double start);
    double endDepth() const { return m_endDepth; }
    // Stores the end and recomputes the tick spacing from the current line
    // and start depth, so set those first.
    void setEndDepth(double end);
    bool isInitialized() const { return m_initialized; }
    void setInitialized(bool initialized) { m_initialized = initialized; }

    // Scene units per 200 depth units (2 cm of hole); 0 when the depth range
    // is empty.
    double tickSpacing() const { return m_tickSpacing; }

    double depthToY(int depth) const;
    // y is measured from the top of the image (scene y - 120).
    int yToDepth(int y) const;
    double pixelsPerDepthUnit() const;

    // Every tick with its label: the run from the top every 2 cm (labelled
    // every 10 cm, or every labelStride-th 10 cm where labels 10 cm apart
    // would touch) and the end tick at the bottom labelled with the end
    // depth. labelHeight is the text height in item units; run labels that
    // would run into the end label are left out.
    QVector<Tick> ticks(double labelHeight) const;
    // Labels are drawn at every n-th 10 cm mark, n = 1, 2, 5, 10, 20, ...:
    // the first that leaves labels of this height clear of each other.
    int labelStride(double labelHeight) const;
    // Where a label of the given width is drawn: its position, moved left
    // when the text would otherwise reach past labelRight.
    static QPointF labelPoint(const Tick &tick, double labelWidth);
    static QFont labelFont();

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return Type; }

private:
    bool isNullLine() const;
    bool hasUsableSpacing() const;

    double m_startDepth = 0.0;
    double m_endDepth = 0.0;
    bool m_initialized = false;
    double m_tickSpacing = 1.0;
};

#endif // GRAPHICSLEFTSCALEITEM_H
