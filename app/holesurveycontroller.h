#ifndef HOLESURVEYCONTROLLER_H
#define HOLESURVEYCONTROLLER_H

#include <QObject>
#include <QPointer>

class HoleSurveyDialog;
class MainWindow;
class QAction;

// "Hole survey..." in the File menu: the survey dialog for the open project.
// Views of picks follow a stored survey through HoleSurveyNotifier.
class HoleSurveyController : public QObject
{
    Q_OBJECT

public:
    explicit HoleSurveyController(MainWindow *window);

    QAction *surveyAction() const { return m_surveyAct; }
    // The dialog while it is open.
    HoleSurveyDialog *dialog() const;

public slots:
    void showSurveyDialog();
    void OnRetranslate();

private:
    MainWindow *m_window = nullptr;
    QAction *m_surveyAct = nullptr;
    QPointer<HoleSurveyDialog> m_dialog;
};

#endif // HOLESURVEYCONTROLLER_H
