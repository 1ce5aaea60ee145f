// The transaction helper shared by the workers that rewrite bigImages.

#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "bigimagetablerewriter.h"
#include "conversionfixture.h"
#include "samplefixture.h"

using namespace ConversionFixture;

class TestBigImageTableRewriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void commitsTheWholeSwap();
    void failedStatementRollsEverythingBack();
    void cancelFromAnotherThreadRollsBack();
    void leftoverTableIsDroppedInsideTheTransaction();
    void dropWhileReadingFailsSafely();
    void jpegRoundTrip();

private:
    QSqlDatabase openWorkCopy();
    void swap(BigImageTableRewriter &rewriter);

    QTemporaryDir m_dir;
    QString m_sample;
    QString m_work;
    int m_round = 0;
};

void TestBigImageTableRewriter::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_sample = m_dir.filePath(QStringLiteral("sample.prj"));
    QVERIFY(SampleFixture::make(m_sample, {"--to", "3", "--width", "200"}));
}

void TestBigImageTableRewriter::init()
{
    m_work = m_dir.filePath(QStringLiteral("work%1.prj").arg(++m_round));
    QVERIFY(QFile::copy(m_sample, m_work));
}

void TestBigImageTableRewriter::cleanup()
{
    QSqlDatabase::removeDatabase(QStringLiteral("rewriter-test"));
}

QSqlDatabase TestBigImageTableRewriter::openWorkCopy()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rewriter-test"));
    db.setDatabaseName(m_work);
    db.open();
    return db;
}

void TestBigImageTableRewriter::swap(BigImageTableRewriter &rewriter)
{
    rewriter.exec(QStringLiteral("DROP TABLE bigImages"));
    rewriter.exec(QStringLiteral("ALTER TABLE newBigImages rename  to bigImages"));
}

void TestBigImageTableRewriter::commitsTheWholeSwap()
{
    QImage piece(200, 50, QImage::Format_RGB32);
    piece.fill(qRgb(10, 200, 30));
    QByteArray bytes;
    QVERIFY(BigImageTableRewriter::encodeJpeg(piece, &bytes));
    {
        QSqlDatabase db = openWorkCopy();
        QVERIFY(db.isOpen());
        BigImageTableRewriter rewriter;
        rewriter.attach(db);
        QVERIFY(rewriter.begin());
        QVERIFY(rewriter.inTransaction());
        QVERIFY(rewriter.exec(QStringLiteral("create table newBigImages (id integer primary key, data blob)")));
        QVERIFY(rewriter.insertPiece(5000, bytes));
        QVERIFY(rewriter.insertPiece(7000, bytes));
        QCOMPARE(rewriter.insertedCount(), 2);
        QCOMPARE(rewriter.lastInsertedId(), 7000);
        swap(rewriter);
        QVERIFY(!rewriter.failed());
        QVERIFY(rewriter.finish());
        QVERIFY(rewriter.committed());
        rewriter.detach();
        db.close();
    }
    const FileState after = readState(m_work);
    QCOMPARE(after.ids(), (QList<int>{5000, 7000}));
    QVERIFY(!after.hasNewTable);
}

void TestBigImageTableRewriter::failedStatementRollsEverythingBack()
{
    const FileState before = readState(m_work);
    {
        QSqlDatabase db = openWorkCopy();
        BigImageTableRewriter rewriter;
        rewriter.attach(db);
        QVERIFY(rewriter.begin());
        QVERIFY(rewriter.exec(QStringLiteral("create table newBigImages (id integer primary key, data blob)")));
        QVERIFY(rewriter.insertPiece(1, QByteArray("x")));
        // The same id twice: the insert fails and the rewrite is spoilt.
        QVERIFY(!rewriter.insertPiece(1, QByteArray("y")));
        QVERIFY(rewriter.failed());
        QVERIFY(rewriter.shouldStop());
        QVERIFY(!rewriter.lastError().isEmpty());
        // Even a swap issued after the failure is undone.
        swap(rewriter);
        QVERIFY(!rewriter.finish());
        QVERIFY(!rewriter.committed());
        QVERIFY(!rewriter.inTransaction());
        rewriter.detach();
        db.close();
    }
    const FileState after = readState(m_work);
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
}

