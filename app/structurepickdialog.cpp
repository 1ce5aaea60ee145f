#include "structurepickdialog.h"

#include "structurepick.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

StructurePickDialog::StructurePickDialog(const QString &type, const QString &comment,
                                         const QString &values, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Structure pick"));
    auto *form = new QFormLayout(this);
    if (!values.isEmpty())
        form->addRow(tr("Depth, dip/dip direction:"), new QLabel(values, this));

    m_type = new QComboBox(this);
    for (const QString &t : StructurePick::types()) {
        QPixmap swatch(12, 12);
        swatch.fill(StructurePick::typeColour(t));
        m_type->addItem(QIcon(swatch), StructurePick::typeName(t), t);
    }
    // A type written by another program stays as it is unless changed.
    int index = m_type->findData(type);
    if (index < 0 && !type.isEmpty()) {
        m_type->addItem(type, type);
        index = m_type->count() - 1;
    }
    m_type->setCurrentIndex(qMax(0, index));
    form->addRow(tr("Type:"), m_type);

    m_comment = new QLineEdit(comment, this);
    m_comment->setMinimumWidth(260);
    form->addRow(tr("Comment:"), m_comment);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QString StructurePickDialog::type() const
{
    return m_type->currentData().toString();
}

QString StructurePickDialog::comment() const
{
    return m_comment->text().trimmed();
}
