#include "qword.h"

#include "odfpackage.h"
#include "statedsizeimagehandler.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextLayout>
#include <QTextTable>
#include <QThread>
#include <QUrl>
#include <atomic>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

const double kPixelsPerPoint = 96.0 / 72.0;
const double kA4Width = 595.2755905511812;  // points
const double kA4Height = 841.8897637795276;

QString g_officeOverride;
bool g_officeOverridden = false;
std::atomic<int> g_timeoutMs{600000};

double px(double points) { return points * kPixelsPerPoint; }

QString pt(double points) { return QString::number(points, 'f', 4) + QStringLiteral("pt"); }

enum class Format { Odt, Doc, Docx };

Format formatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("odt"))
        return Format::Odt;
    if (suffix == QLatin1String("docx"))
        return Format::Docx;
    return Format::Doc;
}

} // namespace

QWord::QWord(QObject *parent)
    : QObject(parent)
    , m_device(1, 1, QImage::Format_RGB32)
{
    m_device.setDotsPerMeterX(3780);
    m_device.setDotsPerMeterY(3780);
}

QWord::~QWord() = default;

// ---------------------------------------------------------------------------
// The word processor

QString QWord::officeProgram()
{
    if (g_officeOverridden) {
        const QFileInfo info(g_officeOverride);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    for (const QString &name : {QStringLiteral("soffice"), QStringLiteral("libreoffice")}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    const QString packaged = QStringLiteral("/usr/lib/libreoffice/program/soffice");
    return QFileInfo(packaged).isExecutable() ? packaged : QString();
}

void QWord::setOfficeProgram(const QString &path)
{
    g_officeOverride = path;
    g_officeOverridden = !path.isEmpty();
}

void QWord::setConversionTimeout(int ms)
{
    g_timeoutMs = qMax(1, ms);
}

int QWord::conversionTimeout()
{
    return g_timeoutMs;
}

void QWord::addError(const QString &text)
{
    m_strErrorText += text;
    qDebug() << "QWord:" << text;
}

void QWord::OnException(int code, QString source, QString desc, QString help)
{
    Q_UNUSED(help)
    qDebug() << "QWord's exception:" << desc << "(" << source << code << ")";
}

// ---------------------------------------------------------------------------
// Document

bool QWord::openDocument(const QString &fileName)
{
    m_strFileName = fileName;
    if (!fileName.isEmpty() && QFileInfo::exists(fileName) && !m_bReplaceExisting) {
        addError(tr("Error: file already exist!"));
        return false;
    }
    if (fileName.isEmpty()) {
        addError(tr("Error: file name empty"));
        return false;
    }
    m_bIsWord = false;
    if (formatOf(fileName) != Format::Odt) {
        m_strOffice = officeProgram();
        if (m_strOffice.isEmpty()) {
            addError(tr("Error: word not installed!"));
            return false;
        }
        m_bIsWord = true;
    }
    m_pDocument.reset(new QTextDocument);
    m_pDocument->documentLayout()->setPaintDevice(&m_device);
    StatedSizeImageHandler::install(m_pDocument.get());
    m_pDocument->setDocumentMargin(0);
    m_pDocument->setUndoRedoEnabled(false);
    m_selection = QTextCursor(m_pDocument.get());
    m_pTable = nullptr;
    m_bTableSelected = false;
    m_nPictureCount = 0;
    m_typingFormat = QTextCharFormat();
    m_strBaseFontName.clear();
    m_dBaseFontSize = 0.0;
    applyPageSetup();
    return true;
}

void QWord::applyPageSetup()
{
    if (!m_pDocument)
        return;
    const bool landscape = m_nOrientation == 1;
    const double w = landscape ? kA4Height : kA4Width;
    const double h = landscape ? kA4Width : kA4Height;
    m_pDocument->setPageSize(QSizeF(px(w), px(h)));
    QTextFrameFormat root = m_pDocument->rootFrame()->frameFormat();
    root.setTopMargin(px(m_dTopMargin));
    root.setBottomMargin(px(m_dBottomMargin));
    root.setLeftMargin(px(m_dLeftMargin));
    root.setRightMargin(px(m_dRightMargin));
    m_pDocument->rootFrame()->setFrameFormat(root);
}

void QWord::setOrientation(int orientation)
{
    m_nOrientation = orientation == 1 ? 1 : 0;
    applyPageSetup();
}

void QWord::setPageMargins(double top, double bottom, double left, double right)
{
    m_dTopMargin = top;
    m_dBottomMargin = bottom;
    m_dLeftMargin = left;
    m_dRightMargin = right;
    applyPageSetup();
}

void QWord::setLayoutMode(int mode)
{
    m_nLayoutMode = mode;
}

void QWord::setViewType(int type)
{
    if (type >= 1 && type <= 8)
        m_nViewType = type;
}

bool QWord::getPageRect(QRectF &rect) const
{
    if (!m_pDocument)
        return false;
    const bool landscape = m_nOrientation == 1;
    const double w = landscape ? kA4Height : kA4Width;
    const double h = landscape ? kA4Width : kA4Height;
    rect = QRectF(m_dLeftMargin, m_dTopMargin, w - m_dRightMargin - m_dLeftMargin,
                  h - m_dBottomMargin - m_dTopMargin);
    return true;
}

int QWord::pageCount() const
{
    return m_pDocument ? m_pDocument->pageCount() : 0;
}

// ---------------------------------------------------------------------------
// Selection

void QWord::moveToStart()
{
    if (!m_pDocument)
        return;
    m_selection.movePosition(QTextCursor::Start);
    m_bTableSelected = false;
}

void QWord::moveToEnd()
{
    if (!m_pDocument)
        return;
    m_selection.movePosition(QTextCursor::End);
    m_bTableSelected = false;
}

QList<QTextCursor> QWord::selectedRanges() const
{
    QList<QTextCursor> ranges;
    if (!m_pDocument)
        return ranges;
    if (m_bTableSelected && m_pTable) {
        for (int r = 0; r < m_pTable->rows(); ++r) {
            for (int c = 0; c < m_pTable->columns(); ++c) {
                const QTextTableCell cell = m_pTable->cellAt(r, c);
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                ranges << cursor;
            }
        }
    } else {
        ranges << m_selection;
    }
    return ranges;
}

void QWord::setAlignment(int alignment)
{
    Qt::Alignment a = Qt::AlignLeft;
    if (alignment == 1)
        a = Qt::AlignHCenter;
    else if (alignment == 2)
        a = Qt::AlignRight;
    else if (alignment == 3)
        a = Qt::AlignJustify;
    QTextBlockFormat f;
    f.setAlignment(a);
    for (QTextCursor c : selectedRanges())
        c.mergeBlockFormat(f);
}

void QWord::mergeIntoSelection(const QTextCharFormat &f)
{
    for (QTextCursor c : selectedRanges()) {
        c.mergeCharFormat(f);
        c.mergeBlockCharFormat(f);
    }
    // Text typed next takes the format too.
    if (!m_bTableSelected) {
        m_selection.mergeCharFormat(f);
        m_typingFormat.merge(f);
    }
}

void QWord::setFontName(const QString &name)
{
    if (!m_pDocument)
        return;
    QTextCharFormat f;
    f.setFontFamily(name);
    mergeIntoSelection(f);
    // Chosen on the empty document: the document's base font.
    if (m_pDocument->isEmpty() && !m_pTable) {
        m_strBaseFontName = name;
        QFont base = m_pDocument->defaultFont();
        base.setFamily(name);
        m_pDocument->setDefaultFont(base);
    }
}

void QWord::setFontSize(double size)
{
    if (!m_pDocument || size <= 0.0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(size);
    mergeIntoSelection(f);
    if (m_pDocument->isEmpty() && !m_pTable) {
        m_dBaseFontSize = size;
        QFont base = m_pDocument->defaultFont();
        base.setPointSizeF(size);
        m_pDocument->setDefaultFont(base);
    }
}

void QWord::setLineSpacing(double value)
{
    if (!m_pDocument)
        return;
    QTextBlockFormat f;
    f.setTopMargin(0);
    f.setBottomMargin(0);
    f.setLineHeight(px(value), QTextBlockFormat::MinimumHeight);
    for (QTextCursor c : selectedRanges())
        c.mergeBlockFormat(f);
}

// ---------------------------------------------------------------------------
// Tables

bool QWord::addTable(int rows, int columns)
{
    if (!m_pDocument || rows < 1 || columns < 1)
        return false;
    m_bTableSelected = false;
    m_selection.clearSelection();
    // A table put at an empty paragraph takes its place. Qt's model keeps a
    // paragraph before a table, so that one is made as low as it can be: a
    // zero-width space of 1 point (a written line height would be lost in
    // the OpenDocument file).
    int spacer = -1;
    if (m_selection.block().length() <= 1) {
        spacer = m_selection.block().position();
        QTextBlockFormat low = m_selection.blockFormat();
        low.setTopMargin(0);
        low.setBottomMargin(0);
        low.clearProperty(QTextFormat::LineHeight);
        low.clearProperty(QTextFormat::LineHeightType);
        m_selection.setBlockFormat(low);
    }
    QTextTableFormat f;
    f.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QVector<QTextLength> widths;
    for (int c = 0; c < columns; ++c)
        widths << QTextLength(QTextLength::PercentageLength, 100.0 / columns);
    f.setColumnWidthConstraints(widths);
    f.setBorder(px(0.5));
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.setBorderBrush(Qt::black);
    f.setBorderCollapse(true);
    f.setCellSpacing(0);
    f.setCellPadding(0);
    m_pTable = m_selection.insertTable(rows, columns, f);
    if (!m_pTable)
        return false;
    if (spacer >= 0) {
        QTextCursor low(m_pDocument.get());
        low.setPosition(spacer);
        QTextCharFormat tiny = m_typingFormat;
        tiny.setFontPointSize(1.0);
        low.insertText(QString(QChar(0x200B)), tiny);
    }
    // Cells take the formatting of the paragraph the table was put at and
    // leave 0.19 cm left and right, as a word processor's do.
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            QTextCursor cell = m_pTable->cellAt(r, c).firstCursorPosition();
            cell.setBlockCharFormat(m_typingFormat);
            cell.setCharFormat(m_typingFormat);
        }
    }
    QTextCursor after(m_pTable->lastCursorPosition());
    after.movePosition(QTextCursor::NextBlock);
    if (after.block().length() <= 1)
        after.setBlockCharFormat(m_typingFormat);
    setCellPadding(5.4, 0, 5.4, 0);
    m_selection = m_pTable->cellAt(0, 0).firstCursorPosition();
    return true;
}

void QWord::clearTableBorders()
{
    if (!m_pTable)
        return;
    QTextTableFormat f = m_pTable->format();
    f.setBorder(0);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_None);
    m_pTable->setFormat(f);
}

