#ifndef PROCESSUPPROJECTTHREAD_H
#define PROCESSUPPROJECTTHREAD_H

#include <QImage>
#include <QSqlDatabase>
#include <QString>

#include "correctionthread.h"

class ImageJointer;

// Converts a project logged upward into the downward layout: the pieces are
// read from the collar downward, joined, and cut again into pieces of one
// metre; the new table replaces bigImages and projectInfo is marked "down"
// with start 0. The whole rewrite is one transaction on the worker's own
// connection: it either lands completely or leaves the file as it was. It
// speaks the protocol of the correction workers (CorrectionThread).
//
// The worker refuses (and changes nothing) when the record is not "up", when
// the file is no longer "up" once it holds the write lock, when pieces lie
// outside (0, deepest id], when none of its pieces decodes, on any failed statement, on
// a full disk or a read-only file, and after canceled(). Pieces that do not
// decode, or are missing from the table, are kept as black rows of their
// depth span so the wall below them stays at its depth.
//
// Everything the run needs from the project record and the process-wide pixel
// factor is copied when the worker is made (on the GUI thread); while it runs
// it reads neither, so the window may reset them (close or open something)
// without changing what is written. The pixel factor it finds itself is kept
// in pixelFactor(), not in the process-wide value.
class ProcessUpProjectThread : public CorrectionThread
{
    Q_OBJECT

public:
    explicit ProcessUpProjectThread(const QString &path, QObject *parent = nullptr);

    // Deepest id written by a successful run (the new maxDepth), else 0.
    // succeeded() tells whether the run committed; the project record and the
    // process-wide pixel factor are never changed by the worker, its owner
    // updates them when it did.
    int convertedMaxDepth() const { return succeeded() ? m_rewriter.lastInsertedId() : 0; }
    // Pixels per depth unit the run cut by: the process-wide value when the
    // worker was made, else piece width / (diameter x 3.14) of the first
    // decoded piece; 0 when neither is known.
    double pixelFactor() const { return m_pixelFactor; }

    // Height in rows of the largest image held while the last run joined
    // pieces (the conversion streams: this does not grow with the depth).
    int peakAccumulatedRows() const { return m_peakAccumulatedRows; }

    void processImages();
    void cutAndSave(QImage &accumulated, int endDepth, int lastImageDepth);

protected:
    void run() override;
    void correctImages(QSqlDatabase &db) override;
    QString runName() const override { return QStringLiteral("conversion"); }
    QString createStatement() const override;
    QStringList recordUpdates() const override;
    void logInsertion(int id, bool encoded) const override;

private:
    int missingDepth(int span, int rows) const;
    double measurePieceScale(const QString &statement);
    void appendBlank(QImage &accumulated, int depthSpan, int width);
    void fillGap(QImage &accumulated, int depthSpan, int bottomDepth, int width);
    void cutAbove(QImage &accumulated, int reachedDepth);

    // The connection and the jointer of the running main step.
    QSqlDatabase m_database;
    ImageJointer *m_jointer = nullptr;
    // Copies taken at construction; the run never looks at the record.
    QString m_direction;
    int m_maxDepth = 0;
    int m_diameter = 0;
    double m_givenPixelFactor = 0.0;
    double m_pixelFactor = 0.0;     // as above, or found by the run

    int m_cutDepth = 10000;
    int m_decodedCount = 0;
    int m_peakAccumulatedRows = 0;
    double m_pieceScale = 0.0;  // rows per depth unit the pieces really have
};

#endif // PROCESSUPPROJECTTHREAD_H
