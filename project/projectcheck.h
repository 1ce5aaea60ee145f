#ifndef PROJECTCHECK_H
#define PROJECTCHECK_H

#include "qquerydatabase.h"

#include <QList>
#include <QMap>
#include <QString>
#include <functional>

// Reads every stored piece of a project file once and reports what a page
// or a report would trip over: pieces that do not decode, depth spans no
// piece covers (gaps) and pieces whose width differs from the others. The
// file is only read. Runs on the calling thread with a connection of its own.
class ProjectCheck : public QQueryDataBase
{
public:
    // A depth interval (depth units) that no piece covers.
    struct Gap
    {
        int from = 0;
        int to = 0;
    };

    // Called after each piece with the pieces done and the pieces in all.
    using Progress = std::function<void(int done, int total)>;
    void setProgress(const Progress &progress) { m_progress = progress; }

    // Checks the file at path. A piece of h rows covers h / pixelsPerUnit
    // depth units above its id; the first piece starts at start. With
    // pixelsPerUnit 0 (no diameter or width known) no gaps are looked for.
    // False when the file cannot be read; errorText() says why.
    bool run(const QString &path, int start, double pixelsPerUnit);

    QString errorText() const { return m_error; }
    int pieceCount() const { return m_pieceCount; }
    int firstId() const { return m_firstId; }
    int lastId() const { return m_lastId; }
    // Ids of the pieces that do not decode, in depth order.
    QList<int> undecodable() const { return m_undecodable; }
    QList<Gap> gaps() const { return m_gaps; }
    // Piece count of each width found among the pieces that decode.
    QMap<int, int> widths() const { return m_widths; }
    // Ids of the pieces whose width is not the most common one.
    QList<int> oddWidthIds() const { return m_oddWidthIds; }
    // The width most pieces have; 0 when no piece decodes.
    int commonWidth() const;

private:
    Progress m_progress;
    QString m_error;
    int m_pieceCount = 0;
    int m_firstId = 0;
    int m_lastId = 0;
    QList<int> m_undecodable;
    QList<Gap> m_gaps;
    QMap<int, int> m_widths;
    QList<int> m_oddWidthIds;
};

#endif // PROJECTCHECK_H
