#ifndef BACKGROUNDENCODER_H
#define BACKGROUNDENCODER_H

#include <QByteArray>
#include <QImage>
#include <future>

// Encodes pieces as "JPG" on a thread of its own, one at a time, so that a
// rewrite decodes the next piece while the last one is encoded. The rows
// are copied into a buffer kept from piece to piece (memory touched for the
// first time costs more than the copy), so the caller may overwrite its own
// rows as soon as start() returns. The caller inserts the bytes itself: the
// database stays on its thread.
class BackgroundEncoder
{
public:
    BackgroundEncoder() = default;
    BackgroundEncoder(const BackgroundEncoder &) = delete;
    BackgroundEncoder &operator=(const BackgroundEncoder &) = delete;
    // Waits for a piece still being encoded.
    ~BackgroundEncoder();

    // Starts encoding a copy of image (32-bit RGB), tagged with id. A piece
    // already started must have been taken first. False when the copy
    // cannot be made (out of memory); nothing is started then.
    bool start(const QImage &image, int id);
    // A piece has been started and not yet taken.
    bool busy() const { return m_job.valid(); }
    // Waits for the started piece and hands over its bytes and id; false
    // when it could not be encoded (bytes empty then).
    bool take(QByteArray *bytes, int *id);

private:
    QImage m_copy;
    QImage m_rows;   // the rows of m_copy the started piece covers
    QByteArray m_bytes;
    int m_id = 0;
    std::future<bool> m_job;
};

#endif // BACKGROUNDENCODER_H
