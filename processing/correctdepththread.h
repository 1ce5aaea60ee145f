#ifndef CORRECTDEPTHTHREAD_H
#define CORRECTDEPTHTHREAD_H

#include "correctionthread.h"

class ImageJointer;

// Depth correction: stretches or shrinks the depth scale of the project
// linearly from the collar so that its deepest piece ends at the real depth
// the user entered, and cuts the wall again into pieces of one metre on the
// corrected scale (plus the deepest piece). Every piece is visited in depth
// order, whatever its length; a piece is placed by the depth span it covers,
// so the wall keeps the place the page display gives it. A piece that cannot
// be decoded is kept with its stored bytes at its corrected depth.
//
// The structure picks move with the wall: depth and amplitude by the same
// factor, the dip recomputed in the hole's diameter.
//
// The project start is scaled with the pieces, in the same transaction; a
// correction that would leave a piece at or above the start is refused.
//
// Connection "DB5-<n>", a name of its own for every worker.
class CorrectDepthThread : public CorrectionThread
{
    Q_OBJECT

public:
    CorrectDepthThread(const QString &path, int realDepthMm, QObject *parent = nullptr);
    ~CorrectDepthThread() override;

    int realDepth() const { return m_realDepth; }
    // Test depth over real depth.
    float ratio() const { return m_ratio; }

    // Corrected depth of the uncorrected depth id.
    double correctedDepth(int id) const;

    // The project start after the correction, depth units.
    int correctedStart() const;

    // Height in rows of the largest image held while the last run joined
    // pieces (the correction streams: this does not grow with the depth).
    int peakAccumulatedRows() const { return m_peakAccumulatedRows; }

    void correctDepths(QSqlDatabase &db, int count);

protected:
    void correctImages(QSqlDatabase &db) override;
    bool correctPicks(QSqlDatabase &db, QString *error) override;
    QString runName() const override { return QStringLiteral("depth correction"); }

private:
    bool correctStart(QSqlDatabase &db, QString *error);
    void flush(QImage &accumulated, QByteArray &storedBytes, int id);

    ImageJointer *m_jointer = nullptr;
    int m_realDepth = 0;
    float m_ratio = 0.0f;
    int m_maxDepth = 0;
    int m_start = 0;
    int m_diameter = 0;             // depth units, for the dips of the picks
    double m_fallbackScale = 0.0;   // rows per depth unit from the record
    int m_peakAccumulatedRows = 0;
};

#endif // CORRECTDEPTHTHREAD_H
