#ifndef BATCHPROGRESS_H
#define BATCHPROGRESS_H

#include <QString>

// Progress of a batch command on standard error: one line each time another
// tenth of the work is done ("kora report: 30 %"), and only when standard
// error is a terminal, so that a script sees nothing but the result.
class BatchProgress
{
public:
    explicit BatchProgress(const QString &label);

    bool enabled() const { return m_enabled; }
    void update(qint64 done, qint64 total);

private:
    QString m_label;
    bool m_enabled;
    int m_lastTenth = 0;
};

#endif // BATCHPROGRESS_H
