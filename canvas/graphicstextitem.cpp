#include "graphicstextitem.h"

#include "itemstyle.h"
#include "textdialog.h"

#include <QEvent>
#include <QGraphicsSceneMouseEvent>
#include <QPen>

namespace {

QPen textPen(const QColor &color)
{
    return QPen(QBrush(color), 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
}

} // namespace

GraphicsTextItem::GraphicsTextItem(const QPointF &pos, const QString &text, QGraphicsItem *parent)
    : QGraphicsSimpleTextItem(parent)
{
    ItemStyle *style = ItemStyle::instance();
    // A new text is finished by the release that follows the press creating
    // it. A flag left set by an earlier multi-click tool (ruler, curve) must
    // not keep it open when the press cannot reach it (empty text).
    style->setDrawing(false);
    setPos(pos);
    setText(text);
    setPen(textPen(style->textColor()));
    setBrush(QBrush(style->textColor()));
    setAcceptHoverEvents(true);
    setFlag(QGraphicsItem::ItemIsSelectable, true);
    setFlag(QGraphicsItem::ItemIsMovable, false);
    editText(style->font(), style->textColor());
}

void GraphicsTextItem::editText(const QFont &font, const QColor &color)
{
    TextDialog *dialog = new TextDialog(font, color);
    dialog->setText(text());
    dialog->setWindowTitle(tr("Input text"));
    dialog->exec();

    // The dialog's contents apply whether it was closed with OK or not; an
    // empty box keeps the text the item had.
    const QString entered = dialog->text();
    if (!entered.isEmpty())
        setText(entered);
    setFont(dialog->selectedFont());
    // The glyphs are filled with the brush and only outlined by the pen:
    // both take the colour, so the text shows in the colour chosen.
    setPen(textPen(dialog->selectedColor()));
    setBrush(QBrush(dialog->selectedColor()));
    m_accepted = dialog->isAccepted();

    ItemStyle *style = ItemStyle::instance();
    style->setFont(QGraphicsSimpleTextItem::font());
    style->setTextColor(dialog->selectedColor());
    delete dialog;
}

bool GraphicsTextItem::sceneEvent(QEvent *event)
{
    if (event->type() == QEvent::GraphicsSceneMouseDoubleClick) {
        ItemStyle *style = ItemStyle::instance();
        style->setFont(QGraphicsSimpleTextItem::font());
        editText(style->font(), style->textColor());
        return true;
    }
    QGraphicsSimpleTextItem::sceneEvent(event);
    return true;
}

void GraphicsTextItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    Q_UNUSED(event);
    if (isSelected())
        setFlag(QGraphicsItem::ItemIsMovable, true);
    else
        ItemStyle::instance()->setDrawing(true);
}

void GraphicsTextItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    ItemStyle::instance()->setDrawing(false);
    QGraphicsSimpleTextItem::mouseReleaseEvent(event);
}

void GraphicsTextItem::hoverLeaveEvent(QGraphicsSceneHoverEvent *event)
{
    setFlag(QGraphicsItem::ItemIsMovable, false);
    QGraphicsSimpleTextItem::hoverLeaveEvent(event);
}
