#ifndef STRUCTURESPAGE_H
#define STRUCTURESPAGE_H

#include <QImage>
#include <QVector>

#include "structurepick.h"

class CReportParameter;
class QString;

// The structures page of a report: title with the depth range and pick
// count, the stereonet (poles) above and the rose of dip directions below.
// Drawn on the GUI thread (the plots are widgets) as a picture of about
// 190 dpi on A4, which the output places on its page on its own thread.
class StructuresPage
{
public:
    // Null when there are no picks. fromMetres and toMetres are the depths
    // of the picks' range; the page shows them shifted by offsetMetres.
    // trueOrientation: the picks carry true orientations from a hole survey
    // (the plots say which). Below the plots, a table of picks per metre by
    // depth interval, per type and in total.
    static QImage record(const QVector<StructurePick> &picks, double fromMetres, double toMetres,
                         bool trueOrientation = false, double offsetMetres = 0.0);
    // The page a report of the project at dbPath with para gets: the picks
    // of its depth range, read from the file; null unless it is a PDF, the
    // page is asked for and the range has picks.
    static QImage forReport(const QString &dbPath, const CReportParameter &para);
};

#endif // STRUCTURESPAGE_H
