#ifndef SAVEDIALOG_H
#define SAVEDIALOG_H

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the depth of one piece (millimetres) before a page is saved as a
// series of JPEG pieces, and shows how many pieces that makes.
class SaveDialog : public QDialog
{
    Q_OBJECT

public:
    // span: depth of the page in units of 0.1 mm.
    explicit SaveDialog(int span);

    // The depth field read as an integer (millimetres).
    int value() const;
    int span() const { return m_span; }
    QString countText() const;

    // Runs the question for a page of span depth units. Answers the piece
    // depth in depth units (the accepted millimetres x 10, also stored as the
    // "saveDepth" setting), or -1 when the user cancelled.
    static int askStep(int span);

public slots:
    void handleValueChanged(int depth);
    void handleTextChanged(QString text);

private:
    QLabel *m_messageLabel = nullptr;
    QLabel *m_depthLabel = nullptr;
    QLineEdit *m_depthEdit = nullptr;
    QLabel *m_countLabel = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    int m_span = 0;
};

#endif // SAVEDIALOG_H
