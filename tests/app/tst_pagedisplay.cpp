// Page display of the main window: opening projects and pictures, the page
// geometry, the page commands (Go, Next, Previous, Stop) and their messages.

#include <QAbstractSpinBox>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QGraphicsPixmapItem>
#include <QProgressBar>
#include <QSpinBox>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <cmath>

#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicsview.h"
#include "graphicstopscaleitem.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "mouselabel.h"
#include "projectinfo.h"
#include "settings.h"
#include "shelltestsupport.h"

namespace {

// Decoded piece `id` of the project at path.
QImage storedPiece(const QString &path, int id)
{
    QImage stored;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("piece"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("select data from bigImages where id = %1").arg(id)) && q.next())
                stored = ReadBigImageThread::decodeImage(q.value(0).toByteArray());
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("piece"));
    return stored;
}

} // namespace

using ShellTest::typeInto;

class TestPageDisplay : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void firstPageGeometry();
    void lastPieceCroppedAtRequestedEnd();
    void maxPageDepthFromWidthAndDiameter();
    void noPicturesAtTheEnds();
    void busyReadIgnoresPagingAndStopKeepsPlacedImages();
    void windowGoesAwayMidRead();
    void upwardProjectIsConvertedFirst();
    void projectWithoutDiameterOrImages();
    void missingProjectFileIsNotCreated();
    void picturesAndTheirSuffix();
    void databaseFailureIsReported();
    void deepProjectOpensAtItsStart();
    void pageStartingInsideAPiece_data();
    void pageStartingInsideAPiece();
    void newPageShownFromItsTop();
    void stopReachableWhileReading();
    void pageSameAtEveryPace();

private:
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_tenMetres;
};

void TestPageDisplay::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
    m_tenMetres = ShellTest::makeProject(m_dir, QStringLiteral("ten.prj"),
                                         {QStringLiteral("--to"), QStringLiteral("10")});
    QVERIFY(!m_tenMetres.isEmpty());
}

void TestPageDisplay::init()
{
    ReadBigImageThread::setPieceDelay(0);
    QVERIFY(!readingInProgress);
}

void TestPageDisplay::firstPageGeometry()
{
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_tenMetres);
    QCOMPARE(watcher.count(), 0);

    // Defaults: 400 px around a 100 mm hole; the first page is 0 - 5 m.
    const double ppu = 400.0 / (1000 * 3.14);
    QCOMPARE(pixelsPerUnit, ppu);
    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->pageStart(), 0);
    QCOMPARE(info->pageEnd(), 50000);

    const QList<QGraphicsPixmapItem *> images = ShellTest::pageImages(w.scene());
    QCOMPARE(images.size(), 5);
    // Piece i fills the rows between the row edges nearest its top and its
    // bottom depth, so rows never drift from their depths down the page.
    const auto edge = [ppu](int depth) { return int(std::lround(depth * ppu)); };
    for (int i = 0; i < images.size(); ++i) {
        QCOMPARE(images.at(i)->offset(), QPointF(1300, 120 + edge(i * 10000)));
        QCOMPARE(images.at(i)->pixmap().height(), edge((i + 1) * 10000) - edge(i * 10000));
        QCOMPARE(images.at(i)->pixmap().width(), 400);
    }
    const int h = edge(50000);
    QCOMPARE(info->pageHeight(), h);
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 400 + 2600, h + 240));

    QVERIFY(w.leftScale());
    QVERIFY(w.topScale());
    QCOMPARE(w.leftScale()->line(), QLineF(1300, 120, 1300, 120 + h));
    QCOMPARE(w.topScale()->line(), QLineF(1300, 120, 1700, 120));
    QCOMPARE(w.leftScale()->startDepth(), 0.0);
    QCOMPARE(w.leftScale()->endDepth(), 50000.0);
    // The depth scale puts the page end on the bottom of the column.
    QCOMPARE(w.leftScale()->depthToY(50000), 120.0 + h);

    // Everything on the page counts as page, so nothing is unsaved.
    QCOMPARE(w.scene()->baseItemCount(), w.scene()->items().size());
    QVERIFY(!w.progressBar()->isVisible());
    QCOMPARE(Settings::instance()->projectDir(), m_tenMetres);
}

