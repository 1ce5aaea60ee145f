#include "qreportbuilder.h"

#include "depthmodel.h"
#include "graphicsfrequencytrackitem.h"
#include "qgraphicsgridlineitem.h"
#include "qquerybigimages.h"
#include "reportleftovers.h"
#include "structurepickstore.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// Room between a wall picture and its frequency track, block pixels.
constexpr int kTrackGap = 6;

// Block pictures are measured at 96 pixels per inch, the resolution of a
// QImage; fonts are measured on one.
QImage measuringDevice()
{
    return QImage(1, 1, QImage::Format_RGB32);
}

// Width of the widest of texts in the label font of the given size, block
// pixels.
double widestLabel(const QStringList &texts, double pointSize)
{
    QImage device = measuringDevice();
    const QFontMetricsF fm(QReportBuilder::labelFont(pointSize), &device);
    double w = 0.0;
    for (const QString &text : texts)
        w = qMax(w, fm.horizontalAdvance(text));
    return w;
}
} // namespace

std::atomic<int> QReportBuilder::s_blockPauseMs{0};

QReportBuilder::QReportBuilder(const ReportJob &job, QObject *parent)
    : QObject(parent)
    , m_strDbPath(job.dbPath)
    , m_fStartDepth(job.parameter.fromDepth())
    , m_fEndDepth(job.parameter.toDepth())
    , m_nColumns(qBound(1, job.parameter.columnsPerPage(), 4))
    , m_nFormat(job.parameter.exportFormat())
    , m_nGridCellWidth(job.parameter.gridCellWidth())
    , m_nGridCellHeight(job.parameter.gridCellHeight())
    , m_fDepthOffset(job.parameter.depthOffset())
    , m_fDepthStep(job.parameter.depthStep())
    , m_nReserved(job.parameter.reservedValue())
    , m_bWithHeader(job.parameter.withHeader())
    , m_bWithGridLines(job.parameter.withGridLines())
{
    // Temporary block images go to a folder of this report alone, removed
    // with the builder whatever the outcome (and, after a kill, by the next
    // export or start-up).
    ReportLeftovers::removeStale();
    m_tempDir.reset(new QTemporaryDir(ReportLeftovers::folderTemplate()));
    m_strTempDir = m_tempDir->isValid() ? m_tempDir->path() : QDir::tempPath();
    m_facts = ReportProjectFacts::fromProject();
    m_pDialogParent = qobject_cast<QWidget *>(parent);
    if (job.parameter.withFrequency() && m_nFormat == 1) {
        m_bFrequency = true;
        m_dFrequencyWindow = job.parameter.frequencyWindow() > 0.0 ? job.parameter.frequencyWindow() : 1.0;
        m_bFrequencyTerzaghi = job.parameter.frequencyTerzaghi();
        // Read here, on the thread that makes the builder; the export thread
        // only counts and draws them.
        m_frequencyPicks = StructurePickStore(m_strDbPath)
                               .picks(std::floor(m_fStartDepth) * 10000.0, std::ceil(m_fEndDepth) * 10000.0);
    }
}

QReportBuilder::~QReportBuilder() = default;

void QReportBuilder::setBlockPause(int ms)
{
    s_blockPauseMs = qMax(0, ms);
}

int QReportBuilder::blockPause()
{
    return s_blockPauseMs;
}

int QReportBuilder::stepUnits(float depthStep)
{
    const float hundredths = depthStep * 100.0f;
    const int up = int(std::ceil(hundredths)) * 100;
    const int down = int(std::floor(hundredths)) * 100;
    const double exact = double(depthStep) * 10000.0;
    return std::fabs(up - exact) < std::fabs(exact - down) ? up : down;
}

QString QReportBuilder::layoutProblem(const ReportProjectFacts &facts, float depthStep)
{
    const int step = stepUnits(depthStep);
    if (facts.imageWidth <= 0 || !(facts.pixelsPerUnit > 0.0) || step <= 0 || int(step * facts.pixelsPerUnit) <= 0)
        return tr("The report cannot be laid out: the project has no image width or no borehole "
                  "diameter, or the depth step is 0.");
    return QString();
}

