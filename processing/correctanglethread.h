#ifndef CORRECTANGLETHREAD_H
#define CORRECTANGLETHREAD_H

#include "correctionthread.h"

#include <QVector>

// Azimuth correction: turns every piece of the project horizontally by the
// same angle, so that the wall at that azimuth becomes the left edge (north).
// Depths and ids stay as they are. Angles are taken modulo a full turn
// (-90 is 270, 450 is 90). Pieces stream one at a time; a piece that cannot
// be decoded, or that the angle leaves as it is, keeps its stored bytes.
//
// The dip directions of the structure picks turn with the wall, by the
// columns the pieces at their depth were shifted (trunc(width x turn) of
// width, so a few hundredths of a degree off the angle on narrow pieces).
//
// Connection "DB6-<n>", a name of its own for every worker. projectInfo is not changed.
class CorrectAngleThread : public CorrectionThread
{
    Q_OBJECT

public:
    CorrectAngleThread(const QString &path, int angleDegrees, QObject *parent = nullptr);

    // The angle brought into 0 .. 359 degrees.
    int angle() const { return m_angle; }
    // Fraction of a full turn.
    float turn() const { return m_turn; }

    // image shifted circularly to the left by trunc(width x turn) columns:
    // output column x shows source column (x + shift) mod width.
    static QImage shiftImage(const QImage &image, float turn);
    // The angle in 0 .. 359 degrees.
    static int normalizedAngle(int angleDegrees);
    // Columns a row of the given width is shifted by: trunc(width x turn).
    static int columnShift(int width, float turn);
    // The turn in degrees the last run gave the wall at a depth: the shift
    // of the piece holding that depth, as a part of its width.
    double turnedDegreesAt(double depth) const;

    void shiftImages(QSqlDatabase &db, int count);

protected:
    void correctImages(QSqlDatabase &db) override;
    bool correctPicks(QSqlDatabase &db, QString *error) override;
    QString runName() const override { return QStringLiteral("angle correction"); }

private:
    struct WidthRun
    {
        int lastId = 0;   // deepest piece of a run of pieces of one width
        int width = 0;
    };

    int m_angle = 0;
    float m_turn = 0.0f;
    QVector<WidthRun> m_widths;   // by depth
};

#endif // CORRECTANGLETHREAD_H
