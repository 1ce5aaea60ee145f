#include "structurepickstore.h"

#include "scopedsqliteconnection.h"
#include "partfile.h"
#include "sqliteconnection.h"
#include "trueorientation.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QVariant>
#include <cmath>
#include <limits>

namespace {

const char kCreate[] =
    "CREATE TABLE IF NOT EXISTS structurePicks (id integer primary key, depth real, dip real, "
    "dipDirection real, amplitude real, type text, comment text)";
// A page reads its picks by depth range.
const char kIndex[] = "CREATE INDEX IF NOT EXISTS structurePicks_depth ON structurePicks (depth)";

// The stored value as a number; NaN when it is NULL or no number at all.
double numberOf(const QVariant &value)
{
    if (value.isNull())
        return std::numeric_limits<double>::quiet_NaN();
    bool ok = false;
    const double d = value.type() == QVariant::String ? value.toString().trimmed().toDouble(&ok)
                                                      : value.toDouble(&ok);
    return ok ? d : std::numeric_limits<double>::quiet_NaN();
}

StructurePick pickOfRow(const QSqlQuery &q)
{
    StructurePick p;
    p.id = q.value(0).toLongLong();
    p.depth = numberOf(q.value(1));
    p.dip = numberOf(q.value(2));
    p.dipDirection = numberOf(q.value(3));
    p.amplitude = numberOf(q.value(4));
    p.type = q.value(5).toString();
    p.comment = q.value(6).toString();
    return p;
}

// One connection for the length of one call.
class Connection : public ScopedSqliteConnection
{
public:
    explicit Connection(const QString &path)
        : ScopedSqliteConnection(path, QStringLiteral("PICKS"))
    {
    }
};

bool tableExists(QSqlDatabase &db, const QString &name)
{
    return ScopedSqliteConnection::hasTable(db, name);
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

StructurePickStore::StructurePickStore(const QString &projectPath)
    : m_projectPath(projectPath)
{
}

QVector<StructurePick> StructurePickStore::picks(double from, double to) const
{
    return select(QStringLiteral(" WHERE depth >= ? AND depth <= ?"), {from, to});
}

QVector<StructurePick> StructurePickStore::allPicks() const
{
    return select(QString(), {});
}

QVector<StructurePick> StructurePickStore::select(const QString &where, const QVariantList &values) const
{
    QVector<StructurePick> result;
    {
        Connection c(m_projectPath);
        if (!c.isOpen()) {
            m_lastError = QStringLiteral("cannot open ") + m_projectPath;
            return result;
        }
        if (!c.hasTable(QStringLiteral("structurePicks")))
            return result;
        QSqlQuery q(c.db());
        // Rows are read once, in order: no cache of them all in the query.
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT id, depth, dip, dipDirection, amplitude, type, comment "
                                 "FROM structurePicks")
                  + where + QStringLiteral(" ORDER BY depth, id"));
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec()) {
            m_lastError = q.lastError().text();
            return result;
        }
        while (q.next())
            result.append(pickOfRow(q));
    }
    return result;
}

namespace {

double *field(StructurePick *p, const QString &column)
{
    if (column == QLatin1String("depth"))
        return &p->depth;
    if (column == QLatin1String("dip"))
        return &p->dip;
    if (column == QLatin1String("dipDirection"))
        return &p->dipDirection;
    if (column == QLatin1String("amplitude"))
        return &p->amplitude;
    return nullptr;
}

} // namespace

