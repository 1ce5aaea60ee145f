#ifndef SAMPLEPROJECTWRITER_H
#define SAMPLEPROJECTWRITER_H

// Writes one sample project file (SQLite through QSQLITE, JPEG pieces).

#include <QString>
#include <QImage>
#include <QVector>

class SampleOptions;

class SampleProjectWriter
{
public:
    struct Piece
    {
        int id = 0;           // stored bigImages id, depth units
        int firstRow = 0;     // wall rows [firstRow, endRow)
        int endRow = 0;
    };

    explicit SampleProjectWriter(const SampleOptions &options);

    // Cuts the range into pieces and checks the piece-related options.
    bool plan(QString *error);
    // Writes the project (to a temporary file that replaces --out at the end)
    // and the features CSV. plan() must have succeeded.
    bool write(QString *error);

    const QVector<Piece> &pieces() const { return m_pieces; }
    int writtenPieces() const { return m_written; }

private:
    bool writeDatabase(const QString &path, QString *error);
    bool writeFeatures(const QString &csv, QString *error);
    // Paints the --marker bands into a piece whose first wall row is firstRow.
    void paintMarkers(QImage *image, int firstRow) const;

    const SampleOptions &m_options;
    QVector<Piece> m_pieces;
    int m_written = 0;
};

#endif // SAMPLEPROJECTWRITER_H
