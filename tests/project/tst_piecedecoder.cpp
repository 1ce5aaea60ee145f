// Hostile pieces: a JPEG header that claims a huge size is refused by every
// reader of the project without allocating what it claims, and the rest of
// the project still reads. The readers run in a child process whose address
// space is limited, so that a reader that believes the header fails there
// instead of taking the machine's memory.

#include "globals.h"
#include "kdimage.h"
#include "piecedecoder.h"
#include "projectinfo.h"
#include "projecttesthelpers.h"
#include "qquerybigimages.h"
#include "readbigimagethread.h"
#include "samplefixture.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTextStream>
#include <QEventLoop>
#include <QtTest>

using namespace ProjectTest;

namespace {

const int kChildLimitMiB = 1024;

// Child: opens the project as the main window does, reads every piece with
// the page reader and the whole range with the report reader in 2 m pages,
// and prints what each delivered.
int hostileRead(const QString &routine, const QStringList &args)
{
    if (routine != QLatin1String("hostile-read") || args.size() != 1)
        return 3;
    const QString path = args.first();
    QTextStream out(stdout);

    openProject(path);
    ProjectInfo *info = ProjectInfo::instance();
    out << "record " << info->maxDepth() << ' ' << info->imageWidth() << '\n';

    QList<KdImage> images;
    {
        ReadBigImageThread reader(path, 0, info->maxDepth());
        QObject::connect(&reader, &ReadBigImageThread::readOneBigImage, &reader,
                         [&images](KdImage image) { images << image; }, Qt::DirectConnection);
        // The reader goes on as this thread's events acknowledge its pieces.
        QEventLoop loop;
        QObject::connect(&reader, &QThread::finished, &loop, &QEventLoop::quit);
        reader.start();
        loop.exec();
        reader.wait();
    }
    for (const KdImage &image : images)
        out << "piece " << image.endDepth() << ' ' << image.image().width() << '\n';

    pixelsPerUnit = info->computePixelFactor();
    QQueryBigImages report;
    if (!report.open(path))
        return 4;
    QObject::connect(&report, &QQueryBigImages::ProgressingImageJointer, &report,
                     [&out](QImage page, int depth) {
                         out << "page " << depth << ' ' << page.width() << ' ' << page.height() << '\n';
                     },
                     Qt::DirectConnection);
    report.queryRange(0, (info->maxDepth() + 9999) / 10000, 20000);
    report.close();
    info->reset();
    return 0;
}

} // namespace

class TestPieceDecoder : public QObject
{
    Q_OBJECT

private slots:
    void decodesIntoTheCallersRows_data();
    void decodesIntoTheCallersRows();
    void hugeHeadersAreRefusedByEveryReader();
};

