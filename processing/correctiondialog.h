#ifndef CORRECTIONDIALOG_H
#define CORRECTIONDIALOG_H

#include <QDialog>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class ProjectInfo;

// The three corrections of a project in one window: the real depth of the
// hole (depth correction), an azimuth correction angle and the real borehole
// diameter, which the dialog writes itself. Created once with the main
// window and shown, not modal, by its corrections command.
//
// "Ok" checks every filled-in field first: a real depth or diameter that is
// not a whole number of millimetres above 0, or an angle that is not a whole
// number, starts nothing; the dialog says why and stays open. Otherwise it
// writes the diameter, then asks for the depth and then the angle correction
// (the main window runs them one after the other), and closes.
class CorrectionDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CorrectionDialog(QWidget *parent = nullptr);
    ~CorrectionDialog() override;

    // Test depth and test diameter (millimetres) from the project record.
    void refresh();

    // Asked before anything is written: true while the project file is being
    // rewritten, when "Ok" must not touch it.
    void setBusyCheck(std::function<bool()> check) { m_busyCheck = std::move(check); }
    // True while "Ok" emits its requests: they belong to one press and are
    // run one after the other.
    bool okPressInProgress() const { return m_okPressInProgress; }
    // True when the user agreed, at the last "Ok", to correct the wall
    // without moving the structure picks, whose table cannot be read. The
    // corrections requested by that press must leave the picks as they are.
    bool leavesPicks() const { return m_leavesPicks; }
    // Picks the last diameter correction could not recompute (no amplitude).
    int picksNotMoved() const { return m_picksNotMoved; }

    QLineEdit *testDepthEdit() const { return m_testDepthEdit; }
    QLineEdit *realDepthEdit() const { return m_realDepthEdit; }
    QLineEdit *angleEdit() const { return m_angleEdit; }
    QLineEdit *testDiameterEdit() const { return m_testDiameterEdit; }
    QLineEdit *realDiameterEdit() const { return m_realDiameterEdit; }
    QPushButton *okButton() const { return m_okButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

signals:
    void signalToCorrectDepth(int realDepth);
    void signalToCorrectAngle(int angle);
    // The diameter (depth units) is in the file, with the dips of the
    // structure picks recomputed for it.
    void signalDiameterCorrected(int diameter);

public slots:
    void handleOkBtnPressed();
    void OnRetranslate();

private:
    // Writes the diameter (depth units) to the file on a connection of its
    // own, waiting a while for a lock held elsewhere; the dips of the
    // structure picks follow it in the same transaction.
    // False with *why (the cause, in words) when it could not.
    bool updateDiameter(int diameter, QString *why);
    void refuse(QLineEdit *field, const QString &why);

    ProjectInfo *m_projectInfo = nullptr;
    QGroupBox *m_depthGroup = nullptr;
    QLabel *m_testDepthLabel = nullptr;
    QLineEdit *m_testDepthEdit = nullptr;
    QLabel *m_realDepthLabel = nullptr;
    QLineEdit *m_realDepthEdit = nullptr;
    QGroupBox *m_angleGroup = nullptr;
    QLabel *m_angleLabel = nullptr;
    QLineEdit *m_angleEdit = nullptr;
    QLabel *m_angleNoteLabel = nullptr;
    QGroupBox *m_diameterGroup = nullptr;
    QLabel *m_testDiameterLabel = nullptr;
    QLineEdit *m_testDiameterEdit = nullptr;
    QLabel *m_realDiameterLabel = nullptr;
    QLineEdit *m_realDiameterEdit = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    std::function<bool()> m_busyCheck;
    bool m_okPressInProgress = false;
    bool m_leavesPicks = false;
    int m_picksNotMoved = 0;
};

#endif // CORRECTIONDIALOG_H