QString StructurePickStore::unreadableReason(QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT type FROM sqlite_master WHERE name = 'structurePicks' COLLATE NOCASE"))) {
        return q.lastError().text();
    }
    if (!q.next())
        return QString(); // no picks: nothing to read
    if (q.value(0).toString() != QLatin1String("table"))
        return QCoreApplication::translate("StructurePickStore", "it is a %1, not a table")
            .arg(q.value(0).toString());
    q.finish();
    QStringList columns;
    QString idType;
    bool idIsKey = false;
    if (!q.exec(QStringLiteral("PRAGMA table_info(structurePicks)")))
        return q.lastError().text();
    while (q.next()) {
        const QString name = q.value(1).toString();
        columns << name.toLower();
        if (name.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0) {
            idType = q.value(2).toString();
            idIsKey = q.value(5).toInt() > 0;
        }
    }
    for (const char *column : {"id", "depth", "dip", "dipDirection", "amplitude", "type", "comment"}) {
        if (!columns.contains(QString::fromLatin1(column).toLower()))
            return QCoreApplication::translate("StructurePickStore", "the column \"%1\" is missing")
                .arg(QString::fromLatin1(column));
    }
    if (idType.compare(QLatin1String("integer"), Qt::CaseInsensitive) != 0 || !idIsKey)
        return QCoreApplication::translate("StructurePickStore", "its id is not an integer key");
    return QString();
}

QString StructurePickStore::unreadableReason(const QString &path)
{
    Connection c(path);
    if (!c.isOpen())
        return QString();
    return unreadableReason(c.db());
}

bool StructurePickStore::changeAll(QSqlDatabase &db, const QStringList &needed, const QStringList &written,
                                   const std::function<void(StructurePick *)> &change, QString *error,
                                   int *notMoved)
{
    if (notMoved)
        *notMoved = 0;
    const QString unreadable = unreadableReason(db);
    if (!unreadable.isEmpty()) {
        *error = unreadable;
        return false;
    }
    if (!tableExists(db, QStringLiteral("structurePicks")))
        return true;
    struct Row
    {
        QVariant id;
        StructurePick pick;
    };
    QVector<Row> rows;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT id, depth, dip, dipDirection, amplitude FROM structurePicks"))) {
            *error = q.lastError().text();
            return false;
        }
        while (q.next()) {
            Row row;
            row.id = q.value(0);
            row.pick.depth = numberOf(q.value(1));
            row.pick.dip = numberOf(q.value(2));
            row.pick.dipDirection = numberOf(q.value(3));
            row.pick.amplitude = numberOf(q.value(4));
            rows.append(row);
        }
    }
    // One statement per set of columns written: a value that was not a
    // number (NULL among them) and is not needed stays as it is.
    QHash<QString, QSqlQuery> updates;
    for (Row &row : rows) {
        bool movable = true;
        for (const QString &column : needed)
            movable = movable && std::isfinite(*field(&row.pick, column));
        if (!movable) {
            if (notMoved)
                ++*notMoved;
            continue;
        }
        StructurePick before = row.pick;
        change(&row.pick);
        QStringList columns;
        QVariantList values;
        for (const QString &column : written) {
            const double was = *field(&before, column);
            const double now = *field(&row.pick, column);
            if (!std::isfinite(was) && !needed.contains(column))
                continue;
            if (!std::isfinite(now)) {
                movable = false;
                break;
            }
            columns << column + QStringLiteral(" = ?");
            values << now;
        }
        if (!movable) {
            if (notMoved)
                ++*notMoved;
            continue;
        }
        if (columns.isEmpty())
            continue;
        const QString key = columns.join(QLatin1Char(','));
        if (!updates.contains(key)) {
            QSqlQuery update(db);
            if (!update.prepare(QStringLiteral("UPDATE structurePicks SET %1 WHERE id = ?").arg(key))) {
                *error = update.lastError().text();
                return false;
            }
            updates.insert(key, update);
        }
        QSqlQuery &update = updates[key];
        for (const QVariant &v : values)
            update.addBindValue(v);
        update.addBindValue(row.id);
        if (!update.exec()) {
            *error = update.lastError().text();
            return false;
        }
    }
    return true;
}

bool StructurePickStore::isReadOnly() const
{
    return SqliteConnection::isReadOnlyFile(m_projectPath);
}

