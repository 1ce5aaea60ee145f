#ifndef TEXTDIALOG_H
#define TEXTDIALOG_H

#include <QColor>
#include <QDialog>
#include <QFont>

class QPushButton;
class QTextEdit;

// Asks for the text of a text item; carries the font and colour chosen for it.
class TextDialog : public QDialog
{
    Q_OBJECT

public:
    TextDialog(const QFont &font, const QColor &color);

    void setText(const QString &text);
    QString text() const; // plain text of the edit

    QFont selectedFont() const { return m_font; }
    QColor selectedColor() const { return m_color; }
    bool isAccepted() const { return m_accepted; }

public slots:
    void okBtnClicked();
    void selectFont();

private:
    QFont m_font;
    QColor m_color;
    QTextEdit *m_textEdit = nullptr;
    QPushButton *m_fontBtn = nullptr;
    QPushButton *m_okBtn = nullptr;
    QPushButton *m_cancelBtn = nullptr;
    bool m_accepted = false;
};

#endif // TEXTDIALOG_H
