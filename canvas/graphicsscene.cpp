#include "graphicsscene.h"

#include "calcpixelnumthread.h"
#include "globals.h"
#include "graphicsangleitem.h"
#include "graphicsanglemeasureitem.h"
#include "graphicsarrowitem.h"
#include "graphicscurveitem.h"
#include "graphicsdipitem.h"
#include "graphicsleftscaleitem.h"
#include "graphicslengthmeasureitem.h"
#include "graphicslineitem.h"
#include "graphicslithologymarkitem.h"
#include "graphicspathitem.h"
#include "graphicsruleritem.h"
#include "graphicsselcurveitem.h"
#include "graphicsstructurepickitem.h"
#include "graphicstextitem.h"
#include "itemstyle.h"
#include "qgraphicsgridlineitem.h"

#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QThread>

namespace {

// Type code of the page image items (QGraphicsPixmapItem).
constexpr int kPageImageType = 7;

QWidget *dialogParent(const QGraphicsScene *scene)
{
    const QList<QGraphicsView *> views = scene->views();
    return views.isEmpty() ? nullptr : views.first()->window();
}

// Owns an item taken out of the scene until deferred deletion frees both.
class DiscardedItem : public QObject
{
public:
    explicit DiscardedItem(QGraphicsItem *item)
        : m_item(item)
    {
    }
    ~DiscardedItem() override { delete m_item; }

private:
    QGraphicsItem *m_item;
};

// A new text item whose dialog was cancelled or closed with no text.
bool isDroppedText(const QGraphicsItem *item)
{
    const auto *text = dynamic_cast<const GraphicsTextItem *>(item);
    return text && (!text->accepted() || text->text().isEmpty());
}

} // namespace

GraphicsScene::GraphicsScene(QObject *parent)
    : QGraphicsScene(parent)
{
    // itemInserted may cross a queued connection or be recorded by a spy.
    qRegisterMetaType<QGraphicsItem *>("QGraphicsItem*");
}

GraphicsScene::~GraphicsScene()
{
    // Area workers are children of the scene: stop any still counting, and
    // never let one outlive the scene it reports to.
    const QList<QThread *> workers = findChildren<QThread *>();
    for (QThread *worker : workers) {
        worker->requestInterruption();
        worker->wait();
    }
}

CalcPixelNumThread *GraphicsScene::pixelThread() const
{
    return m_pixelThread.data();
}

QGraphicsItem *GraphicsScene::itemOfType(int type, int start) const
{
    const QList<QGraphicsItem *> all = items();
    for (int i = qMax(0, start); i < all.size(); ++i) {
        if (all.at(i)->type() == type)
            return all.at(i);
    }
    return nullptr;
}

bool GraphicsScene::pictureArea(QRectF *area) const
{
    // A page is laid out with its images from (1300, 120) inside margins; a
    // single picture opened for drawing sits at the origin without margins.
    QRectF images;
    bool any = false;
    const QList<QGraphicsItem *> all = items();
    for (QGraphicsItem *item : all) {
        if (item->type() != kPageImageType)
            continue;
        images = any ? images.united(item->sceneBoundingRect()) : item->sceneBoundingRect();
        any = true;
    }
    if (!any)
        return false;
    const QRectF scene = sceneRect();
    const bool pageLayout = scene.width() > 2600.0 && scene.height() > 240.0
                            && qAbs(images.left() - 1300.0) < 0.5 && qAbs(images.top() - 120.0) < 0.5;
    if (pageLayout)
        return false;
    if (area)
        *area = images;
    return true;
}

QRectF GraphicsScene::gridRect() const
{
    const QRectF scene = sceneRect();
    if (!itemOfType(kPageImageType))
        return scene;
    QRectF picture;
    if (pictureArea(&picture))
        return picture;
    return QRectF(1300.0, 120.0, scene.width() - 2600.0, scene.height() - 240.0);
}

void GraphicsScene::setMode(Mode mode)
{
    currentMode = mode;
}

void GraphicsScene::init()
{
    // Only the item under construction can hold the grab we set up; compare
    // pointers first so a stale record is never dereferenced.
    QGraphicsItem *item = m_currentItem;
    if (m_currentItem && mouseGrabberItem() == m_currentItem)
        m_currentItem->ungrabMouse();
    m_currentItem = nullptr;
    // A structure pick has no last click of its own: leaving construction is
    // what ends it, whichever way that happens.
    if (item && item->type() == GraphicsStructurePickItem::Type)
        emit structurePickEnded(static_cast<GraphicsStructurePickItem *>(item));
}

