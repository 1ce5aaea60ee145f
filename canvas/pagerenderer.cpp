#include "pagerenderer.h"

#include "graphicsleftscaleitem.h"
#include "partfile.h"

#include <QGraphicsItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImageWriter>
#include <QPainter>
#include <QPointer>
#include <cmath>

PageRenderer::PageRenderer(QGraphicsScene *scene, GraphicsLeftScaleItem *leftScale, int pageStart,
                           int pageEnd)
    : m_scene(scene)
    , m_leftScale(leftScale)
    , m_pageStart(pageStart)
    , m_pageEnd(pageEnd)
    , m_model(DepthModel::fromProject())
{
}

PageRenderer::PageRenderer(QGraphicsScene *scene, GraphicsLeftScaleItem *leftScale, int pageStart, int pageEnd,
                           const DepthModel &model)
    : m_scene(scene)
    , m_leftScale(leftScale)
    , m_pageStart(pageStart)
    , m_pageEnd(pageEnd)
    , m_model(model)
{
}

int PageRenderer::sceneY(int depth) const
{
    if (!m_leftScale)
        return kHeaderHeight;
    // A scene drawn without a project keeps the scale of its depth scale.
    const DepthModel model = m_model.pixelsPerUnit() > 0.0
        ? m_model
        : DepthModel(m_model.projectStart(), m_leftScale->pixelsPerDepthUnit(), m_model.imageWidth());
    return kHeaderHeight + model.pageRow(int(m_leftScale->startDepth()), depth);
}

int PageRenderer::pieceCount(int span, int step)
{
    if (step <= 0 || span <= 0)
        return 0;
    return int(std::ceil(double(span) / double(step)));
}

QString PageRenderer::pieceFileName(const QString &base, int s, int e)
{
    return base + QStringLiteral("(") + QString::number(s / 10000.0, 'f', 2) + QStringLiteral("-")
        + QString::number(e / 10000.0, 'f', 2) + QStringLiteral("m)") + QStringLiteral(".jpg");
}

int PageRenderer::imageColumnWidth() const
{
    return int(m_scene->sceneRect().width()) - 2 * kColumnLeft;
}

QImage PageRenderer::renderPiece(int s, int e, bool imageColumnOnly) const
{
    if (!m_scene || !m_leftScale)
        return QImage();
    if (e <= s)
        return QImage();
    const int y1 = sceneY(s);
    // A piece thinner than a row still gets one, so a page a few depth units
    // longer than a whole number of pieces saves instead of failing.
    const int y2 = qMax(sceneY(e), y1 + 1);

    if (imageColumnOnly) {
        const int width = imageColumnWidth();
        if (width <= 0)
            return QImage();
        QImage image(width, y2 - y1, QImage::Format_RGB32);
        if (image.isNull())
            return QImage();
        image.fill(Qt::white);
        QPainter painter(&image);
        m_scene->render(&painter, QRectF(image.rect()), QRectF(kColumnLeft, y1, width, image.height()),
                        Qt::IgnoreAspectRatio);
        return image;
    }

    const int width = int(m_scene->sceneRect().width());
    QImage image(width, y2 - y1 + kHeaderHeight, QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    image.fill(Qt::white);
    QPainter painter(&image);
    // The header band shows the azimuth scale only.
    const bool scaleVisible = m_leftScale->isVisible();
    m_leftScale->hide();
    m_scene->render(&painter, QRectF(0, 0, width, kHeaderHeight), QRectF(0, 0, width, kHeaderHeight),
                    Qt::IgnoreAspectRatio);
    m_leftScale->setVisible(scaleVisible);
    const int rows = image.height() - kHeaderHeight;
    m_scene->render(&painter, QRectF(0, kHeaderHeight, width, rows), QRectF(0, y1, width, rows),
                    Qt::IgnoreAspectRatio);
    return image;
}

bool PageRenderer::writeJpeg(const QImage &image, const QString &path, QString *error)
{
    PartFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        if (error)
            *error = out.errorText();
        return false;
    }
    QImageWriter writer(&out, "JPG");
    if (!writer.write(image) || !out.commit()) {
        if (error)
            *error = out.failed() ? out.errorText() : writer.errorString();
        out.discard();
        return false;
    }
    return true;
}