void TestBigImageTableRewriter::cancelFromAnotherThreadRollsBack()
{
    const FileState before = readState(m_work);
    {
        QSqlDatabase db = openWorkCopy();
        BigImageTableRewriter rewriter;
        rewriter.attach(db);
        QVERIFY(rewriter.begin());
        QVERIFY(rewriter.exec(QStringLiteral("create table newBigImages (id integer primary key, data blob)")));
        QThread *other = QThread::create([&rewriter]() { rewriter.requestCancel(); });
        other->start();
        QVERIFY(other->wait(10000));
        delete other;
        QVERIFY(rewriter.cancelRequested());
        QVERIFY(rewriter.shouldStop());
        QVERIFY(!rewriter.failed());
        swap(rewriter);
        QVERIFY(!rewriter.finish());
        rewriter.detach();
        db.close();
    }
    QCOMPARE(readState(m_work).hash, before.hash);
}

void TestBigImageTableRewriter::leftoverTableIsDroppedInsideTheTransaction()
{
    QVERIFY(execOn(m_work, {QStringLiteral("create table newBigImages (id integer primary key, data blob)"),
                            QStringLiteral("insert into newBigImages values (123, 'stale')")}));
    {
        // Dropped by begin(), but a rollback brings it back untouched.
        QSqlDatabase db = openWorkCopy();
        BigImageTableRewriter rewriter;
        rewriter.attach(db);
        QVERIFY(rewriter.begin());
        QVERIFY(!db.tables().contains(QStringLiteral("newBigImages")));
        QVERIFY(rewriter.exec(QStringLiteral("create table newBigImages (id integer primary key, data blob)")));
        rewriter.requestCancel();
        QVERIFY(!rewriter.finish());
        QVERIFY(db.tables().contains(QStringLiteral("newBigImages")));
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("select id from newBigImages")) && q.next());
        QCOMPARE(q.value(0).toInt(), 123);
        q.finish();
        rewriter.detach();
        db.close();
    }
}

void TestBigImageTableRewriter::dropWhileReadingFailsSafely()
{
    // A worker that forgets to finish its read of bigImages before the swap
    // gets a failed DROP, and the whole rewrite is undone.
    const FileState before = readState(m_work);
    {
        QSqlDatabase db = openWorkCopy();
        BigImageTableRewriter rewriter;
        rewriter.attach(db);
        QVERIFY(rewriter.begin());
        QVERIFY(rewriter.exec(QStringLiteral("create table newBigImages (\t\t\t\t\t\t  id integer primary key,"
                                             "\t\t\t\t\t\t  data blob)")));
        QSqlQuery reading(db);
        reading.setForwardOnly(true);
        QVERIFY(rewriter.execPrepared(&reading,
                                      QStringLiteral("select id ,data from bigImages where id > ? AND id <= ?"),
                                      {0, 30000}));
        QVERIFY(reading.next());
        QVERIFY(rewriter.insertPiece(reading.value(0).toInt(), reading.value(1).toByteArray()));
        QVERIFY(!rewriter.exec(QStringLiteral("DROP TABLE bigImages")));
        QVERIFY(rewriter.failed());
        QVERIFY(rewriter.shouldStop());
        reading.finish();
        QVERIFY(!rewriter.finish());
        rewriter.detach();
        db.close();
    }
    const FileState after = readState(m_work);
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
}

void TestBigImageTableRewriter::jpegRoundTrip()
{
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(qRgb(120, 130, 140));
    QByteArray bytes;
    QVERIFY(BigImageTableRewriter::encodeJpeg(image, &bytes));
    QVERIFY(bytes.startsWith("\xff\xd8"));
    const QImage back = decode(bytes);
    QCOMPARE(back.size(), image.size());
    QVERIFY(qAbs(qRed(back.pixel(10, 10)) - 120) <= 3);
    QVERIFY(!BigImageTableRewriter::encodeJpeg(QImage(), &bytes));
}

QTEST_MAIN(TestBigImageTableRewriter)
#include "tst_bigimagetablerewriter.moc"