void GraphicsScene::addStructurePickPoint(QGraphicsSceneMouseEvent *event)
{
    event->accept();
    GraphicsStructurePickItem *pick = nullptr;
    if (m_currentItem) {
        if (m_currentItem->type() != GraphicsStructurePickItem::Type)
            return;
        pick = static_cast<GraphicsStructurePickItem *>(m_currentItem);
    } else {
        pick = m_pickFactory ? m_pickFactory() : nullptr;
        if (!pick) {
            // Nothing to pick on here; the factory said why.
            emit signalCancelInsertItem();
            return;
        }
        m_currentItem = pick;
        if (pick->scene() != this)
            addItem(pick);
    }
    pick->addPoint(event->scenePos());
}

void GraphicsScene::discardCurrentItem()
{
    QGraphicsItem *item = m_currentItem;
    // A closing outline reports through its signals; when the record was
    // already dropped, the sender is the item to take away.
    if (!item)
        item = dynamic_cast<QGraphicsItem *>(sender());
    if (!item)
        return;
    if (item->scene() == this)
        removeItem(item);
    // The item may still be on the call stack (it emitted the signal that
    // led here), so it is freed by deferred deletion.
    auto *holder = new DiscardedItem(item);
    holder->setParent(this);
    holder->deleteLater();
}

QGraphicsItem *GraphicsScene::createItem(QGraphicsSceneMouseEvent *event)
{
    const QPointF p = event->scenePos();
    switch (currentMode) {
    case InsertLine:
        return new GraphicsLineItem(QLineF(p, p));
    case InsertArrow:
        return new GraphicsArrowItem(QLineF(p, p));
    case InsertText:
        return new GraphicsTextItem(p, QString());
    case FitCurve:
        return new GraphicsCurveItem(p);
    case InsertPen: {
        QPainterPath path;
        path.moveTo(p);
        return new GraphicsPathItem(path);
    }
    case InsertAngle:
        return new GraphicsAngleItem(p);
    case InsertRuler:
        return new GraphicsRulerItem(p, Qt::black);
    case InsertDip:
        return new GraphicsDipItem(p);
    case MeasureLength:
        return new GraphicsLengthMeasureitem(QLineF(p, p));
    case MeasureAngle:
        return new GraphicsAngleMeasureItem(QLineF(p, p));
    case MarkLithology:
        return new GraphicsLithologymarkitem(QLineF(p, p));
    case IrregularArea: {
        // The page image area (not its margins); on a single picture, the
        // picture itself.
        const QRectF scene = sceneRect();
        QRectF bounds(1300.0, 120.0, scene.width() - 2600.0, scene.height() - 240.0);
        pictureArea(&bounds);
        auto *item = new GraphicsSelCurveItem(p, bounds);
        connect(item, &GraphicsSelCurveItem::signalSelCurveFinished, this,
                &GraphicsScene::handleSelCurveFinished);
        connect(item, &GraphicsSelCurveItem::signalForceCancel, this,
                &GraphicsScene::handleForceCancelInsertItem);
        // The count of this outline comes from its own worker, connected
        // when the outline is confirmed (handleSelCurveFinished).
        return item;
    }
    default:
        break;
    }
    return m_currentItem;
}

void GraphicsScene::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        if (currentMode == InsertStructurePick) {
            addStructurePickPoint(event);
            return;
        }
        if (currentMode != Pointer && !m_currentItem) {
            m_currentItem = createItem(event);
            if (isDroppedText(m_currentItem)) {
                // The text dialog was cancelled or left empty: no invisible
                // item stays behind to count as an unsaved drawing. The press
                // was spent on the dialog.
                delete m_currentItem;
                m_currentItem = nullptr;
                emit signalCancelInsertItem();
                init();
                event->accept();
                return;
            }
            if (m_currentItem && m_currentItem->scene() != this)
                addItem(m_currentItem);
        }
        QGraphicsScene::mousePressEvent(event);
        return;
    }

    if (currentMode == IrregularArea) {
        // Request to close the outline under construction.
        if (m_currentItem)
            m_currentItem->setData(1, true);
        QGraphicsScene::mousePressEvent(event);
        return;
    }

    const QList<QGraphicsItem *> selected = selectedItems();
    if (selected.isEmpty())
        return;
    init();
    QGraphicsItem *item = selected.first();
    item->setSelected(false);
    item->setFlag(QGraphicsItem::ItemIsMovable, false);
}

void GraphicsScene::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    // Items only follow drags; plain moves (and hover) never reach them.
    if (event->buttons() & Qt::LeftButton)
        QGraphicsScene::mouseMoveEvent(event);
}

