#ifndef GRAPHICSFREQUENCYTRACKITEM_H
#define GRAPHICSFREQUENCYTRACKITEM_H

#include <QGraphicsObject>
#include <QVector>

#include "fracturefrequency.h"

// A narrow track beside the page image: picks per metre (P10) as step plots
// over the page's depths, one per pick type in the type's colour and the
// total in black, with its scale and a title naming the window and whether
// the counts are Terzaghi-weighted. It lines up with the image: depth d lies
// at y = top + (d − page start) × pixels per depth unit.
class GraphicsFrequencyTrackItem : public QGraphicsObject
{
    Q_OBJECT

public:
    enum { Type = 19 };
    int type() const override { return Type; }

    GraphicsFrequencyTrackItem();

    // Where the track stands: its left edge and width, the page's top, its
    // depth range (depth units) and the scale along the hole.
    void setGeometry(double left, double width, double top, double pageFrom, double pageTo,
                     double pixelsPerUnit);
    void setBins(const QVector<FractureFrequency::Bin> &bins, double windowMetres, bool terzaghi);

    QVector<FractureFrequency::Bin> bins() const { return m_bins; }
    // "P10 (1/m), 1 m window" and ", Terzaghi-weighted" when it is.
    QString title() const;
    static QString titleFor(double windowMetres, bool terzaghi);
    // Whether paint() writes the title and the scale above the track (the
    // default); off where the caller writes them itself.
    void setLabelsShown(bool shown) { m_labelsShown = shown; }
    // The value at the right edge of the track, picks per metre.
    double scaleMaximum() const;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;

private:
    double yOf(double depth) const;

    double m_left = 0.0;
    double m_width = 160.0;
    double m_top = 0.0;
    double m_from = 0.0;
    double m_to = 0.0;
    double m_pixelsPerUnit = 0.0;
    double m_window = 1.0;
    bool m_terzaghi = false;
    bool m_labelsShown = true;
    QVector<FractureFrequency::Bin> m_bins;
};

#endif // GRAPHICSFREQUENCYTRACKITEM_H
