#include "holesurveynotifier.h"

HoleSurveyNotifier *HoleSurveyNotifier::instance()
{
    static HoleSurveyNotifier notifier;
    return &notifier;
}
