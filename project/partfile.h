#ifndef PARTFILE_H
#define PARTFILE_H

#include <QByteArray>
#include <QFile>
#include <QIODevice>
#include <QString>

// A file the user relies on, written as NAME.part beside its target NAME and
// renamed over it only when every write, the flush and the sync succeeded. A
// failed or abandoned write leaves an earlier file of that name untouched and
// removes its part. Every failing write is seen: the first one ends the write
// and errorText() says why in the user's words ("the disk is full", ...).
//
//     PartFile out(path);
//     if (!out.open(QIODevice::WriteOnly)) -> out.errorText();
//     ... write through &out (QImageWriter, QPdfWriter, QTextStream) ...
//     if (!out.commit()) -> out.errorText();
class PartFile : public QIODevice
{
    Q_OBJECT

public:
    explicit PartFile(const QString &target, QObject *parent = nullptr);
    ~PartFile() override;

    static QString partName(const QString &target);
    // Removes the part an interrupted write to target left (a killed export).
    static void removeLeftover(const QString &target);

    QString target() const { return m_target; }

    // Only write-only opening is supported; a leftover part is replaced.
    bool open(OpenMode mode) override;
    bool isSequential() const override { return true; }
    // Flushes, syncs and closes the part, then renames it over the target.
    // False (target untouched, part removed) when anything failed.
    bool commit();
    // Drops what was written; the target stays as it was.
    void discard();
    bool failed() const { return !m_error.isEmpty(); }
    QString errorText() const { return m_error; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void fail(const QString &systemText);
    bool writeBuffer();

    static constexpr int kBufferSize = 64 * 1024;

    QString m_target;
    QFile m_file;
    QByteArray m_buffer;
    QString m_error;
};

#endif // PARTFILE_H
