#include "holesurveystore.h"

#include "scopedsqliteconnection.h"
#include "sqliteconnection.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("HoleSurveyStore", text);
}

} // namespace

HoleSurveyStore::HoleSurveyStore(const QString &projectPath)
    : m_projectPath(projectPath)
{
}

HoleSurvey HoleSurveyStore::read() const
{
    HoleSurvey survey;
    m_lastError.clear();
    ScopedSqliteConnection c(m_projectPath, QStringLiteral("SURVEY"));
    if (!c.isOpen()) {
        m_lastError = tr("The project file cannot be opened.");
        return survey;
    }
    if (!c.hasTable(QStringLiteral("holeSurvey")))
        return survey;
    QVector<HoleSurvey::Station> stations;
    {
        QSqlQuery q(c.db());
        if (!q.exec(QStringLiteral("SELECT depth, inclination, azimuth FROM holeSurvey "
                                   "WHERE depth IS NOT NULL ORDER BY depth"))) {
            m_lastError = q.lastError().text();
            return survey;
        }
        while (q.next()) {
            const double depth = q.value(0).toDouble();
            // Two rows of one depth (written by another program): the first counts.
            if (!stations.isEmpty() && !(depth > stations.last().depth))
                continue;
            stations.append({depth, q.value(1).toDouble(), q.value(2).toDouble()});
        }
    }
    survey.setStations(stations);
    if (c.hasTable(QStringLiteral("holeReference"))) {
        QSqlQuery q(c.db());
        if (q.exec(QStringLiteral("SELECT reference FROM holeReference LIMIT 1")) && q.next())
            survey.setReference(HoleSurvey::referenceOfWord(q.value(0).toString()));
    }
    return survey;
}

bool HoleSurveyStore::write(const HoleSurvey &survey)
{
    return change(&survey, survey.reference());
}

bool HoleSurveyStore::importCsv(const QString &csvPath, HoleSurvey::Reference reference)
{
    HoleSurvey survey;
    survey.setReference(reference);
    m_lastError.clear();
    if (!HoleSurvey::fromCsv(csvPath, &survey, &m_lastError))
        return false;
    return write(survey);
}

bool HoleSurveyStore::setReference(HoleSurvey::Reference reference)
{
    return change(nullptr, reference);
}

bool HoleSurveyStore::change(const HoleSurvey *survey, HoleSurvey::Reference reference)
{
    m_lastError.clear();
    if (!SqliteConnection::fileExists(m_projectPath)) {
        m_lastError = tr("The project file %1 does not exist.").arg(m_projectPath);
        return false;
    }
    if (SqliteConnection::isReadOnlyFile(m_projectPath)) {
        m_lastError = tr("The project file is read-only.");
        return false;
    }
    if (survey && survey->isEmpty()) {
        m_lastError = tr("The survey has no stations.");
        return false;
    }
    ScopedSqliteConnection c(m_projectPath, QStringLiteral("SURVEY"));
    if (!c.isOpen()) {
        m_lastError = tr("The project file cannot be opened: %1").arg(c.db().lastError().text());
        return false;
    }
    if (!c.hasTable(QStringLiteral("bigImages")) || !c.hasTable(QStringLiteral("projectInfo"))) {
        m_lastError = tr("The file is not a project file (it has no image table or no project "
                         "information).");
        return false;
    }
    if (!survey && !c.hasTable(QStringLiteral("holeSurvey"))) {
        m_lastError = tr("The project has no hole survey yet.");
        return false;
    }
    return c.transact(
        [&](QSqlQuery &q) {
            auto run = [&q](const QString &statement, const QVariantList &values) {
                return ScopedSqliteConnection::run(q, statement, values);
            };
            bool ok = run(QStringLiteral("CREATE TABLE IF NOT EXISTS holeSurvey (depth REAL, inclination REAL, "
                                         "azimuth REAL)"), {})
                      && run(QStringLiteral("CREATE TABLE IF NOT EXISTS holeReference (reference TEXT)"), {})
                      && run(QStringLiteral("DELETE FROM holeReference"), {})
                      && run(QStringLiteral("INSERT INTO holeReference (reference) VALUES (?)"),
                             {HoleSurvey::referenceWord(reference)});
            if (ok && survey) {
                ok = run(QStringLiteral("DELETE FROM holeSurvey"), {});
                for (const HoleSurvey::Station &s : survey->stations()) {
                    if (!ok)
                        break;
                    ok = run(QStringLiteral("INSERT INTO holeSurvey (depth, inclination, azimuth) VALUES (?, ?, ?)"),
                             {s.depth, s.inclination, s.azimuth});
                }
            }
            return ok;
        },
        &m_lastError);
}
