#ifndef QREPORTBUILDER_H
#define QREPORTBUILDER_H

#include "kdimage.h"
#include "reportpagelayout.h"
#include "reportjob.h"
#include "reportprojectfacts.h"
#include "fracturefrequency.h"

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QVector>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <memory>

class QPainter;
class QQueryBigImages;

// Turns a depth range of the project's big images into report pages. Each
// depth step becomes a block image (wall picture, azimuth scale above, depth
// scale on the left); blocks fill the columns of a page top to bottom.
// Subclasses put the blocks on their output through the hooks placeBlock,
// initLayout, drawHeader, newPage, beginOutput and endOutput.
//
// Created on the GUI thread (where it reads the project and the screen);
// generate() runs on the export thread, which owns the big-image reader.
class QReportBuilder : public QObject
{
    Q_OBJECT

public:
    // Width the frequency track beside a block takes at least (points).
    static constexpr int kMinimumTrackBand = 86;
    explicit QReportBuilder(const ReportJob &job, QObject *parent = nullptr);
    ~QReportBuilder() override;

    QString fileName() const { return m_strFileName; }
    void setFileName(const QString &name) { m_strFileName = name; }

    // Extra time each block takes, milliseconds; 0 (the default) makes the
    // report as fast as blocks are read and drawn. Tests use it to stand for
    // a slow output.
    static void setBlockPause(int ms);
    static int blockPause();

    // Asks a running generate() to end at the next block (any thread). The
    // output is then not completed.
    void requestStop() { m_bStopRequested = true; }
    bool stopRequested() const { return m_bStopRequested; }

    // Widget that dialogs of the output belong to: the parent given at
    // construction when it is a widget.
    QWidget *dialogParent() const { return m_pDialogParent.data(); }

    // Outcome of the last generate(): true when the output is complete (and,
    // for a file, in place under fileName()); otherwise errorText() says why.
    bool succeeded() const { return m_bSucceeded; }
    QString errorText() const { return m_strError; }

    // Depth of one block in depth units: step x 10 000, rounded to the nearer
    // whole centimetre (the lower one on a tie).
    static int stepUnits(float depthStep);

    // Why a report of this project with this depth step cannot be laid out
    // (no image width, no diameter, a step of 0); empty when it can.
    static QString layoutProblem(const ReportProjectFacts &facts, float depthStep);

    const ReportPageLayout &layout() const { return m_layout; }
    ReportPageLayout &layout() { return m_layout; }
    int imagesPerColumn() const { return m_nImgsNumPerPage; }
    int imageCount() const { return m_nImgCount; }
    int imageWidth() const { return m_nImgWidth; }
    int imageHeight() const { return m_nImgHeight; }
    int headerHeight() const { return m_nHeaderHeight; }
    QString tempDir() const { return m_strTempDir; }
    const ReportProjectFacts &facts() const { return m_facts; }
    void setFacts(const ReportProjectFacts &facts) { m_facts = facts; }

    // How a block's wall picture is shown in the report (the contrast of the
    // page): given the picture and the depth it covers in metres, answers the
    // picture to place. Set before generate() starts; it runs on the export
    // thread, so it must hold copies of everything it uses. None: the
    // picture as stored.
    using ImageFilter = std::function<QImage(const QImage &picture, double metres)>;
    void setImageFilter(const ImageFilter &filter) { m_imageFilter = filter; }
    ImageFilter imageFilter() const { return m_imageFilter; }

    // A page put after the blocks (the structures of the range), drawn on
    // the GUI thread; outputs that take it (the PDF) scale it to fit their
    // page. Null: no such page.
    void setExtraPage(const QImage &page) { m_extraPage = page; }
    QImage extraPage() const { return m_extraPage; }

    // A label of a block (depth figure or azimuth letter) in block pixels
    // (96 per inch): drawn into the block picture, or written as real text
    // by outputs that can (the PDF and the preview).
    struct BlockText
    {
        QPointF anchor;        // on the baseline
        QString text;
        double pointSize = 9.0;
        Qt::Alignment align = Qt::AlignLeft; // of the text at the anchor
    };

