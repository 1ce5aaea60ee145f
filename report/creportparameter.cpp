#include "creportparameter.h"

CReportParameter::CReportParameter()
{
    static const int registered = qRegisterMetaType<CReportParameter>("CReportParameter");
    Q_UNUSED(registered)
}
