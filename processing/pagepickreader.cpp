#include "pagepickreader.h"

#include "holesurveystore.h"
#include "structurepickstore.h"

#include <QMetaObject>

PagePickReader::PagePickReader(QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
    // The thread stays for the next page rather than being made again.
    m_pool.setExpiryTimeout(-1);
}

PagePickReader::~PagePickReader()
{
    m_pool.clear();
    m_pool.waitForDone();
}

quint64 PagePickReader::read(const QString &path, double from, double to, bool withSurvey)
{
    const quint64 ticket = ++m_lastTicket;
    // A read that has not begun is for a page nobody waits for any more.
    m_pool.clear();
    m_pool.start([this, ticket, path, from, to, withSurvey] {
        // The stores open and close their own connections on this thread.
        const QVector<StructurePick> picks = StructurePickStore(path).picks(from, to);
        const HoleSurvey survey = withSurvey ? HoleSurveyStore(path).read() : HoleSurvey();
        // The reader outlives this task (its destructor waits for it); a
        // call still queued when it goes is dropped with it.
        QMetaObject::invokeMethod(
            this, [this, ticket, picks, survey] { emit picksRead(ticket, picks, survey); }, Qt::QueuedConnection);
    });
    return ticket;
}

void PagePickReader::waitForDone()
{
    m_pool.waitForDone();
}
