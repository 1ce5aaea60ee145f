#ifndef BIGIMAGETABLEREWRITER_H
#define BIGIMAGETABLEREWRITER_H

#include <QByteArray>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

// The safe part of rewriting the big-image table, shared by the workers that
// write a new newBigImages table and swap it in for bigImages.
//
// The whole rewrite runs as one SQLite transaction on the worker's own
// connection: begin() takes the write lock and removes a newBigImages left
// over from an interrupted older run, the worker then creates the table,
// inserts its pieces and issues the swap statements through exec() and
// insertPiece(), and finish() commits. If any statement failed, or a cancel
// was requested, finish() rolls everything back instead, so the file is left
// exactly as it was. A crash or a kill in between leaves SQLite's journal,
// which rolls the file back on its next opening.
//
// Threads: attach(), begin(), exec(), insertPiece(), finish() and detach()
// run on the worker thread; requestCancel() may be called from any thread.
//
// A worker's run() with it (its canceled() slot only calls requestCancel()):
//
//     open the worker's own connection db;
//     rewriter.attach(db);
//     if (rewriter.begin()) {
//         rewriter.exec(createStatement);              // addNewTableOfBigImages()
//         for each output piece, until rewriter.shouldStop():
//             encodeJpeg(piece, &bytes); rewriter.insertPiece(id, bytes);
//         if (!rewriter.shouldStop()) {                // deleteOldTableAndRenameNewTable()
//             rewriter.exec("DROP TABLE bigImages");
//             rewriter.exec("ALTER TABLE newBigImages rename  to bigImages");
//         }
//     }
//     const bool ok = rewriter.finish();               // commit, or roll back
//     rewriter.detach(); close db; emit signalProcessFinished();
//
// Read queries on bigImages must be finished before the DROP (SQLite refuses
// to drop a table that a running statement of the connection reads).
class BigImageTableRewriter
{
public:
    BigImageTableRewriter() = default;
    ~BigImageTableRewriter();

    BigImageTableRewriter(const BigImageTableRewriter &) = delete;
    BigImageTableRewriter &operator=(const BigImageTableRewriter &) = delete;

    // Statements run on the connection right after attach(), before the
    // transaction (tests use "PRAGMA max_page_count = ..." to fill the disk).
    void setConnectionPragmas(const QStringList &statements) { m_pragmas = statements; }
    QStringList connectionPragmas() const { return m_pragmas; }

    // Uses db (open, owned by the caller) for the rewrite and resets the
    // state of an earlier run except a cancel request.
    void attach(const QSqlDatabase &db);
    // Drops every handle on the connection so the caller can close it.
    void detach();

    // BEGIN IMMEDIATE, then drop a leftover newBigImages. False (and failed())
    // when the file cannot be locked for writing or the drop fails.
    bool begin();
    bool inTransaction() const { return m_inTransaction; }

    // Executes one statement inside the transaction; a failure marks the
    // rewrite as failed. The error text is in lastError().
    bool exec(const QString &statement);
    // Executes a prepared statement with positional values (a failure marks the
    // rewrite as failed). Rows, if any, are left in *query for the caller.
    bool execPrepared(QSqlQuery *query, const QString &statement, const QVariantList &values);

    // Encodes image as "JPG" at the encoder's default quality.
    static bool encodeJpeg(const QImage &image, QByteArray *bytes);
    // INSERT INTO newBigImages; a failure marks the rewrite as failed.
    bool insertPiece(int id, const QByteArray &jpeg);
    int insertedCount() const { return m_insertedCount; }
    int lastInsertedId() const { return m_lastInsertedId; }

    // Commits when nothing failed and no cancel was requested, otherwise
    // rolls back. True only when the new table was committed.
    bool finish();
    bool committed() const { return m_committed; }

    // After a committed rewrite the old table's pages are free: when they are
    // more than a quarter of the file and the disk has room for a copy of it
    // (twice its size), VACUUM gives them back. VACUUM works through SQLite's
    // journal like any change, so a kill leaves the file whole. True when it
    // ran and succeeded; a failure leaves the file as it was.
    bool compact();

    void markFailed(const QString &reason);
    // A failed statement: also keeps why in the user's words.
    void markFailed(const QSqlError &error);
    bool failed() const { return m_failed; }
    QString lastError() const { return m_lastError; }
    // Why the rewrite failed, for the user: "the disk is full", "the file
    // is locked by another program", ...; the last error text otherwise.
    QString failureCause() const;

    // Cancel: a request that the worker notices at its next piece.
    void requestCancel() { m_cancel.store(true); }
    bool cancelRequested() const { return m_cancel.load(); }
    // The worker should stop its main step (failure or cancel).
    bool shouldStop() const { return m_failed || m_cancel.load(); }

private:
    // The file of the connection (its name may be an SQLite URI).
    QString filePath() const;

    QSqlDatabase m_db;
    std::unique_ptr<QSqlQuery> m_insert;
    QStringList m_pragmas;
    std::atomic<bool> m_cancel{false};
    bool m_inTransaction = false;
    bool m_failed = false;
    bool m_committed = false;
    int m_insertedCount = 0;
    int m_lastInsertedId = 0;
    QString m_lastError;
    QString m_cause;
};

#endif // BIGIMAGETABLEREWRITER_H
