#ifndef REPORTPROJECTFACTS_H
#define REPORTPROJECTFACTS_H

#include <QDate>
#include <QString>

// What a report needs to know about the open project and the screen, read on
// the GUI thread before the export thread starts, so that the thread never
// touches the project record or the desktop.
class ReportProjectFacts
{
public:
    // Reads the process-wide project record and the primary screen.
    static ReportProjectFacts fromProject();

    // Largest big-image id of the project file (a connection "DB3-<n>" of its own, opened and
    // removed here, on the calling thread); 0 when it cannot be read.
    static int deepestId(const QString &projectPath);

    int imageWidth = 0;           // big-image width, pixels
    int start = 0;                // project start, depth units
    double pixelsPerUnit = 0.0;   // image pixels per depth unit
    double screenDpiX = 96.0;     // logical resolution of the screen
    double screenDpiY = 96.0;

    // Header values.
    QString projectName;
    QString detectionUnit;
    QString orificeNumber;
    QString testPerson;
    QDate date;
    int maxDepth = 0;             // depth units
    QString testStartDepth;
    int diameter = 0;             // depth units
    QString coordinatesLatitude;
    QString coordinatesLongitude;
    QString orificeElevation;
    QString stableWaterLevel;
};

#endif // REPORTPROJECTFACTS_H
