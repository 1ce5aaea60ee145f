#ifndef RANGEDIALOG_H
#define RANGEDIALOG_H

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the depth interval (in metres, at most 2 m long) of the roll view.
// The range is checked when OK is pressed; a wrong one keeps the dialog open
// with the reason. Deleted when closed.
class RangeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RangeDialog(QWidget *parent = nullptr);

    // Start proposed, in depth units (the top of the page on screen); the
    // start field shows it in metres.
    void setLowestStart(int depth);
    int lowestStart() const { return m_lowestStart; }
    // End of the range proposed in depth units, limited to 2 m below the start.
    void setEnd(int depth);
    int end() const { return m_end; }

    QLineEdit *startEdit() const { return m_startEdit; }
    QLineEdit *endEdit() const { return m_endEdit; }
    QPushButton *okButton() const { return m_okButton; }
    QPushButton *cancelButton() const { return m_cancelButton; }
    QLabel *errorLabel() const { return m_errorLabel; }

signals:
    void rollRangeGetted(double, double);

public slots:
    void okPressed();
    void handleTextEdited(QString text);
    void handleTextChanged(QString text);

private:
    // Reads both fields (metres); false, with the reason shown, when the
    // range is reversed, empty or longer than 2 m.
    bool validate(const QString &startText, const QString &endText, double *start, double *end);

    QLabel *m_startLabel;
    QLabel *m_endLabel;
    QLineEdit *m_startEdit;
    QLineEdit *m_endEdit;
    QPushButton *m_okButton;
    QPushButton *m_cancelButton;
    QLabel *m_errorLabel;
    int m_lowestStart = 0;
    int m_end = 0;
};

#endif // RANGEDIALOG_H
