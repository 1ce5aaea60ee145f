#ifndef PAGEPICKREADER_H
#define PAGEPICKREADER_H

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QVector>

#include "holesurvey.h"
#include "structurepick.h"

// Reads the structure picks of a page's depth range on a thread of its own,
// so that a page of many thousand picks does not stop the window while they
// are read, and with them the hole survey when asked. One read at a time: a read asked for while another waits to
// begin takes its place. The picks arrive on the reader's thread through
// picksRead, with the ticket read() gave; a caller that has asked again
// since keeps only the last ticket's picks.
class PagePickReader : public QObject
{
    Q_OBJECT
public:
    explicit PagePickReader(QObject *parent = nullptr);
    // Waits for a read in progress.
    ~PagePickReader() override;

    // Starts reading the picks whose depth lies in [from, to] (depth units)
    // of the project file at path, and its hole survey if withSurvey;
    // answers the read's ticket (never 0).
    quint64 read(const QString &path, double from, double to, bool withSurvey = false);
    // Waits until no read is running or waiting (for tests and shutdown).
    void waitForDone();

signals:
    // The picks of the read with the ticket, by depth; empty when the file
    // has none there or cannot be read. The survey is empty unless asked for.
    void picksRead(quint64 ticket, const QVector<StructurePick> &picks, const HoleSurvey &survey);

private:
    QThreadPool m_pool;
    quint64 m_lastTicket = 0;
};

#endif // PAGEPICKREADER_H
