#ifndef READBIGIMAGETHREAD_H
#define READBIGIMAGETHREAD_H

#include "kdimage.h"
#include "qquerydatabase.h"

#include <QByteArray>
#include <QImage>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QWaitCondition>
#include <atomic>

// Streams the big images of one page (a depth range) to the main window, one
// KdImage at a time, on its own thread. The connection to the project file is
// opened, used and closed inside run(), on the worker thread.
//
// A run emits one bigImageCountGetted() when the count succeeds, zero or more
// readOneBigImage() from top to bottom, exactly one readFinieshed(), and
// readThreadFinished() as its last signal. Every piece comes with the whole
// depth span it covers (DepthModel); the piece that reaches the page end is
// the last one. A record whose direction is
// neither "down" nor "up" is logged and nothing is read; depths that do not
// fit the 32-bit range of the file format end the read with a log line.
//
// The read keeps pace with the window: after handing on a piece the reader
// posts an acknowledgement to the thread it was made on (the GUI thread). It
// comes through after the window's handler of that piece, as both travel the
// same event queue in order, so the reader is never more than kPiecesAhead
// pieces ahead of what the window has placed, and decodes the next piece
// while the window places the last one. The creating thread's event loop must
// therefore run while the read goes on (the window's does).
class ReadBigImageThread : public QThread, public QQueryDataBase
{
    Q_OBJECT

public:
    // Takes direction, project start and deepest id from ProjectInfo;
    // construct on the GUI thread.
    ReadBigImageThread(const QString &path, int pageStart, int pageEnd, QObject *parent = nullptr);
    ~ReadBigImageThread() override;

    int pageStart() const { return m_pageStart; }
    int pageEnd() const { return m_pageEnd; }
    int imageCount() const { return m_imageCount; }
    QString projectPath() const { return m_projectPath; }

    // Pieces handed on whose placing has not yet been acknowledged, at most.
    static constexpr int kPiecesAhead = 2;
    // Pieces handed on and pieces acknowledged so far in this run.
    int piecesSent() const { return m_sent; }
    int piecesPlaced() const { return m_placed; }

    // Extra time each piece takes, in milliseconds; 0 (the default) reads as
    // fast as the window places. Tests use it to stand for slow storage.
    static void setPieceDelay(int ms);
    static int pieceDelay();

    // Asks a running read to end after the current piece (a wait for the
    // window is cut short too). The run still emits readFinieshed() and
    // readThreadFinished() and closes its connection, unlike terminate().
    // A reader destroyed while running is stopped this way first.
    void requestStop();

    // Decodes a stored piece (PieceDecoder::decode): a blob that does not
    // decode, or whose header claims an insane size, gives a null image and
    // logs "QImage Load Fail".
    static QImage decodeImage(const QByteArray &data);

signals:
    void bigImageCountGetted(int count);
    void readOneBigImage(KdImage image);
    void readFinieshed();
    void readThreadFinished();

protected:
    void run() override;

private:
    bool countImages();
    bool readImages();
    bool readImagesUp();
    // Top of the first piece of a downward page: the id of the piece above
    // the page start, or the project start.
    int firstPieceTop();
    void emitReadFinished();
    // Hands on one piece, then waits until the window has caught up.
    void handOn(const KdImage &piece);
    void placed();
    void pause();

    int m_pageStart;
    int m_pageEnd;
    int m_imageCount = 0;
    QString m_projectPath;
    bool m_readFinishedEmitted = false;

    // Snapshot of the project record taken on the GUI thread.
    QString m_direction;
    int m_projectStart = 0;
    int m_maxDepth = 0;

    std::atomic<int> m_sent{0};
    std::atomic<int> m_placed{0};
    QMutex m_paceMutex;
    QWaitCondition m_paceChanged;

    static std::atomic<int> s_pieceDelay;
};

#endif // READBIGIMAGETHREAD_H
