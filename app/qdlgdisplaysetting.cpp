#include "qdlgdisplaysetting.h"
#include "ui_qdlgdisplaysetting.h"

#include <QCoreApplication>

QDlgDisplaySetting::QDlgDisplaySetting(int &gridSizeIndex, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::QDlgDisplaySetting)
    , m_gridSizeIndex(gridSizeIndex)
{
    ui->setupUi(this);
    ui->cmbBoxGridLines->addItems(GridSizeChoices());
    ui->cmbBoxGridLines->setCurrentIndex(m_gridSizeIndex);
}

QDlgDisplaySetting::~QDlgDisplaySetting()
{
    delete ui;
}

QStringList QDlgDisplaySetting::GridSizeChoices()
{
    return {tr("10*10"), tr("20*20"), tr("50*50")};
}

QSize QDlgDisplaySetting::gridSize(int index)
{
    const QStringList choices = GridSizeChoices();
    if (index < 0 || index >= choices.size())
        return QSize(10, 10);
    return parseGridSize(choices.at(index));
}

QSize QDlgDisplaySetting::parseGridSize(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('*'), Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return QSize(10, 10);
    bool okWidth = false;
    bool okHeight = false;
    const int w = parts.at(0).trimmed().toInt(&okWidth);
    const int h = parts.at(1).trimmed().toInt(&okHeight);
    // A cell must have a positive size, or the grid would never end.
    if (!okWidth || !okHeight || w <= 0 || h <= 0)
        return QSize(10, 10);
    return QSize(w, h);
}

void QDlgDisplaySetting::on_buttonBox_accepted()
{
    m_gridSizeIndex = ui->cmbBoxGridLines->currentIndex();
}
