#ifndef PICKFIXTURE_H
#define PICKFIXTURE_H

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include "structurepickstore.h"

namespace PickFixture {

// Stores one pick (40°/120°, trace 400 units high) at each depth, in metres,
// in the project file; false as soon as one is refused.
inline bool plant(const QString &project, const QList<double> &metres)
{
    StructurePickStore store(project);
    for (double m : metres) {
        StructurePick pick;
        pick.depth = m * 10000;
        pick.dip = 40;
        pick.dipDirection = 120;
        pick.amplitude = 400;
        if (!store.add(&pick))
            return false;
    }
    return true;
}

// Adds count picks spread evenly over [fromMetre, toMetre) in one
// transaction, as many as a page seldom holds; the table must exist.
inline bool crowd(const QString &project, int count, double fromMetre, double toMetre)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("crowd"));
        db.setDatabaseName(project);
        if (db.open() && db.transaction()) {
            QSqlQuery q(db);
            ok = q.prepare(QStringLiteral("INSERT INTO structurePicks (depth, dip, dipDirection, amplitude, type, "
                                          "comment) VALUES (?, 40, 120, 400, 'fracture', '')"));
            for (int i = 0; ok && i < count; ++i) {
                q.addBindValue(10000 * (fromMetre + (toMetre - fromMetre) * i / count));
                ok = q.exec();
            }
            ok = db.commit() && ok;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("crowd"));
    return ok;
}

} // namespace PickFixture

#endif // PICKFIXTURE_H
