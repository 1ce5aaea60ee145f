#ifndef PICKFIXTURE_H
#define PICKFIXTURE_H

#include <QList>
#include <QString>

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

} // namespace PickFixture

#endif // PICKFIXTURE_H
