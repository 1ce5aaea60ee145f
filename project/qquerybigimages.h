#ifndef QQUERYBIGIMAGES_H
#define QQUERYBIGIMAGES_H

#include "kdimage.h"
#include "qquerydatabase.h"

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <deque>

// Range reader of the report builder. Open it with open(path) on the thread
// that will run the queries. queryRange() runs on the calling thread and
// either hands out the stored JPEG bytes of each piece (raw mode, page depth
// 10 000) or re-joins the pieces into pages of the chosen depth (page mode).
class QQueryBigImages : public QObject, public QQueryDataBase
{
    Q_OBJECT

public:
    static constexpr int kRawPageDepth = 10000;

    explicit QQueryBigImages(QObject *parent = nullptr);
    ~QQueryBigImages() override;

    void setScale(double scaleX, double scaleY);
    double scaleX() const { return m_scaleX; }
    double scaleY() const { return m_scaleY; }
    int pageDepth() const { return m_pageDepth; }

    // Number of pieces with startMetre x 10 000 < id <= endMetre x 10 000;
    // 0 when closed or on failure.
    int CountOfDepthRange(int startMetre, int endMetre);

    // False at once while another query of this object runs, when the reader
    // is not open or pageDepth is not positive, and when the range statement
    // fails (busy is cleared then). A piece that does not decode becomes
    // white rows of its depth span in page mode; no page is ever larger than
    // one page depth (and PieceDecoder::kMaxPixels pixels), whatever the gap.
    // Page mode takes time in proportion to the rows it handles: each piece
    // is scaled once and each page is assembled once.
    bool queryRange(int startMetre, int endMetre, int pageDepth);
    bool queryRange(int startMetre, int endMetre);

    // Every piece that covers part of the depth range (from, to], in depth
    // units, top to bottom, each decoded and with the whole span it covers
    // (DepthModel): the first from the id of the piece above from (or
    // projectStart), the last the one that reaches to. A piece that does not
    // decode comes with a null image and its span. A piece wider than
    // decodeWidth (when positive) is decoded at that width: the JPEG decoder
    // skips the detail a narrower picture would drop. False as queryRange().
    bool queryPieces(int from, int to, int projectStart, int decodeWidth = 0);

signals:
    // queryPieces(): one piece with its span.
    void ProgressingPiece(KdImage piece);
    // Raw mode. The byte array lives only during the emission: connect with
    // Qt::DirectConnection and copy what you keep.
    void ProgressingImageBuffers(int nImgDepth, QByteArray *imgByteArray);
    // Page mode: one joined page and the depth of its lower edge.
    void ProgressingImageJointer(QImage image, int depth);

private:
    // Rows waiting for their page: a scaled piece, or white rows (null image)
    // standing for a piece that did not decode.
    struct Band
    {
        QImage image; // output width x rows, 32-bit RGB; null for white rows
        qint64 rows;
    };

    bool runQuery(qint64 low, qint64 high);
    void joinPiece(const QByteArray &bytes, qint64 id);
    // Removes the top rows of the waiting bands and returns them as one page.
    QImage takeRows(qint64 rows);
    void dropRows();
    qint64 maxPageRows() const;

    int m_nRangeStart = 0;
    int m_pageDepth = kRawPageDepth;
    int m_nLastDepth = 0;
    double m_dVerticalDensity = 0.0;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    int m_nOutputWidth = 0;
    int m_nPageIndex = 1;

    std::deque<Band> m_bands;
    qint64 m_nBandOffset = 0; // rows of the first band already taken
    qint64 m_nWaitingRows = 0; // rows in the bands, less the offset
};

#endif // QQUERYBIGIMAGES_H
