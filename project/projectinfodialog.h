#ifndef PROJECTINFODIALOG_H
#define PROJECTINFODIALOG_H

#include <QDate>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// Shows and edits the descriptive fields of the project record. The main
// window fills it from the record before each showing (fillFromRecord()).
// With a hole survey in the file it also sets the image's azimuth
// reference: north, or the high side of the inclined hole.
class ProjectInfoDialog : public QWidget
{
    Q_OBJECT

public:
    explicit ProjectInfoDialog(QWidget *parent = nullptr);

    // The eleven descriptive fields, the date and the diameter in millimetres.
    // An invalid date leaves the date box empty; saving an empty box gives
    // the record an invalid date, written to the file as empty text.
    void fillFromRecord();

    QLineEdit *projectNameEdit() const { return m_projectNameEdit; }
    QLineEdit *detectionUnitEdit() const { return m_detectionUnitEdit; }
    QLineEdit *coordinatesLongitudeEdit() const { return m_coordinatesLongitudeEdit; }
    QLineEdit *coordinatesLatitudeEdit() const { return m_coordinatesLatitudeEdit; }
    QLineEdit *orificeNumberEdit() const { return m_orificeNumberEdit; }
    QDateEdit *dateEdit() const { return m_dateEdit; }
    QLineEdit *testTotalDepthEdit() const { return m_testTotalDepthEdit; }
    QLineEdit *diameterEdit() const { return m_diameterEdit; }
    QLineEdit *testStartDepthEdit() const { return m_testStartDepthEdit; }
    QLineEdit *testPersonEdit() const { return m_testPersonEdit; }
    QLineEdit *orificeElevationEdit() const { return m_orificeElevationEdit; }
    QLineEdit *stableWaterLevelEdit() const { return m_stableWaterLevelEdit; }
    QComboBox *referenceBox() const { return m_referenceBox; }
    QLabel *referenceNote() const { return m_referenceNote; }
    QPushButton *saveButton() const { return m_saveButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }

public slots:
    void handleSavePressed();
    void OnRetranslate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The date the empty date box holds (the box's minimum).
    static QDate noDate();
    // The note under the reference: why it cannot be set, or where it does not apply.
    void updateReferenceNote();

    QLabel *m_projectNameLabel;
    QLineEdit *m_projectNameEdit;
    QLabel *m_detectionUnitLabel;
    QLineEdit *m_detectionUnitEdit;
    QLabel *m_coordinatesLabel;
    QLineEdit *m_coordinatesLongitudeEdit;
    QLineEdit *m_coordinatesLatitudeEdit;
    QLabel *m_orificeNumberLabel;
    QLineEdit *m_orificeNumberEdit;
    QLabel *m_dateLabel;
    QDateEdit *m_dateEdit;
    QLabel *m_testTotalDepthLabel;
    QLineEdit *m_testTotalDepthEdit;
    QLabel *m_diameterLabel;
    QLineEdit *m_diameterEdit;
    QLabel *m_testStartDepthLabel;
    QLineEdit *m_testStartDepthEdit;
    QLabel *m_testPersonLabel;
    QLineEdit *m_testPersonEdit;
    QLabel *m_orificeElevationLabel;
    QLineEdit *m_orificeElevationEdit;
    QLabel *m_stableWaterLevelLabel;
    QLineEdit *m_stableWaterLevelEdit;
    QLabel *m_referenceLabel;
    QComboBox *m_referenceBox;
    QLabel *m_referenceNote;
    bool m_hasSurvey = false;
    bool m_verticalStation = false;
    QPushButton *m_saveButton;
    QPushButton *m_cancelButton;
};

#endif // PROJECTINFODIALOG_H
