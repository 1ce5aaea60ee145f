#include "projectinfo.h"

#include "writefailure.h"

#include "globals.h"
#include "navigationpanel.h"
#include "piecedecoder.h"
#include "sqliteconnection.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFileInfo>
#include <QImage>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>
#include <cmath>
#include <limits>

namespace {

ProjectInfo *s_instance = nullptr;
std::function<NavigationPanel *()> &panelFactory()
{
    static std::function<NavigationPanel *()> factory;
    return factory;
}

const char *const kDescriptiveColumns[] = {
    "projectName", "detectionUnit", "coordinatesLongitude", "coordinatesLatitude",
    "orificeNumber", "date", "testTotalDepth", "testStartDepth",
    "testPerson", "orificeElevation", "stableWaterLevel"};

const char *const kBaseColumns[] = {"direction", "start", "diameter"};
const char *const kCoordinateColumns[] = {"fLongitude", "fLatitude"};

// The column set of one generation of projectInfo, in lower case and sorted.
QStringList generationColumns(bool coordinates, bool descriptive)
{
    QStringList names;
    for (const char *c : kBaseColumns)
        names << QString::fromLatin1(c).toLower();
    if (coordinates)
        for (const char *c : kCoordinateColumns)
            names << QString::fromLatin1(c).toLower();
    if (descriptive)
        for (const char *c : kDescriptiveColumns)
            names << QString::fromLatin1(c).toLower();
    names.sort();
    return names;
}

// The generation (3, 5, 14 or 16) whose columns are exactly these; 0 for
// any other set. SQLite compares column names without regard to case.
int knownGeneration(const QSqlRecord &record)
{
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names << record.fieldName(i).toLower();
    names.sort();
    if (names == generationColumns(false, false))
        return 3;
    if (names == generationColumns(true, false))
        return 5;
    if (names == generationColumns(false, true))
        return 14;
    if (names == generationColumns(true, true))
        return 16;
    return 0;
}

const char kRead16[] =
    "select direction ,start, diameter,fLongitude,fLatitude, projectName, "
    "        detectionUnit, coordinatesLongitude, coordinatesLatitude, "
    "        orificeNumber, date, testTotalDepth, testStartDepth, "
    "        testPerson, orificeElevation, stableWaterLevel from projectInfo";

const char kRead14[] =
    "select direction ,start, diameter,projectName, \t\tdetectionUnit, coordinatesLongitude, "
    "coordinatesLatitude, \t\torificeNumber, date, testTotalDepth, testStartDepth, \t\ttestPerson, "
    "orificeElevation, stableWaterLevel from projectInfo";

const char kUpdate[] =
    "update projectInfo set \t\tprojectName = ?,\t\tdetectionUnit = ?, \t\tcoordinatesLongitude = ?, "
    "\t\tcoordinatesLatitude = ?, \t\torificeNumber = ?, \t\tdate = ?, \t\ttestTotalDepth = ?, "
    "\t\ttestStartDepth = ?, \t\ttestPerson = ?, \t\torificeElevation = ?, \t\tstableWaterLevel = ? "
    "where\tstart = ?";

const char kDateFormat[] = "yyyy/MM/dd";

} // namespace

ProjectInfo *ProjectInfo::instance()
{
    if (!s_instance) {
        s_instance = new ProjectInfo();
        // The record lives until the process ends; its connection must not:
        // an open connection keeps a WAL-mode project's -wal and -shm files
        // (and whatever only they hold) beside the project after exit.
        qAddPostRoutine(&ProjectInfo::closeAtExit);
    }
    return s_instance;
}

void ProjectInfo::closeAtExit()
{
    if (s_instance)
        s_instance->closeDatabase();
}

void ProjectInfo::setPanelFactory(std::function<NavigationPanel *()> factory)
{
    panelFactory() = std::move(factory);
    if (s_instance && !s_instance->m_panel && panelFactory())
        s_instance->m_panel = panelFactory()();
}

ProjectInfo::ProjectInfo()
    : QWidget(nullptr),
      m_connectionName(SqliteConnection::uniqueName(QStringLiteral("DB1")))
{
    if (panelFactory())
        m_panel = panelFactory()();
}

ProjectInfo::~ProjectInfo()
{
    closeDatabase();
}

void ProjectInfo::reset()
{
    m_pageStart = 0;
    m_pageEnd = 0;
    m_start = 0;
    m_maxDepth = 0;
    m_diameter = 0;
    m_spare1 = 0;
    m_direction.clear();
    m_projectPath.clear();
    m_imageWidth = 0;
    m_pageHeight = 0;
    m_spare2 = 0;
    m_fLongitude = 114.3;
    m_fLatitude = 30.57;
    m_hasCoordinateColumns = false;
    // The project is closed: so is its connection.
    closeDatabase();
    if (m_panel)
        m_panel->reset();
}

