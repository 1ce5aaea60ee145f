#ifndef HOLESURVEYNOTIFIER_H
#define HOLESURVEYNOTIFIER_H

#include <QObject>
#include <QString>

// Tells every view of picks, once per process, that the hole survey or the
// azimuth reference of a project file changed, so true orientations are
// computed anew. Used on the GUI thread only.
class HoleSurveyNotifier : public QObject
{
    Q_OBJECT

public:
    static HoleSurveyNotifier *instance();

    void notify(const QString &projectPath) { emit surveyChanged(projectPath); }

signals:
    void surveyChanged(const QString &projectPath);

private:
    HoleSurveyNotifier() = default;
};

#endif // HOLESURVEYNOTIFIER_H