void TestPageDisplay::lastPieceCroppedAtRequestedEnd()
{
    // Pieces of 2 m: the one from 4 to 6 m reaches below the 5 m page end.
    const QString path = ShellTest::makeProject(
        m_dir, QStringLiteral("twometre.prj"),
        {QStringLiteral("--to"), QStringLiteral("8"), QStringLiteral("--piece"), QStringLiteral("2")});
    QVERIFY(!path.isEmpty());

    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, path);
    QCOMPARE(watcher.count(), 0);

    const double ppu = pixelsPerUnit;
    const QList<QGraphicsPixmapItem *> images = ShellTest::pageImages(w.scene());
    QCOMPARE(images.size(), 3);
    QCOMPARE(images.at(2)->pixmap().height(), int(10000 * ppu));
    QCOMPARE(ProjectInfo::instance()->pageEnd(), 50000);
    QCOMPARE(w.leftScale()->endDepth(), 50000.0);
    QCOMPARE(w.leftScale()->line().p2().y(), w.scene()->sceneRect().height() - 120);

    // The page shows the top half of the stored piece, not its bottom half.
    const QImage stored = storedPiece(path, 60000);
    QVERIFY(!stored.isNull());
    const int keep = int(stored.height() - (60000 - 50000) * ppu);
    const auto rowsAsShown = [&](int top) {
        return stored.copy(0, top, stored.width(), keep)
            .scaled(stored.width(), int(10000 * ppu), Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage shown = images.at(2)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), rowsAsShown(0).size());
    QVERIFY(shown == rowsAsShown(0));
    QVERIFY(shown != rowsAsShown(stored.height() - keep));
}

void TestPageDisplay::maxPageDepthFromWidthAndDiameter()
{
    // 1000 px around a hole of 1000 depth units: 268435 rows fit in 1 GiB,
    // trunc(268435 * 3.14 / 10000) = 84 m.
    const QString path = ShellTest::makeProject(
        m_dir, QStringLiteral("wide.prj"),
        {QStringLiteral("--to"), QStringLiteral("2"), QStringLiteral("--width"), QStringLiteral("1000")});
    QVERIFY(!path.isEmpty());
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, path);
    QCOMPARE(maxPageDepth, 840000.0);

    // Go limits the span to it: 0 - 100 m becomes 0 - 84 m (here the data
    // ends at 2 m first).
    w.fileInfoWidget()->setEndValue(100);
    w.handleGoPressed();
    SHELL_WAIT_READ(&w);
    QCOMPARE(ProjectInfo::instance()->pageEnd(), 20000);

    // A narrower project gets its own, larger bound.
    MainWindow w2;
    SHELL_OPEN_PROJECT(&w2, m_tenMetres);
    const int rows = 1073741824 / (400 * 4);
    QCOMPARE(maxPageDepth, double(int(rows / (400.0 / 3140) / 10000)) * 10000);
    QCOMPARE(watcher.count(), 0);
}

void TestPageDisplay::noPicturesAtTheEnds()
{
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_tenMetres);
    ProjectInfo *info = ProjectInfo::instance();
    const int pageItems = w.scene()->items().size();

    // Previous from the first page.
    watcher.answerMessageBox(QMessageBox::Ok);
    w.handleLastImages();
    QTRY_COMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().last(), QStringLiteral("This is the first page."));
    QCOMPARE(w.scene()->items().size(), pageItems);
    QCOMPARE(info->pageStart(), 0);

    // Next: 5 - 10 m, with the page depth of the panel.
    w.handleNextImages();
    SHELL_WAIT_READ(&w);
    QCOMPARE(info->pageStart(), 50000);
    QCOMPARE(info->pageEnd(), 100000);
    QCOMPARE(w.leftScale()->startDepth(), 50000.0);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 5);
    QCOMPARE(watcher.count(), 1);

    // Next from the last page.
    const int lastItems = w.scene()->items().size();
    watcher.answerMessageBox(QMessageBox::Ok);
    w.handleNextImages();
    QTRY_COMPARE(watcher.count(), 2);
    QCOMPARE(watcher.texts().last(), QStringLiteral("This is the last page."));
    QCOMPARE(w.scene()->items().size(), lastItems);
    QCOMPARE(info->pageEnd(), 100000);

    // Previous goes back by the page depth (2 m here).
    w.fileInfoWidget()->pageDepthSpin->setValue(2);
    w.handleLastImages();
    SHELL_WAIT_READ(&w);
    QCOMPARE(info->pageStart(), 30000);
    QCOMPARE(info->pageEnd(), 50000);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 2);

    // The cursor read-out belongs to the page: closing the project clears it.
    MouseLabel::instance()->showPosition(1400, 32000, 400);
    QVERIFY(!MouseLabel::instance()->text().isEmpty());
    w.closePicture();
    QVERIFY(MouseLabel::instance()->text().isEmpty());
}