bool StructurePickStore::write(const QString &statement, const QVariantList &values,
                               bool createTable, qint64 *insertedId)
{
    m_lastError.clear();
    if (!SqliteConnection::fileExists(m_projectPath)) {
        m_lastError = QStringLiteral("no project file ") + m_projectPath;
        return false;
    }
    if (isReadOnly()) {
        m_lastError = QStringLiteral("the project file is read-only");
        return false;
    }
    Connection c(m_projectPath);
    if (!c.isOpen()) {
        m_lastError = c.db().lastError().text();
        return false;
    }
    // Picks belong to projects: a file without the image table gets no table of ours.
    if (!c.hasTable(QStringLiteral("bigImages")) || !c.hasTable(QStringLiteral("projectInfo"))) {
        m_lastError = QStringLiteral("not a project file");
        return false;
    }
    return c.transact(
        [&](QSqlQuery &q) {
            if (createTable && !(q.exec(QLatin1String(kCreate)) && q.exec(QLatin1String(kIndex))))
                return false;
            if (!ScopedSqliteConnection::run(q, statement, values))
                return false;
            if (insertedId)
                *insertedId = q.lastInsertId().toLongLong();
            return true;
        },
        &m_lastError);
}

bool StructurePickStore::add(StructurePick *pick)
{
    if (!pick)
        return false;
    qint64 id = 0;
    if (!write(QStringLiteral("INSERT INTO structurePicks (depth, dip, dipDirection, amplitude, type, "
                              "comment) VALUES (?, ?, ?, ?, ?, ?)"),
               {pick->depth, pick->dip, pick->dipDirection, pick->amplitude, pick->type,
                pick->comment},
               true, &id))
        return false;
    pick->id = id;
    return true;
}

bool StructurePickStore::update(const StructurePick &pick)
{
    return write(QStringLiteral("UPDATE structurePicks SET depth = ?, dip = ?, dipDirection = ?, "
                                "amplitude = ?, type = ?, comment = ? WHERE id = ?"),
                 {pick.depth, pick.dip, pick.dipDirection, pick.amplitude, pick.type, pick.comment,
                  pick.id},
                 false, nullptr);
}

bool StructurePickStore::remove(qint64 id)
{
    return write(QStringLiteral("DELETE FROM structurePicks WHERE id = ?"), {id}, false, nullptr);
}

bool StructurePickStore::writeCsv(const QVector<StructurePick> &picks, QIODevice *device,
                                  const TrueOrientation *orientation)
{
    const bool withTrue = orientation && orientation->isActive();
    QTextStream out(device);
    out.setCodec("UTF-8");
    out << "depth_m,dip_deg,dip_direction_deg,type,comment"
        << (withTrue ? ",true_dip_deg,true_dip_direction_deg\n" : "\n");
    // A value that is no number, or a dip out of 0 to 90, is an empty field.
    auto number = [](double value, double scale, int decimals, bool valid) {
        return valid && std::isfinite(value) ? QString::number(value / scale, 'f', decimals) : QString();
    };
    for (const StructurePick &p : picks) {
        out << number(p.depth, 10000.0, 4, true) << ',' << number(p.dip, 1.0, 1, StructurePick::validDip(p.dip))
            << ',' << number(p.dipDirection, 1.0, 1, true) << ',' << csvField(p.type) << ','
            << csvField(p.comment);
        if (withTrue) {
            const StructurePick t = orientation->corrected(p);
            out << ',' << number(t.dip, 1.0, 1, StructurePick::validDip(t.dip)) << ','
                << number(t.dipDirection, 1.0, 1, true);
        }
        out << '\n';
    }
    out.flush();
    return out.status() == QTextStream::Ok;
}

bool StructurePickStore::writeCsv(const QVector<StructurePick> &picks, const QString &path,
                                  QString *error, const TrueOrientation *orientation)
{
    // Through a device that sees every failed write, so the message can say
    // why (a full disk, a read-only folder).
    PartFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorText();
        return false;
    }
    if (!writeCsv(picks, &file, orientation) || !file.commit()) {
        if (error)
            *error = file.errorText();
        file.discard();
        return false;
    }
    return true;
}
