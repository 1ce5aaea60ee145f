#ifndef REPORTPAGELAYOUT_H
#define REPORTPAGELAYOUT_H

// Page geometry of a report and the position of the next block, in device
// pixels of the output. The defaults describe an A4 page at 96 dots per inch.
class ReportPageLayout
{
public:
    // Back to the defaults.
    void reset() { *this = ReportPageLayout(); }

    // Output pixels per screen pixel; 1.0 while the stored value is ~0.
    double deviceScaleX() const { return qAbsLike(m_deviceScaleX) < 0.00001 ? 1.0 : m_deviceScaleX; }
    void setDeviceScaleX(double v) { m_deviceScaleX = v; }
    double deviceScaleY() const { return qAbsLike(m_deviceScaleY) < 0.00001 ? 1.0 : m_deviceScaleY; }
    void setDeviceScaleY(double v) { m_deviceScaleY = v; }
    double pageHeight() const { return m_pageHeight; }
    void setPageHeight(double v) { m_pageHeight = v; }
    double pageWidth() const { return m_pageWidth; }
    void setPageWidth(double v) { m_pageWidth = v; }
    double columnWidth() const { return m_columnWidth; }
    void setColumnWidth(double v) { m_columnWidth = v; }
    double usableHeight() const { return m_usableHeight; }
    void setUsableHeight(double v) { m_usableHeight = v; }
    // Unit of the header rows and of the bottom reserve: page height / 44.
    double rowUnit() const { return m_rowUnit; }
    void setRowUnit(double v) { m_rowUnit = v; }
    int posX() const { return m_posX; }
    void setPosX(int v) { m_posX = v; }
    int posY() const { return m_posY; }
    void setPosY(int v) { m_posY = v; }
    double imageGap() const { return m_imageGap; }
    // Negative gaps are ignored.
    void setImageGap(double v)
    {
        if (v >= 0.0)
            m_imageGap = v;
    }

private:
    static double qAbsLike(double v) { return v < 0.0 ? -v : v; }

    double m_deviceScaleX = 1.0;
    double m_deviceScaleY = 1.0;
    double m_pageHeight = 1122.5196850393702;
    double m_pageWidth = 793.7007874015749;
    double m_columnWidth = 793.7007874015749;
    double m_usableHeight = 1122.5196850393702;
    double m_rowUnit = 25.511811023622048;
    int m_posX = 0;
    int m_posY = 0;
    double m_imageGap = 16.0;
};

#endif // REPORTPAGELAYOUT_H
