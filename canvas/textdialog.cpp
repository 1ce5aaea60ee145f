#include "textdialog.h"

#include "myfontdialog.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

TextDialog::TextDialog(const QFont &font, const QColor &color)
    : QDialog(nullptr), m_font(font), m_color(color)
{
    resize(250, 100);

    m_textEdit = new QTextEdit(this);
    m_textEdit->setObjectName(QStringLiteral("textEdit"));
    m_textEdit->setMinimumSize(250, 100);

    m_fontBtn = new QPushButton(tr("Select font..."), this);
    m_okBtn = new QPushButton(tr("OK"), this);
    m_cancelBtn = new QPushButton(tr("Cancel"), this);
    for (QPushButton *b : {m_fontBtn, m_okBtn, m_cancelBtn}) {
        b->setMinimumSize(50, 30);
        b->setAutoDefault(false);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_fontBtn);
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_textEdit);
    layout->addLayout(buttons);

    connect(m_okBtn, &QPushButton::clicked, this, &TextDialog::okBtnClicked);
    connect(m_cancelBtn, &QPushButton::clicked, this, &TextDialog::close);
    connect(m_fontBtn, &QPushButton::clicked, this, &TextDialog::selectFont);
}

void TextDialog::setText(const QString &text)
{
    m_textEdit->setPlainText(text);
}

QString TextDialog::text() const
{
    return m_textEdit->document()->toPlainText();
}

void TextDialog::okBtnClicked()
{
    m_accepted = true;
    accept();
}

void TextDialog::selectFont()
{
    MyFontDialog *dialog = new MyFontDialog(m_font, m_color);
    dialog->setWindowTitle(tr("Select Font"));
    dialog->exec();
    if (dialog->isAccepted()) {
        m_font = dialog->selectedFont();
        m_color = dialog->selectedColor();
    }
    delete dialog;
}
