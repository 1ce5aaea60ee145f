#ifndef MOUSELABEL_H
#define MOUSELABEL_H

#include <QLabel>
#include <QString>
#include <QStringList>

// The permanent status-bar read-out of depth and azimuth under the cursor.
// One instance per process, created on first use.
class MouseLabel : public QLabel
{
    Q_OBJECT
public:
    static MouseLabel *instance();

    // Shows the position: scene column x, depth in depth units and the width
    // of the page image in pixels.
    void showPosition(int x, int depth, int width);
    // Shows nothing: no project, or a new one not yet under the cursor.
    void clearPosition();

    // Width of the page image in pixels, as last shown.
    int widthPx() const { return m_widthPx; }
    void setWidthPx(int widthPx) { m_widthPx = widthPx; }

    // Pieces of the read-out for a column inside the image (x - 1300) and an
    // image width w.
    QString directionText(int column, int w) const;
    static int azimuth(int column, int w);
    static QString depthText(int depth);

    const QStringList quadrantNames;

private:
    MouseLabel();

    QString m_depthText;
    QString m_directionText;
    QString m_azimuthText;
    int m_widthPx = 400;
};

#endif // MOUSELABEL_H
