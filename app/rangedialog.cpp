#include "rangedialog.h"

#include <QDoubleValidator>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The fields take plain decimal metres whatever the user's locale is, so that
// what is typed is what is read back.
QLineEdit *makeMetreField(QWidget *parent, const QString &text)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setFixedWidth(50);
    auto *validator = new QDoubleValidator(0.0, 1.0e6, 4, edit);
    validator->setNotation(QDoubleValidator::StandardNotation);
    validator->setLocale(QLocale::c());
    edit->setValidator(validator);
    return edit;
}

// Depth units as metres, as short as exact (3, 1.5, 2.125).
QString metresText(int depth)
{
    QString text = QLocale::c().toString(depth / 10000.0, 'f', 4);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

bool readMetres(const QString &text, double *value)
{
    bool ok = false;
    *value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok;
}

} // namespace

RangeDialog::RangeDialog(QWidget *parent)
    : QDialog(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);

    m_startLabel = new QLabel(tr("start(m)"), this);
    m_endLabel = new QLabel(tr("end(m)"), this);
    m_startEdit = makeMetreField(this, QStringLiteral("0.0"));
    m_startEdit->setObjectName(QStringLiteral("startEdit"));
    m_endEdit = makeMetreField(this, QStringLiteral("1.0"));
    m_endEdit->setObjectName(QStringLiteral("endEdit"));
    m_okButton = new QPushButton(tr("OK"), this);
    m_okButton->setFixedWidth(70);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setFixedWidth(70);
    m_errorLabel = new QLabel(this);
    m_errorLabel->setObjectName(QStringLiteral("errorLabel"));
    // The line of the message is kept free, so that a message does not
    // move the buttons under the mouse.
    m_errorLabel->setMinimumHeight(m_errorLabel->fontMetrics().height());

    auto *fields = new QHBoxLayout;
    fields->addWidget(m_startLabel);
    fields->addWidget(m_startEdit);
    fields->addWidget(m_endLabel);
    fields->addWidget(m_endEdit);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_errorLabel);
    layout->addLayout(buttons);

    // The range is checked on OK: while the user types the start, the end
    // still holds the old value and is no error yet. A change clears an
    // earlier message.
    connect(m_endEdit, &QLineEdit::textEdited, this, &RangeDialog::handleTextEdited);
    connect(m_endEdit, &QLineEdit::textChanged, this, &RangeDialog::handleTextChanged);
    connect(m_startEdit, &QLineEdit::textChanged, this, &RangeDialog::handleTextChanged);
    connect(m_okButton, &QPushButton::pressed, this, &RangeDialog::okPressed);
    connect(m_cancelButton, &QPushButton::pressed, this, &QDialog::close);
}

void RangeDialog::setLowestStart(int depth)
{
    m_lowestStart = depth;
    m_startEdit->setText(metresText(depth));
}

void RangeDialog::setEnd(int depth)
{
    // At most 2 m below the start, so that the proposed range passes the
    // check on OK.
    m_end = std::min(depth, m_lowestStart + 20000);
    m_endEdit->setText(metresText(m_end));
}

void RangeDialog::okPressed()
{
    double start = 0.0;
    double end = 0.0;
    if (!validate(m_startEdit->text(), m_endEdit->text(), &start, &end))
        return;
    emit rollRangeGetted(start * 10000.0, end * 10000.0);
    close();
}

void RangeDialog::handleTextEdited(QString text)
{
    Q_UNUSED(text);
}

void RangeDialog::handleTextChanged(QString text)
{
    Q_UNUSED(text);
    m_errorLabel->clear();
}

bool RangeDialog::validate(const QString &startText, const QString &endText, double *start, double *end)
{
    const bool startOk = readMetres(startText, start);
    const bool endOk = readMetres(endText, end);
    if (!startOk || !endOk || *end <= *start) {
        m_errorLabel->setText(tr("Range error,start depth is larger than end depth!"));
        return false;
    }
    if (*end - *start > 2.0 + 1e-9) { // tolerance for decimal input such as 3.1 - 1.1
        m_errorLabel->setText(tr("The range must less than 2m!"));
        return false;
    }
    m_errorLabel->clear();
    return true;
}
