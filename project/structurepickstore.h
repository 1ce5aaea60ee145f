#ifndef STRUCTUREPICKSTORE_H
#define STRUCTUREPICKSTORE_H

#include <QString>
#include <QVector>
#include <functional>

#include "structurepick.h"

class QIODevice;
class QSqlDatabase;
class TrueOrientation;

// The structure picks of one project file, kept in a table of their own:
//
//     structurePicks(id integer primary key, depth real, dip real,
//                    dipDirection real, amplitude real, type text, comment text)
//
// Nothing else in the file is touched, and the table is only created with the
// first pick, so a project in which nobody picks stays byte-identical. Each
// change is one transaction: it lands whole or not at all. Every call opens
// its own connection on the calling thread and closes it before it returns.
class StructurePickStore
{
public:
    explicit StructurePickStore(const QString &projectPath = QString());

    QString projectPath() const { return m_projectPath; }
    void setProjectPath(const QString &path) { m_projectPath = path; }

    // The picks whose depth lies in [from, to] (depth units), by depth. An
    // empty list when the file has no picks or cannot be read.
    QVector<StructurePick> picks(double from, double to) const;
    QVector<StructurePick> allPicks() const;

    // Stores a new pick and gives it its id. False (nothing written) when the
    // file is read-only, locked too long or the write fails; see lastError().
    bool add(StructurePick *pick);
    // Rewrites a stored pick.
    bool update(const StructurePick &pick);
    // Deletes a stored pick.
    bool remove(qint64 id);

    // Passes every stored pick through change and writes back what it
    // changed, on db (open, owned by the caller, on this thread) and inside
    // the caller's transaction, so the picks change together with whatever
    // else that transaction writes. A pick is moved only when every column in
    // needed holds a number; the others are left as they are and counted in
    // *notMoved. Of the written columns, one that held NULL or no number and
    // is not needed stays as it was. A file without picks is left as it is:
    // no table is made. False with *error when the table cannot be read (see
    // unreadableReason()) or a statement fails (the caller then rolls back).
    static bool changeAll(QSqlDatabase &db, const QStringList &needed, const QStringList &written,
                          const std::function<void(StructurePick *)> &change, QString *error,
                          int *notMoved);

    // Why the structurePicks table of the file cannot be read as picks (a
    // view, a missing column, an id that is not an integer key), in words;
    // empty when it can, or when there is none.
    static QString unreadableReason(QSqlDatabase &db);
    static QString unreadableReason(const QString &path);

    // True when the file refuses writes (picks can then only be kept in memory).
    bool isReadOnly() const;
    QString lastError() const { return m_lastError; }

    // Writes "depth_m,dip_deg,dip_direction_deg,type,comment" and one line per
    // pick, UTF-8 with dot decimals; comments are quoted where needed. With a
    // hole survey (an active orientation) two more columns follow,
    // "true_dip_deg,true_dip_direction_deg".
    static bool writeCsv(const QVector<StructurePick> &picks, QIODevice *device,
                         const TrueOrientation *orientation = nullptr);
    static bool writeCsv(const QVector<StructurePick> &picks, const QString &path, QString *error,
                         const TrueOrientation *orientation = nullptr);

private:
    QVector<StructurePick> select(const QString &where, const QVariantList &values) const;
    bool write(const QString &statement, const QVariantList &values, bool createTable,
               qint64 *insertedId);

    QString m_projectPath;
    mutable QString m_lastError;
};

#endif // STRUCTUREPICKSTORE_H
