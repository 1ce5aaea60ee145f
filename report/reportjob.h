#ifndef REPORTJOB_H
#define REPORTJOB_H

#include <QString>

#include "creportparameter.h"

// What one report is made from: the project file and the parameters of the
// export. The report builders take it whole.
class ReportJob
{
public:
    ReportJob() = default;
    ReportJob(const QString &projectPath, const CReportParameter &parameter)
        : dbPath(projectPath)
        , parameter(parameter)
    {
    }
    // The default parameters over fromDepth..toDepth metres in the given
    // format (0 word-processor document, 1 PDF, 2 print preview).
    ReportJob(const QString &projectPath, float fromDepth, float toDepth, int exportFormat)
        : dbPath(projectPath)
    {
        parameter.setFromDepth(fromDepth);
        parameter.setToDepth(toDepth);
        parameter.setExportFormat(exportFormat);
    }

    QString dbPath;
    CReportParameter parameter;
};

#endif // REPORTJOB_H
