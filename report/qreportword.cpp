#include "qreportword.h"

#include "qword.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace {
const QString kFontName = QStringLiteral("Microsoft YaHei");
const double kFontSize = 10.5;
} // namespace

QReportWord::~QReportWord()
{
    delete m_pWord;
}

bool QReportWord::beginOutput()
{
    m_nPageCount = 1;
    if (!m_strFileName.isEmpty() && QFileInfo(m_strFileName).suffix().isEmpty())
        m_strFileName += tr(".doc");

    delete m_pWord;
    m_pWord = new QWord;
    // Replacing an existing report was agreed to in the file dialog; the new
    // one takes its place only once it is complete.
    m_pWord->setReplaceExisting(true);
    if (!m_pWord->openDocument(m_strFileName)) {
        // The box is raised on the GUI thread from the failure the export
        // thread reports.
        fail(m_pWord->errorText());
        delete m_pWord;
        m_pWord = nullptr;
        return false;
    }
    m_pWord->setOrientation(0);
    m_pWord->setPageMargins(72, 72, 54, 54);
    m_pWord->setLayoutMode(0);
    m_pWord->setViewType(3);
    m_pWord->moveToStart();
    m_pWord->setAlignment(0);
    m_pWord->setFontName(kFontName);
    m_pWord->setFontSize(kFontSize);
    return true;
}

void QReportWord::initLayout()
{
    m_layout.reset();
    QRectF printable;
    if (m_pWord && m_pWord->getPageRect(printable)) {
        // The document measures pictures in pixels of 96 per inch whatever
        // the screen, so blocks are laid out in those pixels.
        const double k = 96.0 / 72.0;
        m_layout.setDeviceScaleX(1.0);
        m_layout.setDeviceScaleY(1.0);
        m_layout.setPageWidth(k * printable.width());
        m_layout.setPageHeight(k * printable.height());
        m_layout.setRowUnit(k * printable.height() / 44.0);
        m_layout.setImageGap(k * 0.7);
    }
    QReportBuilder::initLayout();
}

void QReportWord::formatHeaderTable()
{
    m_pWord->selectTable();
    m_pWord->setLineSpacing(0.7);
    m_pWord->setFontName(kFontName);
    m_pWord->setFontSize(kFontSize);
}

void QReportWord::drawHeader()
{
    if (!m_pWord)
        return;
    const QStringList texts = headerTexts();
    m_pWord->addTable(1, 2);
    formatHeaderTable();
    m_pWord->setCellText(1, 1, texts.value(0));
    m_pWord->setCellText(1, 2, texts.value(1));

    m_pWord->moveToEnd();
    m_pWord->addTable(3, 3);
    formatHeaderTable();
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            m_pWord->setCellText(r + 1, c + 1, texts.value(2 + r * 3 + c));
    }

    m_pWord->moveToEnd();
    m_pWord->typeParagraph();
    m_layout.setPosY(m_nHeaderHeight);
}

void QReportWord::placeBlock(const QImage &block)
{
    if (m_pWord) {
        if (m_nRowIndex == 0 && m_nColumnIndex == 0) {
            m_pWord->addTable(m_nImgsNumPerPage, m_nColumns);
            m_pWord->clearTableBorders();
            m_pWord->setCellPadding(0, 0, 0, 0);
            m_pWord->setTableSpacing(0);
            m_pWord->selectTable();
            m_pWord->setLineSpacing(0.7);
        }
        // Ten temporary pictures in turn; the document has taken a picture
        // in long before its file is written again.
        const int i = m_nImgCount % 10;
        const QString file = m_strTempDir + tr("/temp_%1.jpg").arg(i + 1);
        m_strTempFiles[i] = file;
        if (QFile::exists(file))
            QFile::remove(file);
        if (block.save(file, "JPG"))
            m_pWord->addCellPicture(m_nRowIndex + 1, m_nColumnIndex + 1, file);
        else
            fail(tr("A temporary image of the report could not be written."));
    }
    QReportBuilder::placeBlock(block);
}

void QReportWord::newPage()
{
    if (!m_pWord)
        return;
    m_pWord->moveToEnd();
    int p = m_pWord->currentPageNumber();
    if (p == m_nPageCount) {
        m_pWord->typeParagraph();
        const int q = m_pWord->currentPageNumber();
        if (q == p) {
            m_pWord->typeBackspace();
            m_pWord->insertBreak(7);
            qDebug() << "InsertBreak";
            p += 1;
        } else {
            p = q;
        }
    }
    m_nPageCount = p;
}

void QReportWord::endOutput()
{
    if (m_pWord) {
        // A report that failed or was stopped leaves no file behind.
        if (!m_strError.isEmpty()) {
            m_pWord->closeDocument(false);
        } else if (!m_pWord->closeDocument()) {
            fail(m_pWord->errorText());
        }
        delete m_pWord;
        m_pWord = nullptr;
    }
    for (QString &file : m_strTempFiles) {
        if (!file.isEmpty() && QFile::exists(file))
            QFile::remove(file);
    }
}