void QWord::setCellPadding(double left, double top, double right, double bottom)
{
    if (!m_pTable)
        return;
    for (int r = 0; r < m_pTable->rows(); ++r) {
        for (int c = 0; c < m_pTable->columns(); ++c) {
            QTextTableCell cell = m_pTable->cellAt(r, c);
            QTextTableCellFormat f = cell.format().toTableCellFormat();
            f.setLeftPadding(px(left));
            f.setTopPadding(px(top));
            f.setRightPadding(px(right));
            f.setBottomPadding(px(bottom));
            cell.setFormat(f);
        }
    }
}

void QWord::setTableSpacing(double spacing)
{
    if (!m_pTable)
        return;
    QTextTableFormat f = m_pTable->format();
    f.setCellSpacing(px(spacing));
    m_pTable->setFormat(f);
}

void QWord::selectTable()
{
    if (!m_pTable)
        return;
    m_selection = m_pTable->cellAt(0, 0).firstCursorPosition();
    m_selection.setPosition(m_pTable->lastPosition(), QTextCursor::KeepAnchor);
    m_bTableSelected = true;
}

QTextCursor QWord::cellCursor(int row, int column) const
{
    if (!m_pTable || row < 1 || column < 1 || row > m_pTable->rows() || column > m_pTable->columns())
        return QTextCursor();
    const QTextTableCell cell = m_pTable->cellAt(row - 1, column - 1);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return c;
}