void TestPageDisplay::busyReadIgnoresPagingAndStopKeepsPlacedImages()
{
    ReadBigImageThread::setPieceDelay(150);
    MainWindow w;
    ModalWatcher watcher;
    w.fileInfoWidget()->setEndValue(10);
    w.openProjectFile(m_tenMetres);
    QVERIFY(readingInProgress);
    ReadBigImageThread *reader = w.readThread();
    QVERIFY(reader);

    // Go, Next and Previous while reading do nothing.
    w.fileInfoWidget()->setStartValue(7);
    w.handleGoPressed();
    w.handleNextImages();
    w.handleLastImages();
    QCOMPARE(w.readThread(), reader);
    QCOMPARE(ProjectInfo::instance()->pageStart(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(ShellTest::pageImages(w.scene()).size() >= 2, 20000);

    w.handleStopPressed();
    QVERIFY(!readingInProgress);
    QVERIFY(!w.readThread());
    const int placed = ShellTest::pageImages(w.scene()).size();
    QVERIFY(placed >= 2);
    QVERIFY(placed < 10);
    QVERIFY(!w.progressBar()->isVisible());

    // Pieces the reader still sends are not placed.
    QTest::qWait(600);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), placed);
    QCOMPARE(watcher.count(), 0);
    // The page read on from 0 m; the scale ends at its last placed piece.
    QCOMPARE(w.leftScale()->endDepth(), double(placed * 10000));

    // The next Go works (and asks nothing: the stopped page has no drawings).
    ReadBigImageThread::setPieceDelay(0);
    w.fileInfoWidget()->setStartValue(0);
    w.fileInfoWidget()->setEndValue(3);
    w.handleGoPressed();
    SHELL_WAIT_READ(&w);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 3);
    QCOMPARE(watcher.count(), 0);
}

void TestPageDisplay::windowGoesAwayMidRead()
{
    ReadBigImageThread::setPieceDelay(200);
    {
        MainWindow w;
        w.fileInfoWidget()->setEndValue(10);
        w.openProjectFile(m_tenMetres);
        QTRY_VERIFY_WITH_TIMEOUT(ShellTest::pageImages(w.scene()).size() >= 1, 20000);
        // Stop lets one reader go; a second read is running when the window goes.
        w.handleStopPressed();
        w.fileInfoWidget()->setStartValue(0);
        w.fileInfoWidget()->setEndValue(10);
        w.handleGoPressed();
        QVERIFY(readingInProgress);
        QTRY_VERIFY_WITH_TIMEOUT(ShellTest::pageImages(w.scene()).size() >= 1, 20000);
    }
    QVERIFY(!readingInProgress);
    // Every reader has ended and closed its connection.
    QCOMPARE(QSqlDatabase::connectionNames().filter(QStringLiteral("KORA")), QStringList());
}

