#ifndef STEREONETPLOT_H
#define STEREONETPLOT_H

#include "structureplot.h"

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

    // (dip, dip direction) of the mean plane of the selection; (0, 0) when
    // there are no picks.
    QPair<double, double> meanPlane() const;

    void paintPlot(QPainter *painter, const QRectF &rect) const override;

private:
    bool m_greatCircles = false;
    QVector<int> m_selection;
};

#endif // STEREONETPLOT_H
