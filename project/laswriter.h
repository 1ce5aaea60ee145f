#ifndef LASWRITER_H
#define LASWRITER_H

#include <QString>
#include <QVector>

#include "structurepick.h"
#include "trueorientation.h"

class QIODevice;

// Writes structure picks as a LAS 2.0 file (one line per pick, WRAP NO):
// ~Well with STRT/STOP/STEP in metres (STEP 0 unless the picks are evenly
// spaced) and NULL -999.25; ~Curve DEPT (M), DIP and DAZI (DEG, measured,
// hole-relative), TDIP and TAZI (DEG, true) when a survey exists, and TYPE,
// a code listed in ~Other; ~ASCII rows by depth. A value that is not a
// number is written as the NULL value.
class LasWriter
{
public:
    struct Well
    {
        QString name;    // WELL
        QString company; // COMP
        QString date;    // DATE
    };

    static constexpr double kNull = -999.25;

    // The TYPE code of a pick type: 1 + its place in StructurePick::types(),
    // the code of "other" for a type not in that list.
    static int typeCode(const QString &type);

    static bool write(const QVector<StructurePick> &picks, const TrueOrientation &orientation,
                      const Well &well, QIODevice *device);
    // Written beside path and renamed when complete; false with *error.
    static bool write(const QVector<StructurePick> &picks, const TrueOrientation &orientation,
                      const Well &well, const QString &path, QString *error);
};

#endif // LASWRITER_H
