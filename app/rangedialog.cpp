#include "rangedialog.h"

#include <QDoubleValidator>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

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
    m_errorLabel->hide();

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

    connect(m_endEdit, &QLineEdit::textEdited, this, &RangeDialog::handleTextEdited);
    connect(m_endEdit, &QLineEdit::textChanged, this, &RangeDialog::handleTextChanged);
    // A changed start must be checked against the end as well, otherwise an
    // edited start could slip past the 2 m rule.
    connect(m_startEdit, &QLineEdit::textChanged, this,
            [this](const QString &text) { validate(text, m_endEdit->text()); });
    connect(m_okButton, &QPushButton::pressed, this, &RangeDialog::okPressed);
    connect(m_cancelButton, &QPushButton::pressed, this, &QDialog::close);
}

void RangeDialog::setLowestStart(int depth)
{
    m_lowestStart = depth;
    m_startEdit->setText(QString::number(depth / 10000));
}

void RangeDialog::setEnd(int depth)
{
    // Limit the end to 2 m below the start the field shows (whole metres),
    // so that the proposed range always passes the check below.
    const int shownStart = (m_lowestStart / 10000) * 10000;
    m_end = std::min(depth, shownStart + 20000);
    m_endEdit->setText(QString::number(static_cast<int>(std::ceil(m_end / 10000.0))));
}

void RangeDialog::okPressed()
{
    if (!m_okButton->isEnabled())
        return;
    double start = 0.0;
    double end = 0.0;
    if (!readMetres(m_startEdit->text(), &start) || !readMetres(m_endEdit->text(), &end))
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
    validate(m_startEdit->text(), text);
}

void RangeDialog::validate(const QString &startText, const QString &endText)
{
    double s = 0.0;
    double e = 0.0;
    const bool startOk = readMetres(startText, &s);
    const bool endOk = readMetres(endText, &e);
    if (!startOk || !endOk || e <= s) {
        m_errorLabel->setText(tr("Range error,start depth is larger than end depth!"));
        m_errorLabel->show();
        m_okButton->setEnabled(false);
    } else if (e - s > 2.0 + 1e-9) { // tolerance for decimal input such as 3.1 - 1.1
        m_errorLabel->setText(tr("The range must less than 2m!"));
        m_errorLabel->show();
        m_okButton->setEnabled(false);
    } else {
        m_errorLabel->hide();
        m_okButton->setEnabled(true);
    }
}
