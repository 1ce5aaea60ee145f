#include "koraresources.h"

#include <QtGlobal>
#include <QDir>

static void initOnce()
{
    Q_INIT_RESOURCE(kora);
}

void initKoraResources()
{
    static bool done = false;
    if (!done) {
        done = true;
        initOnce();
    }
}