void QReportBuilder::fail(const QString &text)
{
    if (m_strError.isEmpty())
        m_strError = text;
    qDebug() << "Report failed:" << text;
}

// ---------------------------------------------------------------------------
// Generation

void QReportBuilder::generate()
{
    m_bSucceeded = false;
    m_strError.clear();
    m_bNewPagePending = false;
    if (!openDatabase()) {
        closeDatabase();
        fail(tr("The project file could not be opened for the report."));
        return;
    }
    if (beginOutput()) {
        initLayout();
        runQuery();
        endOutput();
    } else {
        fail(tr("The report file could not be created."));
    }
    closeDatabase();
    m_bSucceeded = m_strError.isEmpty();
}

bool QReportBuilder::openDatabase()
{
    m_pQuery = new QQueryBigImages;
    m_pQuery->open(m_strDbPath);
    if (!m_pQuery->isOpen())
        return false;
    connect(m_pQuery, &QQueryBigImages::ProgressingPiece, this, &QReportBuilder::OnProgressingPiece,
            Qt::DirectConnection);
    return true;
}

void QReportBuilder::closeDatabase()
{
    if (!m_pQuery)
        return;
    qDebug() << "closeDatabase......";
    m_pQuery->close();
    delete m_pQuery;
    m_pQuery = nullptr;
}

void QReportBuilder::runQuery()
{
    m_nImgCount = 0;
    // The report starts and ends where it was asked to, within the wall of
    // the project: the labels of a block start where its wall starts.
    const int from = std::max(int(std::lround(double(m_fStartDepth) * 10000.0)), m_facts.start);
    m_nReportEnd = std::min(int(std::lround(double(m_fEndDepth) * 10000.0)), m_facts.maxDepth);
    m_nLastDepth = from;
    if (!m_pQuery || !m_pQuery->isOpen() || m_nReportEnd <= from)
        return;

    const int step = stepUnits(m_fDepthStep);
    const double stepPixels = step * m_facts.pixelsPerUnit;
    const QString problem = layoutProblem(m_facts, m_fDepthStep);
    if (!problem.isEmpty() || !setImageSize(m_facts.imageWidth, int(stepPixels))) {
        fail(problem.isEmpty() ? layoutProblem(ReportProjectFacts(), 0.0f) : problem);
        return;
    }
    if (m_fEndDepth != 0.0f)
        emit signalImagesCount(int((qint64(m_nReportEnd) - from + step - 1) / step));
    m_nBlockEnd = std::min(from + step, m_nReportEnd);
    startBlock();
    m_pQuery->queryPieces(from, m_nReportEnd, m_facts.start, m_nImgWidth);
    // Pieces that ended early leave their blocks white.
    while (m_nLastDepth < m_nReportEnd && !m_bStopRequested)
        finishBlock();
    m_blockWall = QImage();
    if (m_bStopRequested)
        fail(tr("The report was stopped."));
}

void QReportBuilder::startBlock()
{
    const int step = stepUnits(m_fDepthStep);
    const int rows = step > 0 ? int(qint64(m_nBlockEnd - m_nLastDepth) * m_nImgHeight / step) : 0;
    m_blockWall = QImage(m_nImgWidth, std::max(1, rows), QImage::Format_RGB32);
    m_blockWall.fill(Qt::white);
}

void QReportBuilder::finishBlock()
{
    processBlock(m_blockWall, m_nBlockEnd);
    m_fStartDepth += m_fDepthStep;
    m_nLastDepth = m_nBlockEnd;
    m_nBlockEnd = std::min(m_nLastDepth + stepUnits(m_fDepthStep), m_nReportEnd);
    startBlock();
}