void TestPageDisplay::upwardProjectIsConvertedFirst()
{
    const QString path = ShellTest::makeProject(
        m_dir, QStringLiteral("up.prj"),
        {QStringLiteral("--to"), QStringLiteral("6"), QStringLiteral("--direction"), QStringLiteral("up")});
    QVERIFY(!path.isEmpty());

    MainWindow w;
    ModalWatcher watcher;
    // The conversion shows its progress dialog while the window waits.
    bool progressShown = false;
    QTimer spy;
    connect(&spy, &QTimer::timeout, [&] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QProgressDialog *>(top))
                progressShown = progressShown || dialog->isVisible();
    });
    spy.start(5);
    w.openProjectFile(path);
    spy.stop();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 0);
    QVERIFY(progressShown);

    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->direction(), QStringLiteral("down"));
    QCOMPARE(info->start(), 0);
    QVERIFY(info->maxDepth() > 50000);
    QVERIFY(info->maxDepth() <= 60000);

    // The first page of the converted project: 0 - 5 m in 1 m pieces.
    QCOMPARE(info->pageEnd(), 50000);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 5);

    // The file itself is downward now.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("up"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("select direction, start from projectInfo")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("down"));
        QCOMPARE(q.value(1).toInt(), 0);
        QVERIFY(q.exec(QStringLiteral("select min(id), max(id) from bigImages")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 10000);
        QCOMPARE(q.value(1).toInt(), info->maxDepth());
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("up"));
    QVERIFY(!w.findChild<QProgressDialog *>());
}

void TestPageDisplay::projectWithoutDiameterOrImages()
{
    const QString noDiameter = ShellTest::makeProject(
        m_dir, QStringLiteral("nodiameter.prj"), {QStringLiteral("--diameter"), QStringLiteral("0")});
    const QString noImages = ShellTest::makeProject(m_dir, QStringLiteral("noimages.prj"),
                                                    {QStringLiteral("--no-images")});
    QVERIFY(!noDiameter.isEmpty());
    QVERIFY(!noImages.isEmpty());
    // Not a database at all: opened, refused, and left exactly as it was.
    const QString notADatabase = m_dir.filePath(QStringLiteral("text.prj"));
    const QByteArray text("this is not a project\n");
    {
        QFile f(notADatabase);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    for (const QString &path : {noDiameter, noImages, notADatabase}) {
        MainWindow w;
        ModalWatcher watcher;
        watcher.answerMessageBox(QMessageBox::Ok);
        maxPageDepth = 0.0;
        w.openProjectFile(path);
        QTRY_COMPARE(watcher.count(), 1);
        QCOMPARE(watcher.texts().first(),
                 QStringLiteral("The project has no readable images or no borehole diameter!"));
        QVERIFY(!readingInProgress);
        QVERIFY(std::isfinite(pixelsPerUnit));
        QVERIFY(std::isfinite(maxPageDepth));
        QCOMPARE(w.scene()->items().size(), 0);

        // Next and Previous answer without dividing by zero either.
        watcher.answerMessageBox(QMessageBox::Ok);
        w.handleNextImages();
        QTRY_COMPARE(watcher.count(), 2);
        watcher.answerMessageBox(QMessageBox::Ok);
        w.handleLastImages();
        QTRY_COMPARE(watcher.count(), 3);
        QVERIFY(!readingInProgress);
        QVERIFY(std::isfinite(maxPageDepth));
    }
    QFile f(notADatabase);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), text);
}

void TestPageDisplay::missingProjectFileIsNotCreated()
{
    MainWindow w;
    ModalWatcher watcher;
    const QString path = m_dir.filePath(QStringLiteral("gone.prj"));
    watcher.answerMessageBox(QMessageBox::Ok);
    w.openProjectFile(path);
    QTRY_COMPARE(watcher.count(), 1);
    QVERIFY(watcher.texts().first().contains(QStringLiteral("does not exist")));
    QVERIFY(!QFile::exists(path));
    QVERIFY(!readingInProgress);
}