void ProjectInfo::setPageStart(int depth)
{
    m_pageStart = depth;
    if (m_panel)
        m_panel->setStartDepth(depth);
}

void ProjectInfo::setPageEnd(int depth)
{
    m_pageEnd = depth;
    if (m_panel)
        m_panel->setEndDepth(depth);
}

void ProjectInfo::closeDatabase()
{
    SqliteConnection::remove(m_database, m_connectionName);
}

bool ProjectInfo::openDatabase()
{
    // Never let SQLite create a file: a project that is gone stays gone.
    if (!SqliteConnection::fileExists(m_projectPath))
        return false;
    if (!m_database.isValid())
        m_database = SqliteConnection::connection(m_connectionName);
    if (m_database.isOpen())
        return true;
    return SqliteConnection::openExisting(m_database, m_projectPath);
}

QString ProjectInfo::writeProblemOf(const QString &path)
{
    if (!SqliteConnection::fileExists(path))
        return QString();
    const bool folderReadOnly = WriteFailure::folderIsReadOnly(path);
    if (!folderReadOnly && !SqliteConnection::isReadOnlyFile(path))
        return QString();
    QString problem = WriteFailure::describe(WriteFailure::ReadOnly, path, QString());
    // A journal beside the file holds a change that was interrupted; SQLite
    // rolls it back at the next opening that may write.
    const QFileInfo journal(path + QStringLiteral("-journal"));
    if (journal.isFile() && journal.size() > 0)
        problem += QStringLiteral("; ")
                   + tr("it was interrupted during a change; open it where it can be written to finish "
                        "restoring it");
    return problem;
}

void ProjectInfo::setDatabase(const QString &path)
{
    m_projectPath = path;
    m_writeProblem = writeProblemOf(path);
    if (m_database.isValid() && m_database.isOpen())
        closeDatabase();
    if (!openDatabase()) {
        if (m_database.isValid())
            qDebug() << "database open failed!" << m_database.lastError().text();
        else
            qDebug() << "database open failed!" << path;
    }
}

void ProjectInfo::readRow(const QSqlRecord &record)
{
    auto has = [&record](const char *name) { return record.indexOf(QLatin1String(name)) >= 0; };
    auto value = [&record](const char *name) { return record.value(QLatin1String(name)); };

    if (has("direction"))
        m_direction = value("direction").toString();
    if (has("start"))
        m_start = value("start").toInt();
    if (m_direction == QLatin1String("up"))
        m_start = 0;
    if (m_panel)
        m_panel->setStartText(m_start);
    if (has("diameter"))
        m_diameter = value("diameter").toInt();
    if (has("fLongitude"))
        m_fLongitude = value("fLongitude").toDouble();
    if (has("fLatitude"))
        m_fLatitude = value("fLatitude").toDouble();

    QString *const targets[] = {&m_projectName, &m_detectionUnit, &m_coordinatesLongitude,
                                &m_coordinatesLatitude, &m_orificeNumber, nullptr,
                                &m_testTotalDepth, &m_testStartDepth, &m_testPerson,
                                &m_orificeElevation, &m_stableWaterLevel};
    for (int i = 0; i < 11; ++i) {
        const char *column = kDescriptiveColumns[i];
        if (!has(column))
            continue;
        if (targets[i])
            *targets[i] = value(column).toString();
        else
            m_date = QDate::fromString(value(column).toString(), QLatin1String(kDateFormat));
    }
}