void QWord::setCellText(int row, int column, const QString &text)
{
    QTextCursor c = cellCursor(row, column);
    if (c.isNull())
        return;
    const QTextCharFormat format = c.block().charFormat();
    c.removeSelectedText();
    c.insertText(text, format);
}

void QWord::addCellPicture(int row, int column, const QString &file)
{
    QTextCursor c = cellCursor(row, column);
    if (c.isNull())
        return;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        OnException(0, file, tr("The picture could not be read."), QString());
        return;
    }
    const QByteArray bytes = in.readAll();
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize size = QImageReader(&buffer).size();
    if (!size.isValid()) {
        OnException(0, file, tr("The picture could not be read."), QString());
        return;
    }
    // The document keeps the picture itself, under a name of its own.
    const QString name = QStringLiteral("picture%1").arg(++m_nPictureCount);
    m_pDocument->addResource(QTextDocument::ImageResource, QUrl(name), bytes);
    QTextImageFormat image;
    image.setName(name);
    image.setWidth(size.width());
    image.setHeight(size.height());
    c.clearSelection();
    c.movePosition(QTextCursor::EndOfBlock);
    c.insertImage(image);
}

// ---------------------------------------------------------------------------
// Typing

void QWord::typeParagraph()
{
    if (!m_pDocument)
        return;
    m_bTableSelected = false;
    m_selection.removeSelectedText();
    // The new paragraph keeps the paragraph's formatting, not its break or
    // the height of a place-holder paragraph.
    QTextBlockFormat f = m_selection.blockFormat();
    f.clearProperty(QTextFormat::PageBreakPolicy);
    m_selection.insertBlock(f, m_typingFormat);
}