void QReportBuilder::OnProgressingPiece(KdImage piece)
{
    if (piece.image().isNull()) {
        qDebug() << "Report: the piece from" << piece.startDepth() / 10000.0 << "m to" << piece.endDepth() / 10000.0
                 << "m could not be decoded; its span is left white";
    }
    const double rowsPerUnit = double(m_nImgHeight) / stepUnits(m_fDepthStep);
    while (!m_bStopRequested && m_nLastDepth < m_nReportEnd && piece.endDepth() > m_nLastDepth) {
        int row = 0;
        const QImage part = DepthModel::sample(piece, m_nLastDepth, m_nBlockEnd, m_nLastDepth, rowsPerUnit,
                                               m_nImgWidth, &row);
        if (!part.isNull()) {
            QPainter painter(&m_blockWall);
            painter.drawImage(0, row, part);
        }
        if (piece.endDepth() < m_nBlockEnd)
            break;
        finishBlock();
    }
}

bool QReportBuilder::setImageSize(int imageWidth, int stepPixels)
{
    m_nImgsNumPerPage = 1;
    if (imageWidth <= 0 || stepPixels <= 0)
        return false;
    const double availableHeight = int(m_layout.usableHeight()) / m_layout.deviceScaleY() - 20.0;
    fitLabels();
    const double availableWidth = m_layout.columnWidth() / m_layout.deviceScaleX() - m_nScaleBand - m_nTrackBand;
    if (availableHeight <= 0.0 || availableWidth <= 0.0)
        return false;
    const double scale = qMin(availableWidth / imageWidth, availableHeight / stepPixels);
    m_dImgScaleX = m_dImgScaleY = scale;
    m_nImgHeight = int(stepPixels * scale);
    m_nImgWidth = int(imageWidth * scale);
    if (m_nImgHeight <= 0 || m_nImgWidth <= 0)
        return false;
    // Azimuth letters at the largest size up to 9 points at which
    // neighbours keep a gap.
    const QStringList letters{tr("N"), tr("E"), tr("S"), tr("W")};
    m_dAzimuthFontSize = 9.0;
    while (m_dAzimuthFontSize > kMinimumLabelSize
           && widestLabel(letters, m_dAzimuthFontSize) + 3.0 > m_nImgWidth / 4.0)
        m_dAzimuthFontSize -= 0.5;
    calcImgsNumPerPage();
    return true;
}

void QReportBuilder::calcImgsNumPerPage()
{
    const int rowStep = int(m_layout.deviceScaleY() * (m_nImgHeight + 20));
    m_nImgsNumPerPage = rowStep > 0 ? int(m_layout.usableHeight() / rowStep) : 0;
    if (m_nImgsNumPerPage <= 0)
        m_nImgsNumPerPage = 1;
    qDebug() << "m_nImgsNumPerPage:" << m_nImgsNumPerPage;
}

void QReportBuilder::initLayout()
{
    m_nHeaderHeight = 0;
    if (m_bWithHeader) {
        m_nHeaderHeight = int(6 * m_layout.rowUnit());
        m_layout.setUsableHeight(m_layout.pageHeight() - m_nHeaderHeight);
    } else {
        m_layout.setUsableHeight(m_layout.pageHeight() - m_layout.rowUnit());
    }
    m_layout.setColumnWidth(m_layout.pageWidth());
    if (m_nColumns > 1)
        m_layout.setColumnWidth((m_layout.pageWidth() - 5 * m_layout.deviceScaleY() * (m_nColumns - 1))
                                / m_nColumns);
    m_nImgHeight = 900;
    m_nImgWidth = 300;
    m_dImgScaleX = m_dImgScaleY = 1.0;
    m_nImgsNumPerPage = 1;
    m_nColumnIndex = 0;
    m_nRowIndex = 0;
    m_bNewPagePending = false;
}

bool QReportBuilder::beginOutput()
{
    return true;
}

void QReportBuilder::endOutput()
{
}

// ---------------------------------------------------------------------------
// Placement

void QReportBuilder::placeBlock(const QImage &block)
{
    Q_UNUSED(block)
    if (m_nImgCount % m_nImgsNumPerPage == 0) {
        ++m_nColumnIndex;
        if (m_nColumnIndex == m_nColumns) {
            // The page is full. Its successor starts with the next block, so
            // a report that ends here gets no empty last page.
            m_bNewPagePending = true;
            m_layout.setPosX(0);
            m_layout.setPosY(0);
            m_nColumnIndex = 0;
            m_nRowIndex = 0;
        } else {
            nextColumn();
        }
    } else {
        nextRow();
    }
}

