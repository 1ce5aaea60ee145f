#ifndef STEREONETPLOT_H
#define STEREONETPLOT_H

#include "structureplot.h"

#include <QImage>
#include <QMap>
#include <optional>

// Lower-hemisphere equal-area net of the picks: poles (and on request great
// circles) coloured by type, the count per type, and the Fisher mean pole of
// the selected picks (all picks when none is selected).
class StereonetPlot : public StructurePlot
{
    Q_OBJECT

public:
    explicit StereonetPlot(QWidget *parent = nullptr);

    bool greatCircles() const { return m_greatCircles; }
    void setGreatCircles(bool on);

    // Indexes into picks() of the selection the mean is taken of.
    QVector<int> selection() const { return m_selection; }
    void setSelection(const QVector<int> &selection);

    // (dip, dip direction) of the mean plane of the selection; none when
    // the selection holds no pick.
    std::optional<QPair<double, double>> meanPlane() const;

    void paintPlot(QPainter *painter, const QRectF &rect) const override;

private:
    // Indexes of the picks by type, the order the great circles are drawn in.
    QMap<QString, QVector<int>> picksByType() const;
    // Draws the great circles of all picks into the net of that centre and
    // radius.
    void drawGreatCircles(QPainter *painter, const QPointF &centre, double radius) const;
    // Draws the great circles of a crowded net into m_circleLayer, which
    // covers net (given, like centre, in the painter's coordinates).
    void drawCircleLayer(const QRectF &net, const QPointF &centre, double radius) const;

    bool m_greatCircles = false;
    // The great circles of a crowded net as last drawn on screen, kept for
    // the next paint of the same picks and net.
    mutable QImage m_circleLayer;
    mutable quint64 m_circleLayerGeneration = 0;
    mutable QRectF m_circleLayerNet;
    QVector<int> m_selection;
};

#endif // STEREONETPLOT_H