void QWord::typeBackspace()
{
    if (!m_pDocument)
        return;
    m_bTableSelected = false;
    if (m_selection.hasSelection())
        m_selection.removeSelectedText();
    else
        m_selection.deletePreviousChar();
}

void QWord::insertBreak(int type)
{
    if (!m_pDocument)
        return;
    m_bTableSelected = false;
    m_selection.removeSelectedText();
    if (type == 6) {
        m_selection.insertText(QString(QChar::LineSeparator));
        return;
    }
    // What follows the break starts the next page: an empty paragraph is
    // moved there itself, otherwise a new one starts there.
    QTextBlockFormat f = m_selection.blockFormat();
    f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (m_selection.block().length() <= 1)
        m_selection.setBlockFormat(f);
    else
        m_selection.insertBlock(f, m_typingFormat);
}

int QWord::currentPageNumber() const
{
    if (!m_pDocument)
        return -1;
    const int pos = m_selection.selectionEnd();
    const QTextBlock block = m_pDocument->findBlock(pos);
    if (!block.isValid())
        return -1;
    const QRectF bounds = m_pDocument->documentLayout()->blockBoundingRect(block);
    double y = bounds.top() + bounds.height() / 2.0;
    if (const QTextLayout *layout = block.layout()) {
        const QTextLine line = layout->lineForTextPosition(pos - block.position());
        if (line.isValid())
            y = bounds.top() + line.y() + line.height() / 2.0;
    }
    const double pageHeight = m_pDocument->pageSize().height();
    return pageHeight > 0 ? int(y / pageHeight) + 1 : 1;
}

// ---------------------------------------------------------------------------
// Saving

QByteArray QWord::stylesXml() const
{
    const bool landscape = m_nOrientation == 1;
    const double w = landscape ? kA4Height : kA4Width;
    const double h = landscape ? kA4Width : kA4Height;
    QString fontDecl;
    QString fontProps;
    if (!m_strBaseFontName.isEmpty()) {
        const QString name = m_strBaseFontName.toHtmlEscaped();
        fontDecl = QStringLiteral("<office:font-face-decls><style:font-face style:name=\"%1\" "
                                  "svg:font-family=\"'%1'\"/></office:font-face-decls>")
                       .arg(name);
        fontProps += QStringLiteral(" style:font-name=\"%1\" style:font-name-asian=\"%1\" "
                                    "style:font-name-complex=\"%1\"")
                         .arg(name);
    }
    if (m_dBaseFontSize > 0.0) {
        fontProps += QStringLiteral(" fo:font-size=\"%1\" style:font-size-asian=\"%1\" "
                                    "style:font-size-complex=\"%1\"")
                         .arg(pt(m_dBaseFontSize));
    }
    const QString xml = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<office:document-styles xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
        "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
        "xmlns:fo=\"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0\" "
        "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\" office:version=\"1.2\">\n"
        "%1\n"
        "<office:styles><style:default-style style:family=\"paragraph\">"
        "<style:paragraph-properties fo:margin-top=\"0pt\" fo:margin-bottom=\"0pt\"/>"
        "<style:text-properties%2/></style:default-style></office:styles>\n"
        "<office:automatic-styles><style:page-layout style:name=\"pm1\">"
        "<style:page-layout-properties fo:page-width=\"%3\" fo:page-height=\"%4\" "
        "style:print-orientation=\"%5\" fo:margin-top=\"%6\" fo:margin-bottom=\"%7\" "
        "fo:margin-left=\"%8\" fo:margin-right=\"%9\"/></style:page-layout></office:automatic-styles>\n"
        "<office:master-styles><style:master-page style:name=\"Standard\" style:page-layout-name=\"pm1\"/>"
        "</office:master-styles>\n"
        "</office:document-styles>\n")
        .arg(fontDecl, fontProps, pt(w), pt(h), landscape ? QStringLiteral("landscape") : QStringLiteral("portrait"),
             pt(m_dTopMargin), pt(m_dBottomMargin), pt(m_dLeftMargin), pt(m_dRightMargin));
    return xml.toUtf8();
}

