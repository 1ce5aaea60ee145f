#ifndef QGRAPHICSGRIDLINEITEM_H
#define QGRAPHICSGRIDLINEITEM_H

#include <QGraphicsRectItem>
#include <QLineF>
#include <QSize>
#include <QVector>

// Square grid over the page image. The cell size is given in millimetres of
// borehole wall (ItemStyle::gridSize); step is scene units per millimetre.
class QGraphicsGridLineItem : public QGraphicsRectItem
{
public:
    enum { Type = 15 };

    // unit: scene units per depth unit (the page's pixel factor).
    QGraphicsGridLineItem(double unit, const QRectF &rect, QGraphicsItem *parent = nullptr);

    void setUnit(double unit);
    double step() const { return m_step; }

    // The inner lines of a grid over rect with step scene units per
    // millimetre and cells millimetres per cell (across, along). The outline
    // of rect itself is not part of the grid.
    static QVector<QLineF> gridLines(const QRectF &rect, double step, const QSize &cells);

    QRectF boundingRect() const override;
    QPainterPath shape() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget = nullptr) override;
    int type() const override { return Type; }

private:
    double m_step = 0.0;
};

#endif // QGRAPHICSGRIDLINEITEM_H
