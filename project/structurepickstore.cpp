#include "structurepickstore.h"

#include "scopedsqliteconnection.h"
#include "sqliteconnection.h"
#include "trueorientation.h"

#include <QFile>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QVariant>

namespace {

const char kCreate[] =
    "CREATE TABLE IF NOT EXISTS structurePicks (id integer primary key, depth real, dip real, "
    "dipDirection real, amplitude real, type text, comment text)";

StructurePick pickOfRow(const QSqlQuery &q)
{
    StructurePick p;
    p.id = q.value(0).toLongLong();
    p.depth = q.value(1).toDouble();
    p.dip = q.value(2).toDouble();
    p.dipDirection = q.value(3).toDouble();
    p.amplitude = q.value(4).toDouble();
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

bool StructurePickStore::changeAll(QSqlDatabase &db,
                                   const std::function<void(StructurePick *)> &change, QString *error)
{
    if (!tableExists(db, QStringLiteral("structurePicks")))
        return true;
    QVector<StructurePick> picks;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(QStringLiteral("SELECT id, depth, dip, dipDirection, amplitude, type, comment "
                                   "FROM structurePicks"))) {
            *error = q.lastError().text();
            return false;
        }
        while (q.next())
            picks.append(pickOfRow(q));
    }
    QSqlQuery update(db);
    if (!update.prepare(QStringLiteral("UPDATE structurePicks SET depth = ?, dip = ?, "
                                       "dipDirection = ?, amplitude = ? WHERE id = ?"))) {
        *error = update.lastError().text();
        return false;
    }
    for (StructurePick &p : picks) {
        change(&p);
        update.addBindValue(p.depth);
        update.addBindValue(p.dip);
        update.addBindValue(p.dipDirection);
        update.addBindValue(p.amplitude);
        update.addBindValue(p.id);
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
    bool ok = false;
    {
        QSqlQuery q(c.db());
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            m_lastError = q.lastError().text();
            return false;
        }
        ok = !createTable || q.exec(QLatin1String(kCreate));
        if (ok) {
            ok = q.prepare(statement);
            for (const QVariant &v : values)
                q.addBindValue(v);
            ok = ok && q.exec();
            if (ok && insertedId)
                *insertedId = q.lastInsertId().toLongLong();
        }
        if (!ok)
            m_lastError = q.lastError().text();
        q.finish();
        QSqlQuery end(c.db());
        if (ok && !end.exec(QStringLiteral("COMMIT"))) {
            m_lastError = end.lastError().text();
            ok = false;
        }
        if (!ok)
            end.exec(QStringLiteral("ROLLBACK"));
    }
    return ok;
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
    for (const StructurePick &p : picks) {
        out << QString::number(p.depth / 10000.0, 'f', 4) << ','
            << QString::number(p.dip, 'f', 1) << ','
            << QString::number(p.dipDirection, 'f', 1) << ',' << csvField(p.type) << ','
            << csvField(p.comment);
        if (withTrue) {
            const StructurePick t = orientation->corrected(p);
            out << ',' << QString::number(t.dip, 'f', 1) << ',' << QString::number(t.dipDirection, 'f', 1);
        }
        out << '\n';
    }
    out.flush();
    return out.status() == QTextStream::Ok;
}

bool StructurePickStore::writeCsv(const QVector<StructurePick> &picks, const QString &path,
                                  QString *error, const TrueOrientation *orientation)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!writeCsv(picks, &file, orientation) || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