    // The block image for the step ending at depth, as rendered for the
    // output (exposed for tests; generate() uses it). Its labels are painted
    // into it unless the output writes them as text.
    QImage renderBlock(const QImage &source, int depth);
    // The labels of the block for the step ending at depth.
    QVector<BlockText> blockTexts(int depth) const;
    // Width of the depth scale left of each wall picture, block pixels: 30,
    // more when the deepest label needs it at the smallest readable size.
    int scaleBand() const { return m_nScaleBand; }
    // Point sizes of the depth labels and of the azimuth letters, fitted to
    // their room by the layout.
    double depthFontSize() const { return m_fFontSize; }
    double azimuthFontSize() const { return m_dAzimuthFontSize; }
    // Font of the block labels at the given size.
    static QFont labelFont(double pointSize);
    // Writes texts of a block whose top left corner is at origin, scale
    // painter units per block pixel.
    static void paintTexts(QPainter &painter, const QVector<BlockText> &texts, const QPointF &origin,
                           double scale);
    // Width of the fracture-frequency track right of each wall picture,
    // block pixels; 0 when the report has none (only a PDF asked for it).
    int trackBand() const { return m_nTrackBand; }
    // Smallest size a label is written at, points.
    static constexpr double kMinimumLabelSize = 6.0;

public slots:
    virtual void generate();
    virtual void placeBlock(const QImage &block);
    virtual void initLayout();
    virtual void drawHeader() = 0;
    virtual void newPage() = 0;
    virtual bool beginOutput();
    virtual void endOutput();
    virtual void nextRow();
    virtual void nextColumn();
    virtual void calcImgsNumPerPage();

    // One piece of the range with the span it covers (QQueryBigImages::
    // queryPieces()): its rows go into the blocks that show its depths; a
    // block is rendered once the pieces have reached its end.
    void OnProgressingPiece(KdImage piece);

signals:
    void signalImagesCount(int count);
    void signalOneImageProcessed(int number);
    void requestedUpdateWaitView();

protected:
    bool openDatabase();
    void closeDatabase();
    void runQuery();
    // Sizes the blocks to fit a column; false when the image width or the
    // step in pixels is 0 (nothing could be laid out).
    bool setImageSize(int imageWidth, int stepPixels);
    int scaleCount(int depth) const;
    // The first count depth labels of the block that starts where the
    // previous one ended.
    QStringList depthLabels(int count) const;
    // Decimals of the depth labels.
    int labelDecimals() const;
    // Before each block: the page break a full page left pending, then the
    // header at the top of a page when the header is on.
    void beginBlock();
    void processBlock(const QImage &source, int depth);
    // Renders the block being assembled (it ends at m_nBlockEnd) and starts
    // the next one.
    void finishBlock();
    // White wall picture of the block from m_nLastDepth to m_nBlockEnd.
    void startBlock();
    void fail(const QString &text);
    // Header texts, label followed by value: top row (2) then rows of 3.
    QStringList headerTexts() const;
    // Fits the label fonts and the depth scale's width to the range and the
    // column (before the wall pictures are sized).
    void fitLabels();
    // The track's counts over the block ending at depth.
    QVector<FractureFrequency::Bin> frequencyBins(int depth) const;
    // Set by outputs that write the labels as text next to the picture.
    bool m_bLabelsAsText = false;
    // Labels of the block being placed (placeBlock).
    QVector<BlockText> m_blockTexts;
    // Labels of the blocks a preview keeps as pictures, in order.
    QVector<QVector<BlockText>> m_previewTexts;
    int m_nScaleBand = 30;
    double m_dAzimuthFontSize = 9.0;

    QString m_strFileName;
    QString m_strDbPath;
    float m_fStartDepth;
    float m_fEndDepth;
    int m_nColumns;
    int m_nFormat;
    int m_nGridCellWidth;
    int m_nGridCellHeight;
    float m_fDepthOffset;
    float m_fDepthStep;
    int m_nReserved;
    bool m_bWithHeader;
    bool m_bWithGridLines;
    ReportPageLayout m_layout;
    int m_nImgCount = 0;
    int m_nLastDepth = 0;
    int m_nImgHeight = 900;
    int m_nImgWidth = 300;
    double m_dImgScaleX = 1.0;
    double m_dImgScaleY = 1.0;
    QQueryBigImages *m_pQuery = nullptr;
    float m_fFontSize = 9.0f;
    QString m_strTempDir;
    bool m_bPreviewMode = false;
    int m_nImgsNumPerPage = 1;
    int m_nColumnIndex = 0;
    int m_nHeaderHeight = 0;
    int m_nRowIndex = 0;

    ReportProjectFacts m_facts;
    int m_nReportEnd = 0;         // depth units: where the last block ends
    int m_nBlockEnd = 0;          // depth units: end of the block being assembled
    QImage m_blockWall;           // its wall picture, m_nImgWidth wide
    bool m_bNewPagePending = false;
    std::atomic<bool> m_bStopRequested{false};
    QPointer<QWidget> m_pDialogParent;
    bool m_bSucceeded = false;
    QString m_strError;

private:
    std::unique_ptr<QTemporaryDir> m_tempDir;
    ImageFilter m_imageFilter;
    QImage m_extraPage;
    // The frequency track: on for a PDF that asks for it, with the picks of
    // the range read on the thread that makes the builder.
    bool m_bFrequency = false;
    double m_dFrequencyWindow = 1.0;
    bool m_bFrequencyTerzaghi = false;
    QVector<StructurePick> m_frequencyPicks;
    int m_nTrackBand = 0;
    static std::atomic<int> s_blockPauseMs;
};

#endif // QREPORTBUILDER_H