void QReportBuilder::nextRow()
{
    m_layout.setPosY(m_layout.posY() + int(m_layout.deviceScaleY() * (m_nImgHeight + 20)));
    ++m_nRowIndex;
}

void QReportBuilder::nextColumn()
{
    m_layout.setPosY(m_nHeaderHeight);
    m_layout.setPosX(int(m_layout.posX() + m_layout.pageWidth() / m_nColumns));
    m_nRowIndex = 0;
}

void QReportBuilder::beginBlock()
{
    if (m_bNewPagePending) {
        m_bNewPagePending = false;
        newPage();
    }
    if (!m_bPreviewMode && m_bWithHeader && m_nImgCount % m_nColumns == 0 && m_layout.posY() == 0)
        drawHeader();
}

// ---------------------------------------------------------------------------
// Blocks

void QReportBuilder::processBlock(const QImage &source, int depth)
{
    if (m_bStopRequested) {
        fail(tr("The report was stopped."));
        return;
    }
    beginBlock();
    const QImage block = renderBlock(source, depth);
    if (m_bLabelsAsText)
        m_blockTexts = blockTexts(depth);
    emit signalOneImageProcessed(m_nImgCount);
    ++m_nImgCount;
    if (m_bPreviewMode) {
        if (m_bLabelsAsText)
            m_previewTexts.append(m_blockTexts);
        if (!block.save(m_strTempDir + QStringLiteral("/preView_%1.jpg").arg(m_nImgCount), "JPG"))
            fail(tr("A temporary image of the report could not be written."));
    } else {
        placeBlock(block);
    }

    // No pause: the block is on the output before the next one is read (the
    // reader hands blocks on directly, on this thread), so blocks never queue
    // up ahead of the output; the window only hears of the count.
    const int pause = s_blockPauseMs;
    if (pause > 0) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < pause && !m_bStopRequested) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
            QThread::msleep(qBound<qint64>(1, pause - timer.elapsed(), 5));
        }
    }
}

int QReportBuilder::scaleCount(int depth) const
{
    const int step = stepUnits(m_fDepthStep);
    const int span = depth - m_nLastDepth;
    if (step <= 0 || span >= step)
        return 10;
    // The short last block: one tick per tenth of a step it covers.
    const int n = int(std::ceil(span / (step / 10.0)));
    if (n == 0)
        qDebug() << "scaleNumber==" << n << ", depth:" << depth << ",m_nLastDepth:" << m_nLastDepth;
    return qMax(0, n);
}

QStringList QReportBuilder::depthLabels(int count) const
{
    // Labels count from the depth where the block's picture starts, so they
    // stay true to the picture beside them.
    const int step = stepUnits(m_fDepthStep);
    const int decimals = labelDecimals();
    const double blockStart = m_nLastDepth / 10000.0;
    QStringList labels;
    for (int i = 0; i < count; ++i)
        labels << QString::number(m_fDepthOffset + blockStart + step / 10000.0 * i / 10.0, 'f', decimals);
    return labels;
}

int QReportBuilder::labelDecimals() const
{
    // Blocks of 1 m read in tenths when they start on a tenth of a metre
    // (all blocks of a report start on the same fraction of a tenth).
    return stepUnits(m_fDepthStep) == 10000 && m_nLastDepth % 1000 == 0 ? 1 : 2;
}

