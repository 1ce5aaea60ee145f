#ifndef STRUCTUREPICK_H
#define STRUCTUREPICK_H

#include <QMetaType>
#include <QString>
#include <QStringList>

// One interpreted plane of the borehole wall: the sinusoid a user picked,
// with its depth (depth units, the centre of the trace), true dip and dip
// direction (degrees) and the trace's amplitude (depth units).
struct StructurePick
{
    qint64 id = 0; // 0 until stored
    double depth = 0.0;
    double dip = 0.0;
    double dipDirection = 0.0;
    double amplitude = 0.0;
    QString type = QStringLiteral("fracture");
    QString comment;

    // The kinds a pick can be; stored as these words.
    static QStringList types()
    {
        return {QStringLiteral("fracture"), QStringLiteral("bedding"), QStringLiteral("vein"),
                QStringLiteral("breakout"), QStringLiteral("other")};
    }

    bool operator==(const StructurePick &o) const
    {
        return id == o.id && depth == o.depth && dip == o.dip && dipDirection == o.dipDirection
               && amplitude == o.amplitude && type == o.type && comment == o.comment;
    }
};

Q_DECLARE_METATYPE(StructurePick)

#endif // STRUCTUREPICK_H
