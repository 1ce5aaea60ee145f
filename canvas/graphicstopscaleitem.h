#ifndef GRAPHICSTOPSCALEITEM_H
#define GRAPHICSTOPSCALEITEM_H

#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsLineItem>
#include <QLineF>
#include <QPointF>
#include <QStringList>
#include <QVector>

// Azimuth scale along the top edge of the page image: five ticks at the
// quarter points with the labels N, E, S, W, N, drawn in the 120-unit band
// above the image. The line runs from the top-left to the top-right corner
// of the image.
class GraphicsTopScaleItem : public QGraphicsLineItem
{
public:
    enum { Type = 17 };

    explicit GraphicsTopScaleItem(const QLineF &line, QGraphicsItem *parent = nullptr);

    double tickHeight() const { return m_tickHeight; }
    QStringList labels() const { return m_labels; }

    // Geometry of the drawing, in item coordinates; empty for a null line.
    QVector<QLineF> tickLines() const;
    QVector<QPointF> labelPositions() const; // text baseline starts, one per label
    // Indices of the labels drawn with these metrics: all five, or on a
    // narrow image only as many as stay clear of each other.
    QVector<int> shownLabels(const QFontMetricsF &metrics) const;
    static QFont labelFont();

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return Type; }

private:
    bool isNullLine() const;

    double m_tickHeight = 30.0;
    QStringList m_labels;
};

#endif // GRAPHICSTOPSCALEITEM_H
