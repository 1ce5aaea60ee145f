#ifndef GRAPHICSTEXTITEM_H
#define GRAPHICSTEXTITEM_H

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QGraphicsSimpleTextItem>
#include <QPointF>
#include <QString>

// A text label. Its constructor asks for the text at once (modal TextDialog);
// a double click asks again.
class GraphicsTextItem : public QGraphicsSimpleTextItem
{
    Q_DECLARE_TR_FUNCTIONS(GraphicsTextItem)

public:
    enum { Type = 10 };

    GraphicsTextItem(const QPointF &pos, const QString &text, QGraphicsItem *parent = nullptr);

    int type() const override { return Type; }

    // Opens the text dialog with the given font and colour and applies the result.
    void editText(const QFont &font, const QColor &color);

    // Whether the user closed the last text dialog with OK.
    bool accepted() const { return m_accepted; }

protected:
    bool sceneEvent(QEvent *event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent *event) override;

private:
    bool m_accepted = false;
};

#endif // GRAPHICSTEXTITEM_H
