#ifndef RANGEDIALOG_H
#define RANGEDIALOG_H

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the depth interval (in metres, at most 2 m long) of the roll view.
// Deleted when closed.
class RangeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RangeDialog(QWidget *parent = nullptr);

    // Lowest allowed start, in depth units; the start field shows whole metres.
    void setLowestStart(int depth);
    int lowestStart() const { return m_lowestStart; }
    // End of the range in depth units, limited to 2 m below the start shown.
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
    void validate(const QString &startText, const QString &endText);

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