void ProjectInfo::loadProjectInfo()
{
    // The facts derived from bigImages belong to the file being loaded.
    m_maxDepth = 0;
    m_imageWidth = 0;

    if (!m_database.isValid() || !m_database.isOpen()) {
        qDebug() << "database open failed!" << m_projectPath;
        return;
    }

    // 1. Probe the column set.
    bool probeOk = false;
    int generation = 0;
    {
        QSqlQuery probe(m_database);
        probeOk = probe.exec(QStringLiteral("select * from projectInfo"));
        if (probeOk) {
            const QSqlRecord record = probe.record();
            generation = knownGeneration(record);
            m_hasCoordinateColumns = record.indexOf(QLatin1String("fLongitude")) >= 0
                                     && record.indexOf(QLatin1String("fLatitude")) >= 0;
        } else {
            m_hasCoordinateColumns = false;
        }
    }

    // 2. Migrate an old generation to the current column set.
    if (generation == 3 || generation == 5)
        migrate();

    // 3. Read the row.
    bool readOk = false;
    {
        QSqlQuery read(m_database);
        readOk = read.exec(QLatin1String(m_hasCoordinateColumns ? kRead16 : kRead14));
        if (!readOk) {
            qDebug() << read.lastError().text();
        } else {
            while (read.next())
                readRow(read.record());
        }
    }
    if (!readOk && probeOk) {
        // The columns could not be added (a read-only file of an old
        // generation): read what the table has, so the images stay viewable.
        QSqlQuery read(m_database);
        if (read.exec(QStringLiteral("select * from projectInfo"))) {
            while (read.next())
                readRow(read.record());
            readOk = true;
        } else {
            qDebug() << read.lastError().text();
        }
    }
    if (!readOk)
        return;

    // 4. Deepest piece. Its id is the test depth; the width comes from the
    // deepest piece that decodes (all pieces share one width), so that one
    // damaged or hostile piece at the bottom does not hide the project.
    QSqlQuery deepest(m_database);
    deepest.setForwardOnly(true);
    if (deepest.exec(QStringLiteral("select id, data from bigImages order by id desc")) && deepest.next()) {
        bool found = false;
        do {
            bool ok = false;
            const qint64 id = deepest.value(0).toLongLong(&ok);
            if (!ok || id > std::numeric_limits<int>::max() || id < std::numeric_limits<int>::min()) {
                qDebug() << "piece id out of range:" << deepest.value(0).toString();
                continue; // not a depth of the file format
            }
            if (!found) {
                found = true;
                m_maxDepth = int(id);
                if (m_panel)
                    m_panel->setEndText(m_maxDepth);
            }
            m_imageWidth = PieceDecoder::decode(deepest.value(1).toByteArray()).width();
        } while (m_imageWidth <= 0 && deepest.next());
    } else {
        qDebug() << deepest.lastError().text();
    }
    deepest.finish();
}

bool ProjectInfo::migrate()
{
    // Only a genuine project of an old generation is ever altered: one that
    // has both tables and passes SQLite's quick check. Anything else is left
    // exactly as it is.
    bool hasBigImages = false;
    for (const QString &table : m_database.tables(QSql::Tables))
        hasBigImages = hasBigImages || table.compare(QLatin1String("bigImages"), Qt::CaseInsensitive) == 0;
    if (!hasBigImages)
        return false;
    {
        QSqlQuery check(m_database);
        check.setForwardOnly(true);
        bool sound = check.exec(QStringLiteral("pragma quick_check")) && check.next()
                     && check.value(0).toString() == QLatin1String("ok") && !check.next();
        if (!sound) {
            qDebug() << "add column" << "the project file fails its integrity check; it is not migrated";
            return false;
        }
    }

    // All columns or none: a failure leaves the file as it was.
    if (!m_database.transaction()) {
        qDebug() << "add column" << m_database.lastError().text();
        return false;
    }
    for (const char *column : kDescriptiveColumns) {
        QSqlQuery alter(m_database);
        if (!alter.exec(QStringLiteral("ALTER  table projectInfo ADD  %1 varchar(20)").arg(QLatin1String(column)))) {
            qDebug() << "add column" << alter.lastError().text();
            alter.clear();
            m_database.rollback();
            return false;
        }
    }
    if (!m_database.commit()) {
        qDebug() << "add column" << m_database.lastError().text();
        m_database.rollback();
        return false;
    }
    return true;
}

bool ProjectInfo::saveProjectInfo()
{
    if (!openDatabase()) {
        qDebug() << "database open failed!"
                 << (m_database.isValid() ? m_database.lastError().text() : m_projectPath);
        return false;
    }

    bool ok = false;
    {
        QString dateText = m_date.toString(QLatin1String(kDateFormat));
        if (dateText.isNull())
            dateText = QLatin1String(""); // an invalid date is written as empty text

        QSqlQuery update(m_database);
        if (!update.prepare(QLatin1String(kUpdate))) {
            qDebug() << "add data" << update.lastError().text();
            return false;
        }
        update.addBindValue(m_projectName);
        update.addBindValue(m_detectionUnit);
        update.addBindValue(m_coordinatesLongitude);
        update.addBindValue(m_coordinatesLatitude);
        update.addBindValue(m_orificeNumber);
        update.addBindValue(dateText);
        update.addBindValue(m_testTotalDepth);
        update.addBindValue(m_testStartDepth);
        update.addBindValue(m_testPerson);
        update.addBindValue(m_orificeElevation);
        update.addBindValue(m_stableWaterLevel);
        update.addBindValue(m_start);
        ok = update.exec();
        if (!ok)
            qDebug() << "add data" << update.lastError().text();
    }
    if (ok)
        m_database.close();
    return ok;
}

void ProjectInfo::setDiameter(int d)
{
    m_diameter = d;
    if (d != 0)
        pixelsPerUnit = computePixelFactor();
}

double ProjectInfo::computePixelFactor() const
{
    if (m_diameter <= 0 || m_imageWidth <= 0)
        return 0.0;
    return m_imageWidth / (m_diameter * kPi);
}
