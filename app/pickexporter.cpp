#include "pickexporter.h"

#include "holesurveystore.h"
#include "laswriter.h"
#include "projectinfo.h"
#include "structurepickstore.h"
#include "trueorientation.h"

#include <QCoreApplication>
#include <QFileInfo>

QString PickExporter::fileFilters()
{
    return QCoreApplication::translate("PickExporter", "CSV files (*.csv)") + QStringLiteral(";;")
           + QCoreApplication::translate("PickExporter", "LAS 2.0 files (*.las)");
}

QString PickExporter::suffixOfFilter(const QString &filter)
{
    return filter.contains(QLatin1String("*.las")) ? QStringLiteral("las") : QStringLiteral("csv");
}

bool PickExporter::write(const QVector<StructurePick> &picks, const QString &projectPath,
                         const QString &target, QString *error)
{
    const TrueOrientation orientation(projectPath.isEmpty() ? HoleSurvey()
                                                            : HoleSurveyStore(projectPath).read());
    if (QFileInfo(target).suffix().compare(QLatin1String("las"), Qt::CaseInsensitive) != 0)
        return StructurePickStore::writeCsv(picks, target, error, &orientation);
    const ProjectInfo *info = ProjectInfo::instance();
    LasWriter::Well well;
    well.name = info->orificeNumber().isEmpty() ? info->projectName() : info->orificeNumber();
    well.company = info->detectionUnit();
    well.date = info->date().isValid() ? info->date().toString(QStringLiteral("yyyy/MM/dd")) : QString();
    return LasWriter::write(picks, orientation, well, target, error);
}
