#include "pagesnapshot.h"

#include "graphicsleftscaleitem.h"
#include "graphicstopscaleitem.h"

#include <QGraphicsScene>
#include <QPainter>

namespace {

constexpr int kColumnLeft = 1300;
constexpr int kColumnTop = 120;

QImage blankImage(int width, int height)
{
    if (width <= 0 || height <= 0)
        return QImage();
    QImage image(width, height, QImage::Format_RGB32);
    if (!image.isNull())
        image.fill(Qt::white);
    return image;
}

void render(QGraphicsScene *scene, QImage *image, const QRectF &target, const QRectF &source)
{
    QPainter painter(image);
    scene->render(&painter, target, source, Qt::IgnoreAspectRatio);
}

int columnWidth(QGraphicsScene *scene)
{
    return int(scene->sceneRect().width()) - 2 * kColumnLeft;
}

} // namespace

bool PageSnapshot::renderPageColumn(QGraphicsScene *scene, int y1, int y2, const QString &path)
{
    if (!scene)
        return false;
    QImage image = blankImage(columnWidth(scene), y2 - y1);
    if (image.isNull())
        return false;
    render(scene, &image, image.rect(), QRectF(kColumnLeft, y1, image.width(), image.height()));
    return image.save(path, "JPG");
}

bool PageSnapshot::renderRulers(QGraphicsScene *scene, GraphicsLeftScaleItem *leftScale,
                                const QString &leftPath, const QString &topPath)
{
    if (!scene || !leftScale)
        return false;
    const int width = columnWidth(scene);
    QImage top = blankImage(width, kColumnTop);
    if (top.isNull())
        return false;
    leftScale->hide();
    render(scene, &top, QRectF(0, 0, width, kColumnTop), QRectF(kColumnLeft, 0, width, kColumnTop));
    leftScale->show();
    if (!top.save(topPath, "JPG"))
        return false;

    QImage left = blankImage(300, int(scene->sceneRect().height()) - 2 * kColumnTop);
    if (left.isNull())
        return false;
    render(scene, &left, left.rect(), QRectF(kColumnLeft - 300, kColumnTop - 1, 300, left.height()));
    return left.save(leftPath, "JPG");
}

QImage PageSnapshot::renderRollImage(QGraphicsScene *scene, GraphicsLeftScaleItem *leftScale,
                                     GraphicsTopScaleItem *topScale, int y1, int y2, bool projectOpen)
{
    if (!scene)
        return QImage();
    if (!projectOpen || !leftScale) {
        QImage image = blankImage(int(scene->sceneRect().width()), int(scene->sceneRect().height()));
        if (!image.isNull())
            render(scene, &image, image.rect(), scene->sceneRect());
        return image;
    }
    const int width = columnWidth(scene);
    const int height = y2 - y1 + kColumnTop;
    QImage image = blankImage(width, height);
    if (image.isNull())
        return image;
    // The depth scale's line moves onto the column's right edge, so that its
    // ticks mark the seam of the rolled wall.
    leftScale->setPos(scene->sceneRect().width() - 2602, 0);
    leftScale->hide();
    render(scene, &image, QRectF(0, 0, width, kColumnTop), QRectF(kColumnLeft, 0, width, kColumnTop));
    leftScale->show();
    render(scene, &image, QRectF(0, kColumnTop, width, height - kColumnTop),
           QRectF(kColumnLeft, y1, width, height - kColumnTop));
    leftScale->setPos(0, 0);
    if (topScale)
        topScale->setPos(0, 0);
    return image;
}
