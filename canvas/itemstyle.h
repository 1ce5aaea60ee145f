#ifndef ITEMSTYLE_H
#define ITEMSTYLE_H

#include <QColor>
#include <QFont>
#include <QSize>

// The process-wide drawing style shared by the tool bar, the scene and the
// items. Created on first use, never replaced.
class ItemStyle
{
public:
    static ItemStyle *instance();

    QColor color() const { return m_color; }
    void setColor(const QColor &c) { m_color = c; }
    int lineWidth() const { return m_lineWidth; }
    void setLineWidth(int w) { m_lineWidth = w; }
    bool drawing() const { return m_drawing; }
    void setDrawing(bool d) { m_drawing = d; }
    QFont font() const { return m_font; }
    void setFont(const QFont &f); // logs "Font name:" ... "point size:" ...
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &c) { m_textColor = c; }
    // Grid cell in grid steps (millimetres) across and along the hole.
    QSize gridSize() const { return m_gridSize; }
    void setGridSize(const QSize &s) { m_gridSize = s; }
    void setGridSize(int w, int h) { m_gridSize = QSize(w, h); }
    bool gridVisible() const { return m_gridVisible; }
    void setGridVisible(bool v) { m_gridVisible = v; }
    double zoom() const { return m_zoom; }
    void setZoom(double z) { m_zoom = z; }

private:
    ItemStyle();

    QColor m_color = Qt::black;
    int m_lineWidth = 8;
    bool m_drawing = false;
    QFont m_font;
    QColor m_textColor = Qt::black;
    QSize m_gridSize = QSize(10, 10);
    bool m_gridVisible = false;
    double m_zoom = 1.0;
};

#endif // ITEMSTYLE_H
