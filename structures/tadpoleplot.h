#ifndef TADPOLEPLOT_H
#define TADPOLEPLOT_H

#include "structureplot.h"

// Tadpole plot: depth down, dip across (0° to 90°); each pick is a dot with a
// tail pointing to its dip direction (north up, east right).
class TadpolePlot : public StructurePlot
{
    Q_OBJECT

public:
    explicit TadpolePlot(QWidget *parent = nullptr);

    // Depth range shown, depth units; an empty range fits the picks.
    void setDepthRange(double from, double to);
    double depthFrom() const { return m_from; }
    double depthTo() const { return m_to; }

    void paintPlot(QPainter *painter, const QRectF &rect) const override;
    QSize sizeHint() const override { return QSize(240, 600); }

private:
    double m_from = 0.0;
    double m_to = 0.0;
};

#endif // TADPOLEPLOT_H