void TestPieceDecoder::hugeHeadersAreRefusedByEveryReader()
{
#ifndef Q_OS_UNIX
    QSKIP("the child's memory limit needs setrlimit");
#endif
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // Six 1 m pieces of 400 px; the third claims 65 500 x 65 500 pixels (the
    // largest a JPEG decoder takes), the deepest 20 000 x 14 000, just over
    // 2^28 pixels.
    const QString path = makeSample(dir, QStringLiteral("hostile.prj"),
                                    {"--to", "6", "--width", "400", "--huge-header", "2",
                                     "--huge-header", "5:20000x14000"});
    QVERIFY(!path.isEmpty());

    const ChildResult child = runChild(QStringLiteral("hostile-read"), {path}, kChildLimitMiB);
    QVERIFY2(child.finished && !child.crashed, qPrintable(child.err.right(2000)));
    QCOMPARE(child.exitCode, 0);

    const QStringList lines = child.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The record: the deepest id, and the width of the deepest piece that
    // decodes.
    QCOMPARE(lines.filter(QRegularExpression("^record ")), QStringList{"record 60000 400"});
    // The page reader delivers every piece; the two hostile ones are null.
    QCOMPARE(lines.filter(QRegularExpression("^piece ")),
             QStringList({"piece 10000 400", "piece 20000 400", "piece 30000 0", "piece 40000 400",
                          "piece 50000 400", "piece 60000 0"}));
    // The report reader makes its three pages, the hostile pieces as white
    // rows of their depth span: 2 m of rows each.
    const QStringList pages = lines.filter(QRegularExpression("^page "));
    QCOMPARE(pages.size(), 3);
    const double rowsPerPage = 20000 * 400 / (1000 * 3.14);
    for (int i = 0; i < pages.size(); ++i) {
        const QStringList fields = pages.at(i).split(QLatin1Char(' '));
        QCOMPARE(fields.at(1).toInt(), 20000 * (i + 1));
        QCOMPARE(fields.at(2).toInt(), 400);
        QVERIFY2(qAbs(fields.at(3).toInt() - rowsPerPage) <= 3, qPrintable(pages.at(i)));
    }

    // Each refusal is logged with the size claimed; nothing tried to
    // allocate beyond the limit.
    QVERIFY(child.err.contains(QLatin1String("QImage Load Fail (the piece claims 65500 x 65500 pixels)")));
    QVERIFY(child.err.contains(QLatin1String("QImage Load Fail (the piece claims 20000 x 14000 pixels)")));
    QVERIFY2(!child.err.contains(QLatin1String("out of memory"), Qt::CaseInsensitive)
                 && !child.err.contains(QLatin1String("Insufficient memory")),
             qPrintable(child.err.right(2000)));
}

void TestPieceDecoder::decodesIntoTheCallersRows_data()
{
    QTest::addColumn<bool>("grey");
    QTest::addColumn<int>("viewRows");   // rows of the caller's view
    QTest::addColumn<bool>("inPlace");   // the pixels land in the caller's memory
    QTest::newRow("colour piece, view of its size") << false << 30 << true;
    QTest::newRow("colour piece, view one row short") << false << 29 << false;
    QTest::newRow("grey piece, 32-bit view of its size") << true << 30 << false;
}

void TestPieceDecoder::decodesIntoTheCallersRows()
{
    // A rewrite decodes a piece straight into rows of its own buffer when
    // they fit; otherwise it gets the decoded piece as decode() gives it and
    // its buffer is left alone.
    QFETCH(bool, grey);
    QFETCH(int, viewRows);
    QFETCH(bool, inPlace);
    QImage source(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            source.setPixel(x, y, qRgb(x * 6, y * 8, (x + y) * 3));
    if (grey)
        source = source.convertToFormat(QImage::Format_Grayscale8);
    QByteArray bytes;
    QBuffer out(&bytes);
    QVERIFY(out.open(QIODevice::WriteOnly) && source.save(&out, "JPG"));
    const QImage expected = PieceDecoder::decode(bytes);
    QVERIFY(!expected.isNull());

    QImage buffer(40, 100, QImage::Format_RGB32);
    buffer.fill(Qt::magenta);
    QImage view(buffer.bits() + 10 * buffer.bytesPerLine(), 40, viewRows, buffer.bytesPerLine(),
                QImage::Format_RGB32);
    QVERIFY(PieceDecoder::decodeInto(bytes, &view));
    QCOMPARE(view, expected);
    QCOMPARE(view.constBits() == buffer.constBits() + 10 * buffer.bytesPerLine(), inPlace);
    const QImage written = buffer.copy(0, 10, 40, 30);
    if (inPlace)
        QCOMPARE(written, expected);
    else
        QCOMPARE(written.pixel(5, 5), QColor(Qt::magenta).rgb());
    QCOMPARE(buffer.pixel(5, 9), QColor(Qt::magenta).rgb());
    QCOMPARE(buffer.pixel(5, 40), QColor(Qt::magenta).rgb());
}

int main(int argc, char **argv)
{
    return testMain<TestPieceDecoder>(argc, argv, &hostileRead);
}

#include "tst_piecedecoder.moc"
