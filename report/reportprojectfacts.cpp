#include "reportprojectfacts.h"

#include "projectinfo.h"
#include "sqliteconnection.h"

#include <QDebug>
#include <QGuiApplication>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

ReportProjectFacts ReportProjectFacts::fromProject()
{
    ReportProjectFacts facts;
    const ProjectInfo *info = ProjectInfo::instance();
    facts.imageWidth = info->imageWidth();
    facts.start = info->start();
    facts.pixelsPerUnit = info->computePixelFactor();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        facts.screenDpiX = screen->logicalDotsPerInchX();
        facts.screenDpiY = screen->logicalDotsPerInchY();
    }
    facts.projectName = info->projectName();
    facts.detectionUnit = info->detectionUnit();
    facts.orificeNumber = info->orificeNumber();
    facts.testPerson = info->testPerson();
    facts.date = info->date();
    facts.maxDepth = info->maxDepth();
    facts.testStartDepth = info->testStartDepth();
    facts.diameter = info->diameter();
    facts.coordinatesLatitude = info->coordinatesLatitude();
    facts.coordinatesLongitude = info->coordinatesLongitude();
    facts.orificeElevation = info->orificeElevation();
    facts.stableWaterLevel = info->stableWaterLevel();
    return facts;
}

int ReportProjectFacts::deepestId(const QString &projectPath)
{
    const QString name = SqliteConnection::uniqueName(QStringLiteral("DB3"));
    int value = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(projectPath);
        // Never create a file that is not there.
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!projectPath.isEmpty() && db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("select max(id) from bigImages")) && query.next())
                value = query.value(0).toInt();
            query.finish();
            db.close();
        } else {
            qDebug() << "database open failed!";
        }
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}