bool PageRenderer::renderPage(int step, const QString &base, bool imageColumnOnly, bool singleFile)
{
    m_written.clear();
    m_writeError.clear();
    const int pieces = pieceCount(m_pageEnd - m_pageStart, step);
    if (pieces < 1 || !m_leftScale || !m_scene || base.isEmpty())
        return false;

    int s = m_pageStart;
    for (int i = 1; i <= pieces; ++i) {
        const int e = qMin(s + step, m_pageEnd);
        const QImage image = renderPiece(s, e, imageColumnOnly);
        if (image.isNull())
            return false;
        const QString fileName = singleFile ? base : pieceFileName(base, s, e);
        // Each piece is written beside its name and takes it when complete,
        // so a failed save leaves an earlier picture of that name as it was.
        if (!writeJpeg(image, fileName, &m_writeError))
            return false;
        m_written << fileName;
        s = e;
    }
    return true;
}

bool PageRenderer::renderRulers(const QString &leftPath, const QString &topPath) const
{
    if (!m_scene || !m_leftScale)
        return false;
    const int width = imageColumnWidth();
    if (width <= 0)
        return false;

    QImage top(width, kHeaderHeight, QImage::Format_RGB32);
    if (top.isNull())
        return false;
    top.fill(Qt::white);
    {
        QPainter painter(&top);
        const bool scaleVisible = m_leftScale->isVisible();
        m_leftScale->hide();
        m_scene->render(&painter, QRectF(top.rect()), QRectF(kColumnLeft, 0, width, kHeaderHeight),
                        Qt::IgnoreAspectRatio);
        m_leftScale->setVisible(scaleVisible);
    }
    if (!writeJpeg(top, topPath, nullptr))
        return false;

    const int height = int(m_scene->sceneRect().height()) - 2 * kHeaderHeight;
    if (height <= 0)
        return false;
    QImage left(300, height, QImage::Format_RGB32);
    if (left.isNull())
        return false;
    left.fill(Qt::white);
    {
        QPainter painter(&left);
        m_scene->render(&painter, QRectF(left.rect()), QRectF(kColumnLeft - 300, kHeaderHeight - 1, 300, height),
                        Qt::IgnoreAspectRatio);
    }
    return writeJpeg(left, leftPath, nullptr);
}

QImage PageRenderer::renderRollImage(int y1, int y2) const
{
    if (!m_scene)
        return QImage();
    if (!m_leftScale) {
        const QRectF rect = m_scene->sceneRect();
        QImage image(qMax(1, int(rect.width())), qMax(1, int(rect.height())), QImage::Format_RGB32);
        if (image.isNull())
            return QImage();
        image.fill(Qt::white);
        QPainter painter(&image);
        m_scene->render(&painter, QRectF(image.rect()), rect, Qt::IgnoreAspectRatio);
        return image;
    }
    const int width = imageColumnWidth();
    const int height = y2 - y1 + kHeaderHeight;
    if (width <= 0 || y2 <= y1)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    image.fill(Qt::white);
    QPainter painter(&image);
    // The depth scale's line falls on the right edge of the column.
    const QPointF scalePos = m_leftScale->pos();
    m_leftScale->setPos(m_scene->sceneRect().width() - 2602, 0);
    const bool scaleVisible = m_leftScale->isVisible();
    m_leftScale->hide();
    m_scene->render(&painter, QRectF(0, 0, width, kHeaderHeight), QRectF(kColumnLeft, 0, width, kHeaderHeight),
                    Qt::IgnoreAspectRatio);
    m_leftScale->setVisible(scaleVisible);
    m_scene->render(&painter, QRectF(0, kHeaderHeight, width, height - kHeaderHeight),
                    QRectF(kColumnLeft, y1, width, height - kHeaderHeight), Qt::IgnoreAspectRatio);
    m_leftScale->setPos(scalePos);
    return image;
}

QList<QGraphicsItem *> PageRenderer::hideAllButImages(QGraphicsScene *scene)
{
    QList<QGraphicsItem *> hidden;
    if (!scene)
        return hidden;
    const QList<QGraphicsItem *> items = scene->items();
    for (QGraphicsItem *item : items) {
        if (item->type() == QGraphicsPixmapItem::Type || !item->isVisible())
            continue;
        item->hide();
        hidden << item;
    }
    return hidden;
}

void PageRenderer::showItems(const QList<QGraphicsItem *> &items)
{
    for (QGraphicsItem *item : items)
        item->show();
}
