#ifndef STRUCTUREPLOT_H
#define STRUCTUREPLOT_H

#include <QRectF>
#include <QString>
#include <QVector>
#include <QWidget>

#include "structurepick.h"

class QPainter;

// A plot of structure picks that paints itself into any rectangle, so the
// same drawing serves the window, the PNG and SVG exports and report pages.
class StructurePlot : public QWidget
{
    Q_OBJECT

public:
    explicit StructurePlot(QWidget *parent = nullptr);

    QVector<StructurePick> picks() const { return m_picks; }
    void setPicks(const QVector<StructurePick> &picks);
    // Picks of the last setPicks() left out for invalid values.
    int leftOut() const { return m_leftOut; }

    // The picks carry true (geographic) orientations from a hole survey, or
    // the measured ones relative to the hole; the plot says which.
    bool showsTrueOrientation() const { return m_trueOrientation; }
    void setTrueOrientation(bool trueOrientation);
    // "True orientation (hole survey)" or "Measured orientation (relative to the hole)".
    QString orientationNote() const;

    // Draws the plot into rect (white background included).
    virtual void paintPlot(QPainter *painter, const QRectF &rect) const = 0;

    // The plot as a picture of the given size.
    QImage toImage(const QSize &size) const;
    // Writes the plot as PNG or SVG, chosen by the file's suffix. False when
    // the file cannot be written, with *why (when given) saying why: "the
    // disk is full", "the folder ... is read-only", ... An earlier file of
    // that name is left as it was.
    bool exportTo(const QString &path, const QSize &size = QSize(800, 800), QString *why = nullptr) const;

    QSize sizeHint() const override { return QSize(420, 420); }

protected:
    void paintEvent(QPaintEvent *event) override;
    // Writes orientationNote() in the top left corner of rect.
    void paintOrientationNote(QPainter *painter, const QRectF &rect) const;

    QVector<StructurePick> m_picks;
    // Goes up with every setPicks(), for drawings kept between paints.
    quint64 m_picksGeneration = 0;
    bool m_trueOrientation = false;
    int m_leftOut = 0;
};

#endif // STRUCTUREPLOT_H
