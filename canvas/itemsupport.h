#ifndef ITEMSUPPORT_H
#define ITEMSUPPORT_H

#include <QLineF>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>

#include <functional>

class QEvent;
class QGraphicsItem;

// Conventions shared by the interpretation items: the pen they are drawn
// with, how they are picked up, selected and moved, and how the one-drag
// tools build them from a press, the drag and the release.
class ItemSupport
{
public:
    // Pen of a new drawing item: ItemStyle colour and width, solid line,
    // square cap, bevel join.
    static QPen stylePen();
    // Hover events accepted, selectable, not movable until pressed again
    // while selected.
    static void makeInteractive(QGraphicsItem *item);

    // Hit area of line-like items: the path stroked 20 units wide (with the
    // pen's cap, join and miter limit; 1e-8 wide for a pen of width 0 or
    // less) together with the path itself. The two are united rather than
    // appended, so a path turning against the stroke's winding cannot cut
    // holes into the band along the line.
    static QPainterPath hitShape(const QPainterPath &path, const QPen &pen);
    // The 20-unit stroke alone (its bounds are the item's extent).
    static QPainterPath hitStroke(const QPainterPath &path, const QPen &pen);
    // An open polyline through the points.
    static QPainterPath polylinePath(const QPolygonF &points);
    // The pen used to draw a selected item: same colour and width, dotted.
    static QPen selectedPen(const QPen &pen);
    // Area that painting the given geometry with the pen can touch (square
    // caps reach out by up to half the width times the square root of 2).
    static QRectF paintedRect(const QRectF &geometry, const QPen &pen);

    // All four coordinates within 1e-12 of zero.
    static bool isNullLine(const QLineF &line);
    // Both coordinates within 1e-12 of each other.
    static bool samePoint(const QPointF &a, const QPointF &b);

    // The press handling of a finished item: a press on a selected item
    // makes it movable and is consumed (true); otherwise the default
    // handling runs (false).
    static bool pressOnSelected(QGraphicsItem *item);

    // Construction by one drag: press sets the drawing flag, every move
    // hands the scene position to onMove, release clears the flag. Other
    // event types are not handled (false).
    static bool dragSceneEvent(QEvent *event, const std::function<void(const QPointF &)> &onMove);

    // Explicit mouse grab of an item under construction, taken once and
    // remembered in held until the item loses it (see noteUngrab).
    static void grabMouseOnce(QGraphicsItem *item, bool *held);
    static void releaseMouseGrab(QGraphicsItem *item, bool *held);
    static void noteUngrab(const QEvent *event, bool *held);
};

#endif // ITEMSUPPORT_H