void TestPageDisplay::picturesAndTheirSuffix()
{
    const QString good = ShellTest::savePicture(m_dir, QStringLiteral("pic.png"), {321, 123}, Qt::darkCyan);
    const QString capitals = ShellTest::savePicture(m_dir, QStringLiteral("pic2.PNG"), {321, 123}, Qt::darkCyan);
    QVERIFY(!good.isEmpty() && !capitals.isEmpty());

    MainWindow w;
    ModalWatcher watcher;
    w.openPictureFile(good);
    QCOMPARE(watcher.count(), 0);
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 321, 123));
    QCOMPARE(w.scene()->items().size(), 1);
    QCOMPARE(w.scene()->baseItemCount(), 1);
    QVERIFY(!w.hasSaveTarget());
    QCOMPARE(Settings::instance()->openPicDir(), good);

    // Capitals are refused, the page stays, the path is still remembered.
    watcher.answerMessageBox(QMessageBox::Ok);
    w.openPictureFile(capitals);
    QTRY_COMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().first(), QStringLiteral("Format error!"));
    QCOMPARE(w.scene()->items().size(), 1);
    QCOMPARE(Settings::readRecent(Settings::kRecentFileList).first(), capitals);

    // Close empties the window.
    w.closePicture();
    QCOMPARE(w.scene()->items().size(), 0);
    QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 3000, 6000));
    QCOMPARE(w.scene()->baseItemCount(), 0);
    QCOMPARE(watcher.count(), 1);
}

// Go, Next and Previous without a project: tst_mainwindow's signal test.
void TestPageDisplay::databaseFailureIsReported()
{
    MainWindow w;
    ModalWatcher watcher;
    watcher.acceptNext();
    w.handleDataBaseOpenFailed();
    QTRY_COMPARE(watcher.count(), 1);
    QCOMPARE(watcher.texts().last(), QStringLiteral("Database file open failed!"));
}

void TestPageDisplay::deepProjectOpensAtItsStart()
{
    const QString deep = ShellTest::makeProject(
        m_dir, QStringLiteral("deep.prj"),
        {QStringLiteral("--from"), QStringLiteral("1960"), QStringLiteral("--to"), QStringLiteral("1970")});
    QVERIFY(!deep.isEmpty());
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, deep);
    // The first page is the top of the log, not "No pictures!" at 0 - 5 m.
    QCOMPARE(watcher.count(), 0);
    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->pageStart(), 19600000);
    QCOMPARE(info->pageEnd(), 19650000);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 5);

    // Depths below 500 m with decimals can be typed and read.
    typeInto(w.fileInfoWidget()->startSpin, QStringLiteral("1960.3"));
    typeInto(w.fileInfoWidget()->endSpin, QStringLiteral("1962"));
    w.handleGoPressed();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 0);
    QCOMPARE(info->pageStart(), 19603000);
    QCOMPARE(info->pageEnd(), 19620000);
    QCOMPARE(w.leftScale()->startDepth(), 19603000.0);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), 2);
}

void TestPageDisplay::pageStartingInsideAPiece_data()
{
    QTest::addColumn<QString>("piece");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("pieceId");
    // The page after one whose last piece was cut at 5 m goes on below the cut.
    QTest::newRow("2 m pieces, page from 5 m") << QStringLiteral("2") << QStringLiteral("5") << 60000;
    QTest::newRow("0.7 m pieces, page from 5.5 m") << QStringLiteral("0.7") << QStringLiteral("5.5") << 56000;
}

void TestPageDisplay::pageStartingInsideAPiece()
{
    QFETCH(QString, piece);
    QFETCH(QString, start);
    QFETCH(int, pieceId);
    const QString path = ShellTest::makeProject(
        m_dir, QStringLiteral("inside-%1.prj").arg(piece),
        {QStringLiteral("--to"), QStringLiteral("8"), QStringLiteral("--piece"), piece});
    QVERIFY(!path.isEmpty());

    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, path);
    typeInto(w.fileInfoWidget()->startSpin, start);
    typeInto(w.fileInfoWidget()->endSpin, QStringLiteral("8"));
    w.handleGoPressed();
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 0);
    const int pageStart = ProjectInfo::instance()->pageStart();
    QCOMPARE(pageStart, int(start.toDouble() * 10000));

    // The first piece shows only its rows below the page start, at the
    // page's scale: neither squashed nor repeating the rows above (where its
    // rows land is the subject of tst_depthplacement).
    const double ppu = pixelsPerUnit;
    const QImage stored = storedPiece(path, pieceId).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!stored.isNull());
    const int h = int(std::lround((pieceId - pageStart) * ppu));
    QVERIFY(h < stored.height());
    const QList<QGraphicsPixmapItem *> images = ShellTest::pageImages(w.scene());
    QVERIFY(!images.isEmpty());
    const QImage shown = images.first()->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(stored.width(), h));
    QVERIFY(shown.copy(0, h - 1, shown.width(), 1) == stored.copy(0, stored.height() - 1, stored.width(), 1));
    // The depth scale starts at the page start, at the top of the column.
    QCOMPARE(w.leftScale()->startDepth(), double(pageStart));
    QCOMPARE(images.first()->offset().y(), 120.0);
    QCOMPARE(images.at(1)->offset().y(), 120.0 + h);
}

