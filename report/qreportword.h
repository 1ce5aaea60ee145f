#ifndef QREPORTWORD_H
#define QREPORTWORD_H

#include "qreportbuilder.h"

#include <QString>

class QWord;

// Writes the report as a word-processor document: per page a borderless
// table whose cells hold the block pictures, under the two header tables
// when the header is on. The name's suffix chooses the format: ".doc" (also
// given to a name without suffix), ".docx" or ".odt" (see QWord).
//
// An existing file of the chosen name is replaced only by a complete report.
class QReportWord : public QReportBuilder
{
    Q_OBJECT

public:
    using QReportBuilder::QReportBuilder;
    ~QReportWord() override;

    // Page number the document has reached.
    int pageCount() const { return m_nPageCount; }
    // Temporary picture of ring entry i (0 to 9); empty while unused.
    QString ringFile(int i) const { return (i >= 0 && i < 10) ? m_strTempFiles[i] : QString(); }

public slots:
    void placeBlock(const QImage &block) override;
    void initLayout() override;
    void drawHeader() override;
    void newPage() override;
    bool beginOutput() override;
    void endOutput() override;

protected:
    // The document being made (between beginOutput and endOutput).
    QWord *word() const { return m_pWord; }

private:
    // Borders kept, lines tight, the report's font.
    void formatHeaderTable();

    int m_nPageCount = 1;
    QWord *m_pWord = nullptr;
    QString m_strTempFiles[10];
};

#endif // QREPORTWORD_H
