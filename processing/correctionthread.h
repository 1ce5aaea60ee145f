#ifndef CORRECTIONTHREAD_H
#define CORRECTIONTHREAD_H

#include <QByteArray>
#include <QImage>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QThread>
#include <atomic>

#include "backgroundencoder.h"
#include "bigimagetablerewriter.h"

class ProjectInfo;

// What the depth and the azimuth corrections and the upward conversion
// share: a worker that opens its
// own named connection to the project file, writes a new image table inside
// one transaction and swaps it in for bigImages. The file either gets the
// whole corrected table or stays exactly as it was (failure, cancel, crash).
//
// A subclass supplies the main step, correctImages(): it emits
// signalImagesCount() once, then signalOneImageProcessed() per step, inserts
// every output piece through encodeLater() or insertInOrder() (or
// insertNewBigImageIntoTable() / insertStoredPiece() when nothing is being
// encoded), and stops early once rewriter().shouldStop(). After the swap
// it moves the project's structure picks the way it moved the wall, in the
// same transaction (correctPicks()).
class CorrectionThread : public QThread
{
    Q_OBJECT

public:
    ~CorrectionThread() override;

    // True once a run has committed the corrected table.
    bool succeeded() const { return m_succeeded.load(); }
    // The run ended because canceled() asked it to (the file is unchanged).
    bool wasCanceled() const { return m_canceled.load(); }

    // Why the last run failed, in the user's words ("the disk is full", "the
    // folder ... is read-only", "the structure-pick table cannot be read
    // (...)"); empty after a success or a cancel.
    QString failureText() const { return m_failureText; }

    // A structurePicks table that cannot be read fails the run unless the
    // user agreed to correct the wall without moving the picks.
    void setLeavePicks(bool leave) { m_leavePicks = leave; }
    // After a successful run: the picks table could not be read and was left
    // as it was.
    bool picksLeft() const { return m_picksLeft; }
    // After a successful run: picks left where they were because a value the
    // correction needs was missing or no number.
    int picksNotMoved() const { return m_picksNotMoved; }

    // Access to the transaction helper (connection pragmas for tests).
    BigImageTableRewriter &rewriter() { return m_rewriter; }

    bool addNewTableOfBigImages();
    // Encodes image as "JPG" and inserts it with the given id. A null image
    // is skipped. An id that is not above the last inserted one is moved
    // just below it (one depth unit deeper), so no two pieces collide.
    bool insertNewBigImageIntoTable(const QImage &image, int id);
    // Inserts the bytes a piece is stored with, unchanged (a piece that
    // needs no change, or one that cannot be decoded and must not be lost).
    bool insertStoredPiece(const QByteArray &bytes, int id);
    void deleteOldTableAndRenameNewTable();

    // Decodes a stored piece as "JPG" into 0xffRRGGBB pixels; null when the
    // bytes are not a picture.
    static QImage decodePiece(const QByteArray &bytes);

signals:
    void signalProcessFinished();
    void signalImagesCount(int count);
    void signalOneImageProcessed(int number);

public slots:
    // Asks the running correction to stop; it rolls its rewrite back at its
    // next piece, so the project file is left as it was.
    void canceled();

protected:
    CorrectionThread(const QString &path, const QString &connectionName, bool prefixedLogs,
                     QObject *parent);

    void run() override;
    // The main step, on the open connection inside the transaction.
    virtual void correctImages(QSqlDatabase &db) = 0;
    // Corrects the stored structure picks on the open connection, inside the
    // transaction, after the new table is in place. False (with *error) fails
    // the whole run. Nothing to do by default.
    virtual bool correctPicks(QSqlDatabase &db, QString *error);
    // Name of the run in the log ("depth correction", "angle correction").
    virtual QString runName() const = 0;
    // The statement that creates newBigImages.
    virtual QString createStatement() const;
    // Statements run right after newBigImages took the place of bigImages,
    // in the same transaction. None by default.
    virtual QStringList recordUpdates() const { return {}; }
    // Logs the insertion of a piece with the given id; encoded: its JPEG
    // encoding succeeded.
    virtual void logInsertion(int id, bool encoded) const;

    // Pieces whose id lies outside (low, high] would be lost by a rewrite
    // that reads only that range: true when there are none. Emits nothing.
    bool allPiecesWithin(QSqlDatabase &db, qint64 low, qint64 high, int *count);
    int lastInsertedId() const { return m_rewriter.insertedCount() > 0 ? m_rewriter.lastInsertedId() : 0; }

    // insertNewBigImageIntoTable() with the encoding on a second thread: the
    // rows are copied, so the caller may reuse image at once and decode the
    // next piece while this one is encoded. Pieces reach the table in the
    // order they are handed over; insertInOrder() is insertStoredPiece() in
    // that order. run() inserts the last piece after correctImages().
    void encodeLater(const QImage &image, int id);
    void insertInOrder(const QByteArray &bytes, int id);
    // Inserts the piece being encoded, if any.
    void takeEncoded();

    QString m_projectPath;
    ProjectInfo *m_projectInfo = nullptr;
    BigImageTableRewriter m_rewriter;
    // Set by correctPicks().
    int m_picksNotMoved = 0;

private:
    bool insertBytes(const QByteArray &bytes, int id);

    BackgroundEncoder m_encoder;
    QString m_connectionName;
    bool m_prefixedLogs = false;
    std::atomic<bool> m_succeeded{false};
    std::atomic<bool> m_canceled{false};
    bool m_leavePicks = false;
    bool m_picksLeft = false;
    QString m_failureText;
};

#endif // CORRECTIONTHREAD_H
