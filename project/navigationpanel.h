#ifndef NAVIGATIONPANEL_H
#define NAVIGATIONPANEL_H

#include <cmath>

// What the project record needs of the depth navigation panel. The panel
// widget itself lives in the application shell; the shell registers a
// factory with ProjectInfo::setPanelFactory() before the record is first
// used, so the store never depends on the shell.
class NavigationPanel
{
public:
    virtual ~NavigationPanel() = default;

    // Whole metres shown in the start and end spin boxes.
    virtual void setStartValue(int metres) = 0;
    virtual void setEndValue(int metres) = 0;
    virtual int startValue() const = 0;
    virtual int endValue() const = 0;

    // The current page's start and end depth (depth units). The panel shows
    // the start rounded down and the end rounded up to the precision of its
    // boxes; a panel of whole metres by default.
    virtual void setStartDepth(int depth) { setStartValue(int(std::floor(depth / 10000.0))); }
    virtual void setEndDepth(int depth) { setEndValue(int(std::ceil(depth / 10000.0))); }

    // Page depth in depth units (spin box value x 10 000).
    virtual int pageDepth() const = 0;

    // Low and high end of the "depth range(mm):" text, given as depths.
    virtual void setStartText(int depth) = 0;
    virtual void setEndText(int depth) = 0;

    // Back to "0 --- 0", start 0, end 5, page depth 5.
    virtual void reset() = 0;
};

#endif // NAVIGATIONPANEL_H
