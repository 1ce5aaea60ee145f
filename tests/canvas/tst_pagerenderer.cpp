// Page rendering: the pieces a page is cut into and their file names, what a
// piece holds, and pages that cannot be saved.

#include <QDir>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicstopscaleitem.h"
#include "pagerenderer.h"
#include "../project/projecttesthelpers.h"

namespace {

// A page laid out as the main window lays it out: image column at x = 1300,
// y = 120, in one plain colour, 0.1 image rows per depth unit.
struct Page
{
    Page(int start, int end, int width = 200)
        : start(start)
        , end(end)
    {
        const int rows = int((end - start) * 0.02);
        QImage image(width, rows, QImage::Format_RGB32);
        image.fill(QColor(150, 40, 30));
        auto *pixmap = scene.addPixmap(QPixmap::fromImage(image));
        pixmap->setOffset(1300, 120);
        scene.setSceneRect(0, 0, width + 2600, rows + 240);
        left = new GraphicsLeftScaleItem;
        left->setLine(1300, 120, 1300, 120 + rows);
        left->setStartDepth(start);
        left->setEndDepth(end);
        scene.addItem(left);
        scene.addItem(new GraphicsTopScaleItem(QLineF(1300, 120, 1300 + width, 120)));
    }

    PageRenderer renderer() { return PageRenderer(&scene, left, start, end); }

    GraphicsScene scene;
    GraphicsLeftScaleItem *left = nullptr;
    int start;
    int end;
};

} // namespace

class TestPageRenderer : public QObject
{
    Q_OBJECT

private slots:
    void piecesAndNames_data();
    void piecesAndNames();
    void pieceContents();
    void failuresAreReported_data();
    void failuresAreReported();
    void failedWriteKeepsTheEarlierPicture_data();
    void failedWriteKeepsTheEarlierPicture();
};

void TestPageRenderer::piecesAndNames_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("step");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("12.0-16.5 m in 2 m steps") << 120000 << 165000 << 20000
                                           << QStringList{"p.jpg(12.00-14.00m).jpg", "p.jpg(14.00-16.00m).jpg",
                                                          "p.jpg(16.00-16.50m).jpg"};
    QTest::newRow("exact multiple: no short piece") << 120000 << 160000 << 20000
                                                 << QStringList{"p.jpg(12.00-14.00m).jpg", "p.jpg(14.00-16.00m).jpg"};
    QTest::newRow("one unit over: a second piece one unit deep")
        << 0 << 20001 << 20000 << QStringList{"p.jpg(0.00-2.00m).jpg", "p.jpg(2.00-2.00m).jpg"};
}

void TestPageRenderer::piecesAndNames()
{
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(int, step);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    Page page(start, end);
    PageRenderer renderer = page.renderer();
    QCOMPARE(PageRenderer::pieceCount(end - start, step), names.size());
    QVERIFY(renderer.renderPage(step, dir.filePath(QStringLiteral("p.jpg")), false, false));
    QStringList written;
    for (const QString &file : renderer.writtenFiles())
        written << QFileInfo(file).fileName();
    QCOMPARE(written, names);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), names.size());
    for (const QString &name : names)
        QVERIFY(!QImage(dir.filePath(name)).isNull());
}

void TestPageRenderer::pieceContents()
{
    Page page(0, 50000);
    PageRenderer renderer = page.renderer();
    // Bare image column: exactly the wall, no scales.
    const QImage column = renderer.renderPiece(0, 20000, true);
    QCOMPARE(column.size(), QSize(200, 400));
    QCOMPARE(column.pixelColor(100, 200), QColor(150, 40, 30));
    QCOMPARE(column.pixelColor(2, 2), QColor(150, 40, 30));

    // Interpreted piece: the whole scene width, the header band above the rows
    // of the piece; the wall sits at x = 1300 under the band.
    const QImage piece = renderer.renderPiece(20000, 40000, false);
    QCOMPARE(piece.size(), QSize(2800, 400 + 120));
    QCOMPARE(piece.pixelColor(1400, 120 + 200), QColor(150, 40, 30));
    QCOMPARE(piece.pixelColor(600, 300), QColor(Qt::white));
    // The depth scale is back in view after the band was drawn without it.
    QVERIFY(page.left->isVisible());
}

void TestPageRenderer::failuresAreReported_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("withScale");
    QTest::newRow("step 0") << 0 << true;
    QTest::newRow("page without depth scale") << 20000 << false;
}

void TestPageRenderer::failuresAreReported()
{
    QFETCH(int, step);
    QFETCH(bool, withScale);
    QTemporaryDir dir;
    Page page(0, 30000);
    PageRenderer renderer(&page.scene, withScale ? page.left : nullptr, 0, 30000);
    QVERIFY(!renderer.renderPage(step, dir.filePath(QStringLiteral("p.jpg")), false, false));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    // A picture without a page interval has nothing to save either.
    PageRenderer empty(&page.scene, page.left, 0, 0);
    QVERIFY(!empty.renderPage(20000, dir.filePath(QStringLiteral("p.jpg")), true, false));
}

void TestPageRenderer::failedWriteKeepsTheEarlierPicture_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<QString>("cause");
    QTest::newRow("disk full") << true << "the disk is full";
    QTest::newRow("read-only folder") << false << "is read-only";
}

void TestPageRenderer::failedWriteKeepsTheEarlierPicture()
{
    QFETCH(bool, fullDisk);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("p.jpg"));
    Page page(0, 50000, 400);
    PageRenderer first = page.renderer();
    QVERIFY(first.renderPage(50000, base, false, false));
    QCOMPARE(first.writtenFiles().size(), 1);
    const QString picture = first.writtenFiles().first();
    const QByteArray before = ProjectTest::fileHash(picture);
    const qint64 limit = 8 * 1024;
    QVERIFY2(QFileInfo(picture).size() > 2 * limit, "the picture must not fit under the limit");

    QString error;
    if (fullDisk) {
        const auto child = ProjectTest::runChild(QStringLiteral("save"), {base}, limit, ProjectTest::Limit::FileBytes);
        QVERIFY(child.finished);
        QCOMPARE(child.printed(QStringLiteral("saved")), QStringLiteral("no"));
        error = child.printed(QStringLiteral("error"));
    } else {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        PageRenderer again = page.renderer();
        QVERIFY(!again.renderPage(50000, base, false, false));
        error = again.writeError();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QVERIFY2(error.contains(cause), qPrintable(error));
    QCOMPARE(ProjectTest::fileHash(picture), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(picture).fileName()});
}

namespace {

// Child of failedWriteKeepsTheEarlierPicture: saves the page to args[0].
int fullDiskChild(const QString &routine, const QStringList &args)
{
    if (routine != QLatin1String("save") || args.isEmpty())
        return 2;
    Page page(0, 50000, 400);
    PageRenderer renderer = page.renderer();
    const bool saved = renderer.renderPage(50000, args.first(), false, false);
    ProjectTest::print(QStringLiteral("saved"), saved ? QStringLiteral("yes") : QStringLiteral("no"));
    ProjectTest::print(QStringLiteral("error"), renderer.writeError());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    return ProjectTest::testMain<TestPageRenderer>(argc, argv, fullDiskChild);
}
#include "tst_pagerenderer.moc"
