#include "rewriteguard.h"

#include <QMessageBox>

bool RewriteGuard::refuse()
{
    if (!running())
        return false;
    QMessageBox::information(m_window, QString(),
                             tr("The project file is being rewritten. "
                                "Please wait until it is finished."));
    return true;
}
