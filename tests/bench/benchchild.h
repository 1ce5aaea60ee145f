#ifndef BENCHCHILD_H
#define BENCHCHILD_H

// What the processing benchmarks share: each measurement runs in a child
// process of the benchmark binary, which prints its figures on one line
// (wall time in ms and peak resident memory in KiB first).

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTextStream>
#include <QVector>
#include <algorithm>

#include "globals.h"
#include "projectinfo.h"

namespace BenchChild {

// A field of /proc/self/status in KiB (VmRSS, VmHWM), -1 when unknown.
inline long statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

inline void dropMessages(QtMsgType, const QMessageLogContext &, const QString &) {}

// Loads the project into the record as the main window does.
inline void loadRecord(const QString &path)
{
    pixelsPerUnit = 0.0;
    ProjectInfo *info = ProjectInfo::instance();
    info->reset();
    info->setDatabase(path);
    info->loadProjectInfo();
}

// The floor a rewrite is measured against: decodes every piece of path (in
// the order of the statement) and encodes it again as JPEG, nothing else.
// Returns the pieces done, -1 when the file cannot be read.
inline int decodeAndEncodeAll(const QString &path, const QString &statement)
{
    int pieces = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(path);
        if (!db.open())
            return -1;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(statement))
            return -1;
        while (q.next()) {
            QImage image;
            image.loadFromData(q.value(1).toByteArray(), "JPG");
            QByteArray out;
            QBuffer buffer(&out);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "JPG");
            ++pieces;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    return pieces;
}

struct Result
{
    bool ok = false;
    qint64 ms = 0;
    long peakKb = 0;
    QList<QByteArray> fields;   // all the child printed
};

// Runs this binary with {mode, path}; not ok when it fails or prints fewer
// than minFields figures.
inline Result run(const QString &mode, const QString &path, int minFields = 2)
{
    Result r;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(QCoreApplication::applicationFilePath(), {mode, path});
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return r;
    r.fields = p.readAllStandardOutput().trimmed().split(' ');
    if (r.fields.size() < qMax(2, minFields))
        return r;
    r.ms = r.fields.at(0).toLongLong();
    r.peakKb = r.fields.at(1).toLong();
    r.ok = true;
    return r;
}

// The depths given on the command line, else 20 and 100 m.
inline QList<int> depths(int argc, char **argv)
{
    QList<int> list;
    for (int i = 1; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]).toInt();
    return list.isEmpty() ? QList<int>{20, 100} : list;
}

// Best and median of several runs of a measurement.
inline double best(const QVector<double> &times) { return *std::min_element(times.cbegin(), times.cend()); }

inline double median(QVector<double> times)
{
    std::sort(times.begin(), times.end());
    const int n = times.size();
    return n % 2 ? times.at(n / 2) : (times.at(n / 2 - 1) + times.at(n / 2)) / 2.0;
}

inline QString mib(long kb)
{
    return QString::number(kb / 1024.0, 'f', 1);
}

// One line of the table: each cell right-aligned in its width, two spaces
// apart.
inline void printRow(QTextStream &out, const QList<QPair<int, QString>> &cells)
{
    for (int i = 0; i < cells.size(); ++i) {
        out << qSetFieldWidth(cells.at(i).first) << cells.at(i).second << qSetFieldWidth(0)
            << (i + 1 < cells.size() ? "  " : "\n");
    }
    out.flush();
}

} // namespace BenchChild

#endif // BENCHCHILD_H