bool QWord::closeDocument(bool save)
{
    if (!m_pDocument)
        return false;
    const bool saved = !save || m_strFileName.isEmpty() || this->save();
    m_pTable = nullptr;
    m_selection = QTextCursor();
    m_bTableSelected = false;
    m_pDocument.reset();
    return saved;
}

bool QWord::save()
{
    QByteArray odt;
    {
        QBuffer buffer(&odt);
        buffer.open(QIODevice::WriteOnly);
        QTextDocumentWriter writer(&buffer, "odf");
        if (!writer.write(m_pDocument.get()) || !OdfPackage::addStyles(odt, stylesXml())) {
            addError(tr("Error: the document could not be written!"));
            return false;
        }
    }
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/kora-word-XXXXXX"));
    const QString source = work.filePath(QStringLiteral("report.odt"));
    QFile out(source);
    if (!work.isValid() || !out.open(QIODevice::WriteOnly) || out.write(odt) != odt.size() || !out.flush()) {
        addError(tr("Error: the document could not be written!"));
        return false;
    }
    out.close();
    odt.clear();

    const Format format = formatOf(m_strFileName);
    QString result = source;
    if (format != Format::Odt
        && !convert(source, format == Format::Docx ? QStringLiteral("docx:MS Word 2007 XML")
                                                   : QStringLiteral("doc:MS Word 97"),
                    &result))
        return false;
    return putInPlace(result);
}

bool QWord::convert(const QString &odt, const QString &filter, QString *result)
{
    const QFileInfo info(odt);
    const QString dir = info.absolutePath();
    const QString outDir = dir + QStringLiteral("/out");
    QDir().mkpath(outDir);
    QStringList args{QStringLiteral("-env:UserInstallation=")
                         + QUrl::fromLocalFile(dir + QStringLiteral("/profile")).toString(),
                     QStringLiteral("--headless"),
                     QStringLiteral("--norestore"),
                     QStringLiteral("--nologo"),
                     QStringLiteral("--nolockcheck"),
                     QStringLiteral("--convert-to"),
                     filter,
                     QStringLiteral("--outdir"),
                     outDir,
                     odt};
    // In a session of its own, so that a conversion that hangs is ended with
    // every process it started.
    QString program = m_strOffice;
    const QString setsid = QStandardPaths::findExecutable(QStringLiteral("setsid"));
    if (!setsid.isEmpty()) {
        args.prepend(program);
        program = setsid;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForStarted(30000)) {
        addError(tr("Error: the word processor could not be started!"));
        return false;
    }
    const qint64 pid = process.processId();
    QElapsedTimer timer;
    timer.start();
    const int timeout = conversionTimeout();
    bool stopped = false;
    while (!process.waitForFinished(100)) {
        const bool interrupted = QThread::currentThread()->isInterruptionRequested();
        if (interrupted || timer.elapsed() > timeout) {
            stopped = true;
            if (!setsid.isEmpty() && pid > 0)
                ::kill(-pid_t(pid), SIGKILL);
            process.kill();
            process.waitForFinished(5000);
            addError(interrupted ? tr("Error: the conversion was stopped!")
                                 : tr("Error: the word processor did not finish in time!"));
            break;
        }
    }
    const QByteArray output = process.readAll();
    if (stopped)
        return false;
    const QString suffix = filter.section(QLatin1Char(':'), 0, 0);
    *result = outDir + QLatin1Char('/') + info.completeBaseName() + QLatin1Char('.') + suffix;
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0
        || QFileInfo(*result).size() <= 0) {
        OnException(process.exitCode(), m_strOffice, QString::fromLocal8Bit(output), QString());
        addError(tr("Error: the word processor could not convert the document!"));
        return false;
    }
    return true;
}

bool QWord::putInPlace(const QString &source)
{
    QFile in(source);
    QSaveFile target(m_strFileName);
    bool ok = in.open(QIODevice::ReadOnly) && target.open(QIODevice::WriteOnly);
    while (ok && !in.atEnd()) {
        const QByteArray chunk = in.read(1 << 20);
        ok = !chunk.isEmpty() && target.write(chunk) == chunk.size();
    }
    if (ok)
        ok = target.commit();
    else
        target.cancelWriting();
    if (!ok)
        addError(tr("Error: the document could not be written!"));
    return ok;
}