QFont QReportBuilder::labelFont(double pointSize)
{
    QFont font;
    font.setPointSizeF(pointSize);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

void QReportBuilder::fitLabels()
{
    // The widest depth figure of the range, at the largest size up to 9
    // points that fits 30 pixels; at the smallest readable size the scale
    // widens instead.
    const int decimals = labelDecimals();
    const QStringList samples{QString::number(m_fStartDepth + m_fDepthOffset, 'f', decimals),
                              QString::number(m_fEndDepth + m_fDepthOffset, 'f', decimals)};
    double size = 9.0;
    while (size > kMinimumLabelSize && widestLabel(samples, size) > 30 - 5)
        size -= 0.5;
    m_fFontSize = float(size);
    m_nScaleBand = qMax(30, int(std::ceil(widestLabel(samples, size))) + 5);
    // The track is as wide as its title at the smallest readable size.
    m_nTrackBand = 0;
    if (m_bFrequency) {
        const QString title = GraphicsFrequencyTrackItem::titleFor(m_dFrequencyWindow, m_bFrequencyTerzaghi);
        m_nTrackBand = qMax(kMinimumTrackBand, int(std::ceil(widestLabel({title}, kMinimumLabelSize))) + kTrackGap + 2);
    }
}

QVector<FractureFrequency::Bin> QReportBuilder::frequencyBins(int depth) const
{
    return FractureFrequency::compute(m_frequencyPicks, m_nLastDepth, depth, m_dFrequencyWindow,
                                      m_bFrequencyTerzaghi);
}

QVector<QReportBuilder::BlockText> QReportBuilder::blockTexts(int depth) const
{
    QVector<BlockText> texts;
    const int band = m_nScaleBand;
    const QString letters[5] = {tr("N"), tr("E"), tr("S"), tr("W"), tr("N")};
    for (int i = 0; i <= 4; ++i) {
        BlockText t;
        t.anchor = QPointF(band + i * m_nImgWidth / 4, 13);
        t.text = letters[i];
        t.pointSize = m_dAzimuthFontSize;
        // Centred on their ticks; the last one ends at the wall's edge.
        t.align = i == 4 ? Qt::AlignRight : Qt::AlignHCenter;
        texts << t;
    }

    if (m_bFrequency) {
        // Title over the track, its scale below: 0 at the left edge, the
        // scale's end at the right.
        const double left = band + m_nImgWidth + kTrackGap;
        const double right = band + m_nImgWidth + m_nTrackBand;
        GraphicsFrequencyTrackItem track;
        track.setBins(frequencyBins(depth), m_dFrequencyWindow, m_bFrequencyTerzaghi);
        texts << BlockText{QPointF(left, 8), track.title(), kMinimumLabelSize, Qt::AlignLeft}
              << BlockText{QPointF(left, 17), QStringLiteral("0"), kMinimumLabelSize, Qt::AlignLeft}
              << BlockText{QPointF(right, 17), QString::number(track.scaleMaximum()), kMinimumLabelSize,
                           Qt::AlignRight};
    }

    const int n = scaleCount(depth);
    if (n <= 0)
        return texts;
    const QStringList labels = depthLabels(n);
    QImage device = measuringDevice();
    const QFontMetricsF fm(labelFont(m_fFontSize), &device);
    const double figureHeight = fm.capHeight();
    // Every tenth of the block is labelled when the figures do not touch,
    // else every second, fifth or only the first.
    int every = 10;
    for (int k : {1, 2, 5}) {
        if (m_nImgHeight * k / 10.0 >= figureHeight + 2.0) {
            every = k;
            break;
        }
    }
    for (int i = 0; i < n; i += every) {
        const int y = 20 + m_nImgHeight * i / 10;
        const double baseline = y + 1.0 + figureHeight;
        if (i > 0 && baseline > m_nImgHeight + 20)
            break;
        BlockText t;
        t.anchor = QPointF(4, baseline);
        t.text = labels.at(i);
        t.pointSize = m_fFontSize;
        texts << t;
    }
    return texts;
}

void QReportBuilder::paintTexts(QPainter &painter, const QVector<BlockText> &texts, const QPointF &origin,
                                double scale)
{
    QPaintDevice *device = painter.device();
    const double dpi = device ? device->logicalDpiY() : 96.0;
    painter.save();
    painter.setPen(Qt::black);
    for (const BlockText &t : texts) {
        // The size in the painter's units that pointSize has on a block.
        QFont font = labelFont(t.pointSize);
        font.setPointSizeF(t.pointSize * 96.0 / 72.0 * scale * 72.0 / dpi);
        painter.setFont(font);
        const double w = QFontMetricsF(font, device).horizontalAdvance(t.text);
        double x = origin.x() + t.anchor.x() * scale;
        if (t.align & Qt::AlignRight)
            x -= w;
        else if (t.align & Qt::AlignHCenter)
            x -= w / 2.0;
        painter.drawText(QPointF(x, origin.y() + t.anchor.y() * scale), t.text);
    }
    painter.restore();
}

QImage QReportBuilder::renderBlock(const QImage &source, int depth)
{
    const int step = stepUnits(m_fDepthStep);
    const int band = m_nScaleBand;
    QImage canvas(m_nImgWidth + band + m_nTrackBand, m_nImgHeight + 20, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));

    // Azimuth scale.
    painter.drawLine(band, 18, m_nImgWidth + band, 18);
    for (int i = 0; i <= 4; ++i) {
        const int x = band + i * m_nImgWidth / 4;
        painter.drawLine(x, 18, x, 14);
    }

    // Depth scale.
    const int n = scaleCount(depth);
    if (n > 0) {
        painter.drawLine(0, 20, 0, m_nImgHeight + 20);
        for (int i = 0; i < n; ++i) {
            const int y = 20 + m_nImgHeight * i / 10;
            painter.drawLine(0, y, 3, y);
        }
    }
    if (!m_bLabelsAsText)
        paintTexts(painter, blockTexts(depth), QPointF(0, 0), 1.0);

    // Wall picture.
    const int height = (n == 10 || step <= 0)
        ? m_nImgHeight
        : int(qint64(depth - m_nLastDepth) * m_nImgHeight / step);
    const QRect target(band, 20, m_nImgWidth, qMax(0, height));
    if (!source.isNull() && target.height() > 0) {
        if (m_imageFilter) {
            const qint64 span = (n == 10 || step <= 0) ? step : qint64(depth) - m_nLastDepth;
            const double metres = span * 1e-4;
            const QImage shown = m_imageFilter(source, metres);
            painter.drawImage(target, shown.isNull() ? source : shown);
        } else {
            painter.drawImage(target, source);
        }
    }

    if (m_bWithGridLines && step > 0 && target.height() > 0) {
        const double pixelsPerMm = m_nImgHeight / (step * 0.1);
        QPen pen = painter.pen();
        pen.setWidthF(0.5);
        painter.setPen(pen);
        const QVector<QLineF> lines = QGraphicsGridLineItem::gridLines(
            QRectF(target), pixelsPerMm, QSize(m_nGridCellWidth, m_nGridCellHeight));
        painter.drawLines(lines);
    }

    if (m_bFrequency && step > 0 && target.height() > 0) {
        GraphicsFrequencyTrackItem track;
        track.setLabelsShown(false);
        track.setGeometry(band + m_nImgWidth + kTrackGap, m_nTrackBand - kTrackGap - 1, 20, m_nLastDepth,
                          depth, double(m_nImgHeight) / step);
        track.setBins(frequencyBins(depth), m_dFrequencyWindow, m_bFrequencyTerzaghi);
        track.paint(&painter, nullptr, nullptr);
    }
    return canvas;
}

// ---------------------------------------------------------------------------
// Header and files

QStringList QReportBuilder::headerTexts() const
{
    const ReportProjectFacts &f = m_facts;
    return {tr("Project Name:") + f.projectName,
            tr("Test department:") + f.detectionUnit,
            tr("Number:") + f.orificeNumber,
            tr("Person:") + f.testPerson,
            tr("Date:") + f.date.toString(QStringLiteral("yyyy.M.d")),
            tr("Depth:") + tr("%1 m").arg(QString::number(f.maxDepth / 10000.0, 'f', 2)),
            tr("Start:") + f.testStartDepth,
            tr("Diameter:") + tr("%1 mm").arg(f.diameter / 10),
            tr("Coordinates:") + f.coordinatesLatitude + QLatin1Char(' ') + f.coordinatesLongitude,
            tr("Height:") + f.orificeElevation,
            tr("WaterLever:") + f.stableWaterLevel};
}
