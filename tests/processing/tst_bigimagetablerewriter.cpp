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

namespace {

const QString kCreateNew = QStringLiteral("create table newBigImages (id integer primary key, data blob)");

// The test's own connection to a file with a rewriter attached to it.
struct Session
{
    QSqlDatabase db;
    BigImageTableRewriter rewriter;
    explicit Session(const QString &path)
        : db(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rewriter-test")))
    {
        db.setDatabaseName(path);
        db.open();
        rewriter.attach(db);
    }
    ~Session()
    {
        rewriter.detach();
        db.close();
    }
    void swap()
    {
        rewriter.exec(QStringLiteral("DROP TABLE bigImages"));
        rewriter.exec(QStringLiteral("ALTER TABLE newBigImages rename  to bigImages"));
    }
};

} // namespace

class TestBigImageTableRewriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void commitsTheWholeSwap();
    void spoiltRewriteRollsEverythingBack_data();
    void spoiltRewriteRollsEverythingBack();
    void leftoverTableIsDroppedInsideTheTransaction();
    void jpegRoundTrip();

private:
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

void TestBigImageTableRewriter::commitsTheWholeSwap()
{
    QImage piece(200, 50, QImage::Format_RGB32);
    piece.fill(qRgb(10, 200, 30));
    QByteArray bytes;
    QVERIFY(BigImageTableRewriter::encodeJpeg(piece, &bytes));
    {
        Session s(m_work);
        QVERIFY(s.db.isOpen());
        QVERIFY(s.rewriter.begin());
        QVERIFY(s.rewriter.inTransaction());
        QVERIFY(s.rewriter.exec(kCreateNew));
        QVERIFY(s.rewriter.insertPiece(5000, bytes));
        QVERIFY(s.rewriter.insertPiece(7000, bytes));
        QCOMPARE(s.rewriter.insertedCount(), 2);
        QCOMPARE(s.rewriter.lastInsertedId(), 7000);
        s.swap();
        QVERIFY(!s.rewriter.failed());
        QVERIFY(s.rewriter.finish());
        QVERIFY(s.rewriter.committed());
    }
    const FileState after = readState(m_work);
    QCOMPARE(after.ids(), (QList<int>{5000, 7000}));
    QVERIFY(!after.hasNewTable);
}

void TestBigImageTableRewriter::spoiltRewriteRollsEverythingBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("failed insert") << "insert";
    QTest::newRow("cancel from another thread") << "cancel";
    // A worker that forgets to finish its read of bigImages before the swap
    // gets a failed DROP.
    QTest::newRow("drop while reading") << "drop";
}

void TestBigImageTableRewriter::spoiltRewriteRollsEverythingBack()
{
    QFETCH(QString, how);
    const FileState before = readState(m_work);
    {
        Session s(m_work);
        QVERIFY(s.rewriter.begin());
        QVERIFY(s.rewriter.exec(kCreateNew));
        QSqlQuery reading(s.db);
        if (how == QLatin1String("insert")) {
            QVERIFY(s.rewriter.insertPiece(1, QByteArray("x")));
            QVERIFY(!s.rewriter.insertPiece(1, QByteArray("y")));   // the same id twice
            QVERIFY(!s.rewriter.lastError().isEmpty());
        } else if (how == QLatin1String("cancel")) {
            QThread *other = QThread::create([&s]() { s.rewriter.requestCancel(); });
            other->start();
            QVERIFY(other->wait(10000));
            delete other;
            QVERIFY(s.rewriter.cancelRequested());
        } else {
            reading.setForwardOnly(true);
            QVERIFY(s.rewriter.execPrepared(
                &reading, QStringLiteral("select id ,data from bigImages where id > ? AND id <= ?"), {0, 30000}));
            QVERIFY(reading.next());
            QVERIFY(s.rewriter.insertPiece(reading.value(0).toInt(), reading.value(1).toByteArray()));
            QVERIFY(!s.rewriter.exec(QStringLiteral("DROP TABLE bigImages")));
            reading.finish();
        }
        QCOMPARE(s.rewriter.failed(), how != QLatin1String("cancel"));
        QVERIFY(s.rewriter.shouldStop());
        // Even a swap issued afterwards is undone.
        s.swap();
        QVERIFY(!s.rewriter.finish());
        QVERIFY(!s.rewriter.committed());
        QVERIFY(!s.rewriter.inTransaction());
    }
    const FileState after = readState(m_work);
    QCOMPARE(after.hash, before.hash);
    QVERIFY(!after.hasNewTable);
}

void TestBigImageTableRewriter::leftoverTableIsDroppedInsideTheTransaction()
{
    QVERIFY(execOn(m_work, {kCreateNew, QStringLiteral("insert into newBigImages values (123, 'stale')")}));
    {
        // Dropped by begin(), but a rollback brings it back untouched.
        Session s(m_work);
        QVERIFY(s.rewriter.begin());
        QVERIFY(!s.db.tables().contains(QStringLiteral("newBigImages")));
        QVERIFY(s.rewriter.exec(kCreateNew));
        s.rewriter.requestCancel();
        QVERIFY(!s.rewriter.finish());
        QSqlQuery q(s.db);
        QVERIFY(q.exec(QStringLiteral("select id from newBigImages")) && q.next());
        QCOMPARE(q.value(0).toInt(), 123);
    }
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
