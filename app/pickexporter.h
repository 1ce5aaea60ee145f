#ifndef PICKEXPORTER_H
#define PICKEXPORTER_H

#include <QString>
#include <QVector>

#include "structurepick.h"

// Writes the picks of a project to a file chosen by its suffix: LAS 2.0 for
// ".las", CSV otherwise. Both carry the true orientations when the project
// has a hole survey, and both are written beside the target and renamed when
// complete.
class PickExporter
{
public:
    // The file dialog's filters: CSV first, LAS beside it.
    static QString fileFilters();
    // The suffix the filter chosen in the dialog stands for ("csv" or "las").
    static QString suffixOfFilter(const QString &filter);

    static bool write(const QVector<StructurePick> &picks, const QString &projectPath,
                      const QString &target, QString *error);
};

#endif // PICKEXPORTER_H
