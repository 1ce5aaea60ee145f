#ifndef ROSEPLOT_H
#define ROSEPLOT_H

#include "structureplot.h"

// Rose diagram of the picks' dip directions in bins of 10°, north up,
// petals scaled to the fullest bin.
class RosePlot : public StructurePlot
{
    Q_OBJECT

public:
    explicit RosePlot(QWidget *parent = nullptr);

    // Number of directions in each bin [k·binDegrees, (k + 1)·binDegrees),
    // directions taken modulo 360; 360 / binDegrees bins (binDegrees must
    // divide 360, else 10 is used).
    static QVector<int> binCounts(const QVector<double> &directions, int binDegrees = 10);

    void paintPlot(QPainter *painter, const QRectF &rect) const override;
};

#endif // ROSEPLOT_H
