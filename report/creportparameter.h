#ifndef CREPORTPARAMETER_H
#define CREPORTPARAMETER_H

#include <QMetaType>

// Settings of one report export, kept by the main window between exports and
// passed by value (also through queued signals). Depths are in metres.
class CReportParameter
{
public:
    CReportParameter();

    float fromDepth() const { return m_fromDepth; }
    void setFromDepth(float v) { m_fromDepth = v; }
    float toDepth() const { return m_toDepth; }
    void setToDepth(float v) { m_toDepth = v; }
    int columnsPerPage() const { return m_columnsPerPage; }
    void setColumnsPerPage(int v) { m_columnsPerPage = v; }
    // 0 word-processor document, 1 PDF file, 2 print preview
    int exportFormat() const { return m_exportFormat; }
    void setExportFormat(int v) { m_exportFormat = v; }
    int gridCellWidth() const { return m_gridCellWidth; }
    void setGridCellWidth(int v) { m_gridCellWidth = v; }
    int gridCellHeight() const { return m_gridCellHeight; }
    void setGridCellHeight(int v) { m_gridCellHeight = v; }
    float depthOffset() const { return m_depthOffset; }
    void setDepthOffset(float v) { m_depthOffset = v; }
    float depthStep() const { return m_depthStep; }
    void setDepthStep(float v) { m_depthStep = v; }
    int reservedValue() const { return m_reservedValue; }
    void setReservedValue(int v) { m_reservedValue = v; }
    bool withHeader() const { return m_withHeader; }
    void setWithHeader(bool v) { m_withHeader = v; }
    bool withGridLines() const { return m_withGridLines; }
    void setWithGridLines(bool v) { m_withGridLines = v; }
    // A PDF report ends with a page of the stereonet and rose of its range.
    bool withStructures() const { return m_withStructures; }
    void setWithStructures(bool v) { m_withStructures = v; }

    // A PDF report draws the fracture-frequency track (picks per metre)
    // beside each block, over windows of frequencyWindow metres, Terzaghi-
    // weighted when asked.
    bool withFrequency() const { return m_withFrequency; }
    void setWithFrequency(bool v) { m_withFrequency = v; }
    double frequencyWindow() const { return m_frequencyWindow; }
    void setFrequencyWindow(double v) { m_frequencyWindow = v; }
    bool frequencyTerzaghi() const { return m_frequencyTerzaghi; }
    void setFrequencyTerzaghi(bool v) { m_frequencyTerzaghi = v; }

private:
    float m_fromDepth = 0.0f;
    float m_toDepth = 1.0f;
    int m_columnsPerPage = 2;
    int m_exportFormat = 0;
    int m_gridCellWidth = 10;
    int m_gridCellHeight = 10;
    float m_depthOffset = 0.0f;
    float m_depthStep = 1.0f;
    int m_reservedValue = 0;
    bool m_withHeader = false;
    bool m_withGridLines = false;
    bool m_withStructures = false;
    bool m_withFrequency = false;
    double m_frequencyWindow = 1.0;
    bool m_frequencyTerzaghi = false;
};

Q_DECLARE_METATYPE(CReportParameter)

#endif // CREPORTPARAMETER_H
