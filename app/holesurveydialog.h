#ifndef HOLESURVEYDIALOG_H
#define HOLESURVEYDIALOG_H

#include <QDialog>
#include <QPointer>

#include "holesurvey.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QThread;

// Sets the hole survey of a project: stations read from a CSV file, or one
// inclination and azimuth for a straight hole. The survey is stored on a
// worker thread; a refusal (a bad file, a read-only project) is shown with
// its reason and the dialog stays open. The azimuth reference stays as the
// project has it (north at the first import).
class HoleSurveyDialog : public QDialog
{
    Q_OBJECT

public:
    HoleSurveyDialog(const QString &projectPath, QWidget *parent = nullptr);
    ~HoleSurveyDialog() override;

    QRadioButton *csvButton() const { return m_csvButton; }
    QRadioButton *straightButton() const { return m_straightButton; }
    QLineEdit *csvEdit() const { return m_csvEdit; }
    QDoubleSpinBox *inclinationBox() const { return m_inclination; }
    QDoubleSpinBox *azimuthBox() const { return m_azimuth; }
    QLabel *currentLabel() const { return m_current; }
    // The last refusal's reason, also shown in a message box.
    QString lastError() const { return m_lastError; }

    // A short description of a survey for the user.
    static QString describe(const HoleSurvey &survey);

signals:
    // The survey was stored in the project file.
    void surveyStored();

public slots:
    void accept() override;

private:
    void browse();
    void stored(bool ok, const QString &error);
    void updateEnabled();

    QString m_projectPath;
    QRadioButton *m_csvButton = nullptr;
    QRadioButton *m_straightButton = nullptr;
    QLineEdit *m_csvEdit = nullptr;
    QPushButton *m_browse = nullptr;
    QDoubleSpinBox *m_inclination = nullptr;
    QDoubleSpinBox *m_azimuth = nullptr;
    QLabel *m_current = nullptr;
    QPushButton *m_okButton = nullptr;
    QPointer<QThread> m_worker;
    QString m_lastError;
};

#endif // HOLESURVEYDIALOG_H
