#include "itemstyle.h"
#include "mode.h"

#include <QDebug>

Mode currentMode = Pointer;

ItemStyle *ItemStyle::instance()
{
    static ItemStyle *style = new ItemStyle;
    return style;
}

ItemStyle::ItemStyle()
{
    QFont f(QStringLiteral("Times"), 12, QFont::Normal, false);
    f.setPixelSize(12);
    setFont(f);
}

void ItemStyle::setFont(const QFont &f)
{
    m_font = f;
    qDebug() << "Font name:" << m_font.family() << "point size:" << m_font.pixelSize();
}