void TestPageDisplay::newPageShownFromItsTop()
{
    MainWindow w;
    ModalWatcher watcher;
    w.resize(800, 600);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.view()->setTransform(QTransform()); // pages taller than the view
    SHELL_OPEN_PROJECT(&w, m_tenMetres);

    QScrollBar *bar = w.view()->verticalScrollBar();
    auto visibleTop = [&w] { return w.view()->mapToScene(0, 0).y(); };
    for (void (MainWindow::*command)() : {&MainWindow::handleNextImages, &MainWindow::handleLastImages,
                                          &MainWindow::handleGoPressed}) {
        QVERIFY(bar->maximum() > bar->minimum());
        bar->setValue(bar->maximum());
        QVERIFY(visibleTop() > 120);
        (w.*command)();
        SHELL_WAIT_READ(&w);
        QCoreApplication::processEvents();
        QVERIFY2(visibleTop() <= 120, qPrintable(QString::number(visibleTop())));
    }
    QCOMPARE(watcher.count(), 0);
}

void TestPageDisplay::stopReachableWhileReading()
{
    ReadBigImageThread::setPieceDelay(800);
    MainWindow w;
    ModalWatcher watcher;
    w.resize(900, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.openProjectFile(m_tenMetres);
    QVERIFY(readingInProgress);

    // The wait indicator covers the page, not the navigation panel, so a
    // click on Stop reaches Stop.
    FileInfoWidget *panel = w.fileInfoWidget();
    const QRect panelArea(panel->mapToGlobal(QPoint(0, 0)), panel->size());
    int waitViews = 0;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top == &w || !top->isVisible())
            continue;
        ++waitViews;
        QVERIFY2(!top->frameGeometry().intersects(panelArea),
                 top->metaObject()->className());
    }
    QCOMPARE(waitViews, 1);
    QTest::mouseClick(panel->findChild<QPushButton *>(QStringLiteral("stopButton")), Qt::LeftButton);
    QTRY_VERIFY(!readingInProgress);
    QVERIFY(!w.readThread());
    QVERIFY(ShellTest::pageImages(w.scene()).size() < 5);
    QCOMPARE(watcher.count(), 0);
}

void TestPageDisplay::pageSameAtEveryPace()
{
    // The page with its scales, as the view shows it, after a read at the
    // given pace (extra milliseconds per piece; 0 is the program's own).
    auto readAtPace = [this](int pieceDelay) {
        ReadBigImageThread::setPieceDelay(pieceDelay);
        MainWindow w;
        w.fileInfoWidget()->setEndValue(3);
        w.openProjectFile(m_tenMetres);
        [&w] { SHELL_WAIT_READ(&w); }();
        ReadBigImageThread::setPieceDelay(0);
        const QRectF area = w.scene()->sceneRect().adjusted(1200, 0, -1200, 0);
        QImage page(area.size().toSize(), QImage::Format_RGB32);
        page.fill(Qt::white);
        QPainter painter(&page);
        w.scene()->render(&painter, QRectF(page.rect()), area);
        painter.end();
        return page;
    };
    // The old pace: a pause after every piece.
    const QImage paced = readAtPace(300);
    const QImage unpaced = readAtPace(0);
    QVERIFY(!paced.isNull());
    QVERIFY(paced.height() > 3 * 1000);
    QCOMPARE(unpaced.size(), paced.size());
    QVERIFY(unpaced == paced);
}

QTEST_MAIN(TestPageDisplay)
#include "tst_pagedisplay.moc"
