#ifndef MYFONTDIALOG_H
#define MYFONTDIALOG_H

#include <QColor>
#include <QDialog>
#include <QFont>

class QComboBox;
class QFontComboBox;
class QPushButton;

// Picks a font family, a pixel size and one of the named colours.
class MyFontDialog : public QDialog
{
    Q_OBJECT

public:
    MyFontDialog(const QFont &font, const QColor &color);

    QFont selectedFont() const { return m_font; }
    QColor selectedColor() const { return m_color; }
    bool isAccepted() const { return m_accepted; }

public slots:
    void okBtnClicked();

private:
    QFont m_font;
    QColor m_color;
    QFontComboBox *m_fontBox = nullptr;
    QComboBox *m_sizeBox = nullptr;
    QComboBox *m_colorBox = nullptr;
    QPushButton *m_okBtn = nullptr;
    QPushButton *m_cancelBtn = nullptr;
    bool m_accepted = false;
};

#endif // MYFONTDIALOG_H
