#include "myfontdialog.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

MyFontDialog::MyFontDialog(const QFont &font, const QColor &color)
    : QDialog(nullptr), m_font(font), m_color(color)
{
    resize(400, 100);

    m_fontBox = new QFontComboBox(this);
    m_fontBox->setObjectName(QStringLiteral("fontBox"));
    m_fontBox->setMaximumSize(200, 50);
    m_fontBox->setFontFilters(QFontComboBox::ScalableFonts);
    m_fontBox->setCurrentFont(font);

    m_sizeBox = new QComboBox(this);
    m_sizeBox->setObjectName(QStringLiteral("sizeBox"));
    m_sizeBox->setMaximumSize(80, 50);
    m_sizeBox->setMinimumHeight(30);
    const QList<int> sizes = QFontDatabase::standardSizes();
    int sizeIndex = 0;
    for (int i = 0; i < sizes.size(); ++i) {
        m_sizeBox->addItem(QString::number(sizes.at(i)));
        if (sizes.at(i) == font.pixelSize() && sizeIndex == 0)
            sizeIndex = i;
    }
    m_sizeBox->setCurrentIndex(sizes.isEmpty() ? -1 : sizeIndex);

    m_colorBox = new QComboBox(this);
    m_colorBox->setObjectName(QStringLiteral("colorBox"));
    m_colorBox->setMaximumSize(80, 50);
    m_colorBox->setMinimumHeight(30);
    m_colorBox->setIconSize(QSize(70, 20));
    m_colorBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const QStringList names = QColor::colorNames();
    int colorIndex = 0;
    for (int i = 0; i < names.size(); ++i) {
        QPixmap swatch(70, 20);
        const QColor c(names.at(i));
        swatch.fill(c);
        m_colorBox->addItem(QIcon(swatch), QString());
        if (c == color)
            colorIndex = i; // the last name with this colour wins
    }
    m_colorBox->setCurrentIndex(names.isEmpty() ? -1 : colorIndex);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Font"), this), 0, 0);
    grid->addWidget(new QLabel(tr("Size"), this), 0, 1);
    grid->addWidget(new QLabel(tr("Color"), this), 0, 2);
    grid->addWidget(m_fontBox, 1, 0);
    grid->addWidget(m_sizeBox, 1, 1);
    grid->addWidget(m_colorBox, 1, 2);

    m_okBtn = new QPushButton(tr("OK"), this);
    m_okBtn->setMaximumSize(80, 50);
    m_okBtn->setMinimumHeight(30);
    m_cancelBtn = new QPushButton(tr("Cancel"), this);
    m_cancelBtn->setMaximumSize(80, 30);
    m_cancelBtn->setMinimumHeight(30);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(m_okBtn, &QPushButton::clicked, this, &MyFontDialog::okBtnClicked);
    connect(m_cancelBtn, &QPushButton::clicked, this, &MyFontDialog::close);
}

void MyFontDialog::okBtnClicked()
{
    QFont f = m_fontBox->currentFont();
    const int pixelSize = m_sizeBox->currentText().toInt();
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    m_font = f;
    const QStringList names = QColor::colorNames();
    const int index = m_colorBox->currentIndex();
    if (index >= 0 && index < names.size())
        m_color = QColor(names.at(index));
    m_accepted = true;
    accept();
}
