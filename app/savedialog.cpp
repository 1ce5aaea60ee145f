#include "savedialog.h"

#include "settings.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

SaveDialog::SaveDialog(int span)
    : QDialog(nullptr)
    , m_span(span)
{
    m_messageLabel = new QLabel(
        tr("The current image is too large to save. \nIt needs to saved into different images.\n"), this);
    m_depthLabel = new QLabel(tr("Select depth of one image(mm):\n"), this);
    m_depthEdit = new QLineEdit(QStringLiteral("2000"), this);
    m_depthEdit->setEnabled(false);
    m_countLabel = new QLabel(this);
    m_okButton = new QPushButton(tr("Ok"), this);
    m_okButton->setFixedWidth(60);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setFixedWidth(60);

    auto *grid = new QGridLayout;
    grid->addWidget(m_messageLabel, 0, 0);
    grid->addWidget(m_depthLabel, 1, 0);
    grid->addWidget(m_depthEdit, 1, 1);
    grid->addWidget(new QLabel(this), 2, 0);
    grid->addWidget(m_countLabel, 3, 0);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    handleValueChanged(value());

    connect(m_depthEdit, &QLineEdit::textChanged, this, &SaveDialog::handleTextChanged);
    connect(m_cancelButton, &QPushButton::pressed, this, &QDialog::reject);
    connect(m_okButton, &QPushButton::pressed, this, &QDialog::accept);
}

int SaveDialog::value() const
{
    return m_depthEdit->text().toInt();
}

QString SaveDialog::countText() const
{
    return m_countLabel->text();
}

void SaveDialog::handleValueChanged(int depth)
{
    // A depth of 0 (or an unreadable field) makes no pieces rather than
    // dividing by zero.
    const int count = depth > 0 ? int(std::ceil(double(m_span) / (double(depth) * 10.0))) : 0;
    m_countLabel->setText(tr("Will save into ") + QString::number(count) + tr(" images"));
}

void SaveDialog::handleTextChanged(QString text)
{
    Q_UNUSED(text)
    handleValueChanged(value());
}

int SaveDialog::askStep(int span)
{
    auto *dialog = new SaveDialog(span);
    const int answer = dialog->exec();
    const int millimetres = dialog->value();
    delete dialog;
    if (answer != QDialog::Accepted || millimetres <= 0)
        return -1;
    Settings::instance()->setSaveDepth(millimetres);
    return millimetres * 10;
}
