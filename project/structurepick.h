#ifndef STRUCTUREPICK_H
#define STRUCTUREPICK_H

#include <QColor>
#include <QCoreApplication>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <cmath>

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

    // The type as the user reads it, in the current language.
    static QString typeName(const QString &type)
    {
        static const char *const names[] = {
            QT_TRANSLATE_NOOP("StructurePick", "fracture"), QT_TRANSLATE_NOOP("StructurePick", "bedding"),
            QT_TRANSLATE_NOOP("StructurePick", "vein"), QT_TRANSLATE_NOOP("StructurePick", "breakout"),
            QT_TRANSLATE_NOOP("StructurePick", "other")};
        for (const char *name : names)
            if (type == QLatin1String(name))
                return QCoreApplication::translate("StructurePick", name);
        return type;
    }

    // Colour a pick of the given type is drawn in, on the page and in plots.
    static QColor typeColour(const QString &type)
    {
        if (type == QLatin1String("fracture"))
            return QColor(220, 30, 30);
        if (type == QLatin1String("bedding"))
            return QColor(20, 150, 40);
        if (type == QLatin1String("vein"))
            return QColor(30, 90, 220);
        if (type == QLatin1String("breakout"))
            return QColor(240, 140, 0);
        return QColor(120, 60, 160);
    }

    // A stored value that is no number (NULL, text) is read as NaN. A pick
    // counts only with a finite depth and dip direction and a dip of 0 to 90
    // degrees; the others are listed as invalid and left out of the plots.
    static bool validDip(double dip) { return dip >= 0.0 && dip <= 90.0; }
    bool isValid() const
    {
        return std::isfinite(depth) && std::isfinite(dipDirection) && validDip(dip);
    }

    bool operator==(const StructurePick &o) const
    {
        return id == o.id && depth == o.depth && dip == o.dip && dipDirection == o.dipDirection
               && amplitude == o.amplitude && type == o.type && comment == o.comment;
    }
};

Q_DECLARE_METATYPE(StructurePick)

#endif // STRUCTUREPICK_H