void GraphicsScene::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() == Qt::RightButton && currentMode != Pointer) {
        // Ends multi-click tools (curve, ruler).
        emit itemInserted(m_currentItem);
        init();
        return;
    }

    if (currentMode == InsertStructurePick) {
        // Each click only adds a point; the pick is ended by a right click,
        // Enter or the tool button.
        event->accept();
        return;
    }

    QGraphicsScene::mouseReleaseEvent(event);
    if (ItemStyle::instance()->drawing())
        return;
    emit itemInserted(m_currentItem);
    m_currentItem = nullptr;
}

void GraphicsScene::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    // Two quick clicks of the pick tool are two points, not an edit request.
    if (currentMode == InsertStructurePick && event->button() == Qt::LeftButton) {
        addStructurePickPoint(event);
        return;
    }
    QGraphicsScene::mouseDoubleClickEvent(event);
}

void GraphicsScene::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentMode == InsertStructurePick && m_currentItem) {
        // Enter ends the pick as a right click does.
        event->accept();
        emit itemInserted(m_currentItem);
        init();
        return;
    }
    QGraphicsScene::keyPressEvent(event);
}

void GraphicsScene::drawBackground(QPainter *painter, const QRectF &rect)
{
    painter->fillRect(rect, QBrush(Qt::lightGray, Qt::SolidPattern));
    const QRectF scene = sceneRect();
    painter->fillRect(QRect(int(scene.x()), int(scene.y()), int(scene.width()), int(scene.height())),
                      QBrush(Qt::white, Qt::SolidPattern));
}

void GraphicsScene::handleIrregularArea(int pixelNum)
{
    emit signalCalcAreaResult(float(pixelNum));
}

void GraphicsScene::handleSelCurveFinished(QImage mask)
{
    QMessageBox box(dialogParent(this));
    box.setText(tr("Area Selecting finished."));
    QPushButton *ok = box.addButton(tr("OK"), QMessageBox::AcceptRole);
    box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();

    if (box.clickedButton() != ok) {
        discardCurrentItem();
        emit signalCancelInsertItem();
        init();
        setMode(Pointer);
        return;
    }

    // The outline that asked: the sender when it reports itself, else the
    // item under construction.
    GraphicsSelCurveItem *outline = qobject_cast<GraphicsSelCurveItem *>(sender());
    if (!outline)
        outline = dynamic_cast<GraphicsSelCurveItem *>(m_currentItem);

    emit itemInserted(m_currentItem);
    init();
    setMode(Pointer);

    auto *worker = new CalcPixelNumThread(mask, this);
    m_pixelThread = worker;
    // Each count reaches only the outline whose mask it counted, however the
    // results of several measurements interleave. The connection ends with
    // the outline (a new page clears the scene).
    if (outline) {
        connect(worker, &CalcPixelNumThread::signalCalcFinished, outline,
                [outline](int pixelNum) { outline->handleIrregularArea(float(pixelNum)); });
    }
    connect(worker, &CalcPixelNumThread::signalCalcFinished, this,
            &GraphicsScene::handleIrregularArea);
    // A finished worker is reclaimed; m_pixelThread then reads null.
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    worker->start();
}

void GraphicsScene::handleForceCancelInsertItem()
{
    QMessageBox box(dialogParent(this));
    box.setText(tr("Points are not enough to form a closed curve"));
    QPushButton *ok = box.addButton(tr("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.exec();

    setMode(Pointer);
    discardCurrentItem();
    emit signalCancelInsertItem();
    init();
}

void GraphicsScene::UpdateGridLines()
{
    ItemStyle *style = ItemStyle::instance();
    const QRectF rect = gridRect();
    double unit = pixelsPerUnit;
    if (auto *left = static_cast<GraphicsLeftScaleItem *>(itemOfType(GraphicsLeftScaleItem::Type)))
        unit = left->pixelsPerDepthUnit();

    if (auto *grid = static_cast<QGraphicsGridLineItem *>(itemOfType(QGraphicsGridLineItem::Type))) {
        grid->setVisible(style->gridVisible());
        if (!style->gridVisible())
            return;
        grid->setRect(rect);
        grid->setUnit(unit);
        grid->update();
        return;
    }

    // The grid is a page item, not a drawing: it is not recorded as the item
    // under construction, so the next click does not report it as inserted.
    init();
    auto *grid = new QGraphicsGridLineItem(unit, rect);
    addItem(grid);
    ++m_baseItemCount;
    style->setGridVisible(true);
}

void GraphicsScene::ShowGridLines()
{
    ItemStyle *style = ItemStyle::instance();
    style->setGridVisible(!style->gridVisible());
    UpdateGridLines();
}
