// Structure picks through the main window on a sample project: clicking the
// trace of a planted fracture stores its plane; the pick comes back on its
// page and after reopening, never makes the unsaved-changes question ask,
// stays in memory on a read-only file, is edited, listed, deleted and
// exported; too few points, a picture or a hole without diameter say why.

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QGraphicsView>
#include <QImage>
#include <QLineEdit>
#include <QComboBox>
#include <QTableView>
#include <QtTest>
#include <cmath>
#include <limits>

#include "graphicsleftscaleitem.h"
#include "graphicsscene.h"
#include "graphicsstructurepickitem.h"
#include "graphicsview.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "picklistdock.h"
#include "projectinfo.h"
#include "shelltestsupport.h"
#include "structurepickcontroller.h"
#include "structurepickdialog.h"
#include "structurepickstore.h"
#include "toolbar.h"

namespace {

// Stores one pick (40°/120°) at each depth, in metres, and count more spread
// over [2 m, 3 m) in one transaction, as many as a page seldom holds.
bool plantPicks(const QString &project, const QList<double> &metres, int count)
{
    StructurePickStore store(project);
    for (double m : metres) {
        StructurePick pick;
        pick.depth = m * 10000;
        pick.dip = 40;
        pick.dipDirection = 120;
        pick.amplitude = 400;
        if (!store.add(&pick))
            return false;
    }
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("crowd"));
        db.setDatabaseName(project);
        QSqlQuery q(db);
        ok = db.open() && db.transaction()
             && q.prepare(QStringLiteral("INSERT INTO structurePicks (depth, dip, dipDirection, amplitude, type, "
                                         "comment) VALUES (?, 40, 120, 400, 'fracture', '')"));
        for (int i = 0; ok && i < count; ++i) {
            q.addBindValue(20000.0 + 10000.0 * i / count);
            ok = q.exec();
        }
        ok = db.commit() && ok;
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("crowd"));
    return ok;
}

struct Planted
{
    double depth = 0; // m
    double dip = 0;
    double direction = 0;
};

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
}

QList<GraphicsStructurePickItem *> pickItems(MainWindow &w)
{
    QList<GraphicsStructurePickItem *> picks;
    for (QGraphicsItem *item : w.scene()->items())
        if (item->type() == GraphicsStructurePickItem::Type)
            picks << static_cast<GraphicsStructurePickItem *>(item);
    return picks;
}

// Scene position of the planted trace at an azimuth, on the page shown.
QPointF onTrace(MainWindow &w, const Planted &f, double azimuth)
{
    const GraphicsLeftScaleItem *left = w.leftScale();
    const double width = w.scene()->sceneRect().width() - 2600;
    const double radius = ProjectInfo::instance()->diameter() / 2.0;
    const double depth = f.depth * 10000
        + radius * std::tan(qDegreesToRadians(f.dip)) * std::cos(qDegreesToRadians(azimuth - f.direction));
    return QPointF(1300 + azimuth / 360.0 * width,
                   120 + (depth - left->startDepth()) * left->pixelsPerDepthUnit());
}

void clickAt(MainWindow &w, const QPointF &p, Qt::MouseButton button = Qt::LeftButton)
{
    GraphicsView *view = w.view();
    view->centerOn(p);
    QTest::mouseClick(view->viewport(), button, Qt::NoModifier, view->mapFromScene(p));
}

// Chooses the pick tool and clicks the trace at the given azimuths.
void clickTrace(MainWindow &w, const Planted &f, const QList<double> &azimuths)
{
    w.toolBar()->toolAction(ToolBar::StructurePickTool)->trigger();
    QCOMPARE(int(currentMode), int(InsertStructurePick));
    for (double a : azimuths)
        clickAt(w, onTrace(w, f, a));
}

enum Ending { RightClick, EnterKey, ToolAgain };

void endPick(MainWindow &w, Ending ending)
{
    if (ending == RightClick)
        clickAt(w, QPointF(1300 + 10, 130), Qt::RightButton);
    else if (ending == EnterKey)
        QTest::keyClick(w.view(), Qt::Key_Return);
    else
        w.toolBar()->toolAction(ToolBar::StructurePickTool)->trigger();
    QCOMPARE(int(currentMode), int(Pointer));
}

} // namespace

class TestStructurePicks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void pickOnPlantedTraceIsKept_data();
    void pickOnPlantedTraceIsKept();
    void editListGoAndDelete();
    void readOnlyCopyKeepsPicksInMemory();
    void noPickSaysWhy_data();
    void noPickSaysWhy();
    void pageHoldsOnlyItsPicks_data();
    void pageHoldsOnlyItsPicks();
    void listMarksInvalidValues_data();
    void listMarksInvalidValues();

private:
    void openFirstPage(MainWindow &w, const QString &path);
    QString copyOfProject(const QString &name);

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
    Planted m_first;  // a fracture of the first page (0 - 5 m)
};

void TestStructurePicks::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
    const QString csv = m_dir.filePath(QStringLiteral("features.csv"));
    m_project = ShellTest::makeProject(m_dir, QStringLiteral("picks.prj"),
                                       {"--to", "10", "--width", "800", "--seed", "3",
                                        "--features-csv", csv});
    QVERIFY(!m_project.isEmpty());
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    file.readLine();
    while (!file.atEnd()) {
        const QStringList f = QString::fromUtf8(file.readLine()).trimmed().split(QLatin1Char(','));
        if (f.value(3) != QLatin1String("fracture"))
            continue;
        const Planted p{f.value(0).toDouble(), f.value(1).toDouble(), f.value(2).toDouble()};
        // The whole trace on the first page, and steep enough to be clicked.
        const double reach = 0.05 * std::tan(qDegreesToRadians(p.dip));
        if (p.depth - reach > 0.05 && p.depth + reach < 4.95 && p.dip > 15) {
            m_first = p;
            break;
        }
    }
    QVERIFY2(m_first.depth > 0, "no planted fracture on the first page");
}

void TestStructurePicks::init()
{
    currentMode = Pointer;
    QVERIFY(!readingInProgress);
}

void TestStructurePicks::openFirstPage(MainWindow &w, const QString &path)
{
    w.resize(1200, 900);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    SHELL_OPEN_PROJECT(&w, path);
    QCOMPARE(ProjectInfo::instance()->pageStart(), 0);
    w.view()->setTransform(QTransform()); // one scene unit per screen pixel
}

QString TestStructurePicks::copyOfProject(const QString &name)
{
    const QString path = m_dir.filePath(name);
    QFile::remove(path);
    return QFile::copy(m_project, path) ? path : QString();
}

void TestStructurePicks::pickOnPlantedTraceIsKept_data()
{
    QTest::addColumn<int>("ending");
    QTest::addColumn<QList<double>>("azimuths");
    QTest::newRow("right click, whole width") << int(RightClick) << QList<double>{15, 85, 160, 230, 300, 345};
    QTest::newRow("Enter, a third of the width") << int(EnterKey) << QList<double>{100, 140, 180, 220};
    QTest::newRow("tool button again, across north") << int(ToolAgain) << QList<double>{300, 340, 20, 60};
}

void TestStructurePicks::pickOnPlantedTraceIsKept()
{
    QFETCH(int, ending);
    QFETCH(QList<double>, azimuths);
    const QString path = copyOfProject(QStringLiteral("kept%1.prj").arg(ending));
    QVERIFY(!path.isEmpty());
    {
        MainWindow w;
        ModalWatcher watcher;
        openFirstPage(w, path);
        clickTrace(w, m_first, azimuths);
        endPick(w, Ending(ending));
        QCOMPARE(watcher.count(), 0);

        // Stored at once, as the planted plane.
        const QVector<StructurePick> stored = StructurePickStore(path).allPicks();
        QCOMPARE(stored.size(), 1);
        const StructurePick &p = stored.first();
        QVERIFY2(std::fabs(p.dip - m_first.dip) <= 1.0,
                 qPrintable(QStringLiteral("dip %1, planted %2").arg(p.dip).arg(m_first.dip)));
        double turn = std::fmod(std::fabs(p.dipDirection - m_first.direction), 360.0);
        turn = std::min(turn, 360.0 - turn);
        QVERIFY2(turn <= 3.0, qPrintable(QStringLiteral("direction %1, planted %2")
                                             .arg(p.dipDirection).arg(m_first.direction)));
        QVERIFY(std::fabs(p.depth / 10000.0 - m_first.depth) < 0.005);
        QCOMPARE(pickItems(w).size(), 1);
        QCOMPARE(pickItems(w).first()->pick().id, p.id);

        // The stored pick is not an unsaved drawing.
        QCOMPARE(w.confirmUnsavedChanges(), 0);
        QCOMPARE(watcher.count(), 0);

        // Next page: not there; back: there again, once.
        w.handleNextImages();
        SHELL_WAIT_READ(&w);
        QCOMPARE(ProjectInfo::instance()->pageStart(), 50000);
        QCOMPARE(pickItems(w).size(), 0);
        w.handleLastImages();
        SHELL_WAIT_READ(&w);
        QCOMPARE(pickItems(w).size(), 1);
        QCOMPARE(pickItems(w).first()->pick().id, p.id);
        QVERIFY(std::fabs(pickItems(w).first()->fit().dip - p.dip) < 0.01);
        QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount());
        QCOMPARE(watcher.count(), 0);
    }
    // Reopened: on its page and in the list.
    MainWindow again;
    ModalWatcher watcher;
    openFirstPage(again, path);
    QCOMPARE(pickItems(again).size(), 1);
    QCOMPARE(again.structurePicks()->dock()->table()->model()->rowCount(), 1);
    QCOMPARE(again.confirmUnsavedChanges(), 0);
    QCOMPARE(watcher.count(), 0);
}

void TestStructurePicks::editListGoAndDelete()
{
    const QString path = copyOfProject(QStringLiteral("edit.prj"));
    QVERIFY(!path.isEmpty());
    MainWindow w;
    ModalWatcher watcher;
    openFirstPage(w, path);
    clickTrace(w, m_first, {30, 120, 210, 300});
    endPick(w, RightClick);
    QCOMPARE(pickItems(w).size(), 1);
    GraphicsStructurePickItem *item = pickItems(w).first();

    // Double-click: type and comment.
    watcher.answer([](QWidget *dialog) {
        auto *d = qobject_cast<StructurePickDialog *>(dialog);
        QVERIFY(d);
        d->typeBox()->setCurrentIndex(d->typeBox()->findData(QStringLiteral("vein")));
        d->commentEdit()->setText(QStringLiteral("calcite, 2 mm"));
        d->accept();
    });
    const QPointF onCurve = onTrace(w, m_first, 120);
    w.view()->centerOn(onCurve);
    QTest::mouseDClick(w.view()->viewport(), Qt::LeftButton, Qt::NoModifier,
                       w.view()->mapFromScene(onCurve));
    QTRY_COMPARE(watcher.count(), 1);
    QVector<StructurePick> stored = StructurePickStore(path).allPicks();
    QCOMPARE(stored.size(), 1);
    QCOMPARE(stored.first().type, QStringLiteral("vein"));
    QCOMPARE(stored.first().comment, QStringLiteral("calcite, 2 mm"));

    // Export: the CSV of the project's picks.
    const QString csv = m_dir.filePath(QStringLiteral("edit.csv"));
    QVERIFY(w.structurePicks()->exportPicks(csv));
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(1).endsWith(",vein,\"calcite, 2 mm\""));

    // The list's double-click on another page goes to the pick's page.
    w.handleNextImages();
    SHELL_WAIT_READ(&w);
    QCOMPARE(pickItems(w).size(), 0);
    QTableView *table = w.structurePicks()->dock()->table();
    QCOMPARE(table->model()->rowCount(), 1);
    const QModelIndex cell = table->model()->index(0, PickListDock::DipColumn);
    QCOMPARE(cell.data().toString().toInt(), qRound(stored.first().dip));
    const QPoint at = table->visualRect(cell).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    SHELL_WAIT_READ(&w);
    QCOMPARE(ProjectInfo::instance()->pageStart(), 0);
    QCOMPARE(pickItems(w).size(), 1);
    item = pickItems(w).first();

    // Delete: from the page and from the file.
    item->setSelected(true);
    w.toolBar()->editAction(ToolBar::DeleteItem)->trigger();
    QCOMPARE(pickItems(w).size(), 0);
    QVERIFY(StructurePickStore(path).allPicks().isEmpty());
    QCOMPARE(table->model()->rowCount(), 0);
    QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount());
    QCOMPARE(watcher.count(), 1);
}

void TestStructurePicks::readOnlyCopyKeepsPicksInMemory()
{
    const QString path = copyOfProject(QStringLiteral("readonly.prj"));
    QVERIFY(!path.isEmpty());
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
    const QByteArray before = digest(path);
    {
        MainWindow w;
        ModalWatcher watcher;
        openFirstPage(w, path);
        // Opening says the project is for viewing only.
        QCOMPARE(watcher.count(), 1);
        QVERIFY2(watcher.texts().first().contains(QStringLiteral("viewing only")),
                 qPrintable(watcher.texts().first()));
        clickTrace(w, m_first, {30, 120, 210, 300});
        endPick(w, RightClick);
        // Said once ...
        QCOMPARE(watcher.count(), 2);
        QVERIFY2(watcher.texts().at(1).contains(QStringLiteral("read-only")), qPrintable(watcher.texts().at(1)));
        clickTrace(w, m_first, {60, 150, 240});
        endPick(w, EnterKey);
        QCOMPARE(watcher.count(), 2); // ... not twice
        QCOMPARE(pickItems(w).size(), 2);
        QCOMPARE(w.structurePicks()->memoryPicks().size(), 2);
        QVERIFY(std::fabs(w.structurePicks()->memoryPicks().first().dip - m_first.dip) <= 1.0);

        // Kept across pages, not asked about, file untouched.
        w.handleNextImages();
        SHELL_WAIT_READ(&w);
        w.handleLastImages();
        SHELL_WAIT_READ(&w);
        QCOMPARE(pickItems(w).size(), 2);
        QCOMPARE(w.confirmUnsavedChanges(), 0);
        QCOMPARE(watcher.count(), 2);
    }
    QCOMPARE(digest(path), before);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestStructurePicks::noPickSaysWhy_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("message");
    QTest::newRow("two points") << QStringLiteral("project") << 2 << QStringLiteral("at least three points");
    QTest::newRow("one column") << QStringLiteral("project") << -3 << QStringLiteral("three different azimuths");
    QTest::newRow("picture") << QStringLiteral("picture") << 1 << QStringLiteral("single picture");
    QTest::newRow("no diameter") << QStringLiteral("no diameter") << 1 << QStringLiteral("no borehole diameter");
}

void TestStructurePicks::noPickSaysWhy()
{
    QFETCH(QString, what);
    QFETCH(int, points);
    QFETCH(QString, message);
    MainWindow w;
    ModalWatcher watcher;
    QString path;
    if (what == QLatin1String("project")) {
        path = copyOfProject(QStringLiteral("why.prj"));
        QVERIFY(!path.isEmpty());
        openFirstPage(w, path);
    } else if (what == QLatin1String("picture")) {
        path = ShellTest::savePicture(m_dir, QStringLiteral("wall.png"), {400, 300}, Qt::gray);
        QVERIFY(!path.isEmpty());
        w.show();
        w.openPictureFile(path);
    } else {
        path = ShellTest::makeProject(m_dir, QStringLiteral("nodiameter.prj"),
                                      {"--to", "3", "--diameter", "0"});
        w.show();
        SHELL_OPEN_PROJECT(&w, path); // says that it cannot show a page
    }
    const QByteArray before = digest(path);
    const int seen = watcher.count();

    w.toolBar()->toolAction(ToolBar::StructurePickTool)->trigger();
    for (int i = 0; i < std::abs(points); ++i) {
        // Negative: points one above the other, in one image column.
        const QPointF p = points < 0 ? QPointF(1500, 400 + 40 * i) : QPointF(1400 + 150 * i, 300 + 30 * i);
        clickAt(w, w.scene()->sceneRect().contains(p) ? p : QPointF(50 + 100 * i, 50));
    }
    if (currentMode == InsertStructurePick)
        endPick(w, EnterKey);
    QCOMPARE(int(currentMode), int(Pointer));
    QTRY_COMPARE(watcher.count(), seen + 1);
    QVERIFY2(watcher.texts().last().contains(message), qPrintable(watcher.texts().last()));
    // Nothing drawn, nothing to ask about, nothing written.
    QCOMPARE(pickItems(w).size(), 0);
    QCOMPARE(w.confirmUnsavedChanges(), 0);
    QCOMPARE(watcher.count(), seen + 1);
    QCOMPARE(digest(path), before);
}

void TestStructurePicks::pageHoldsOnlyItsPicks_data()
{
    QTest::addColumn<int>("startMetre");
    QTest::addColumn<QList<double>>("shown"); // depths in metres
    QTest::addColumn<bool>("turnedAtOnce");   // before the other page's picks came
    QTest::addColumn<int>("crowd");           // more picks between 2 and 3 m

    QTest::newRow("first page") << 0 << QList<double>{1.0, 4.9} << false << 0;
    QTest::newRow("second page") << 5 << QList<double>{5.1, 9.5} << false << 0;
    QTest::newRow("turned before the picks came") << 0 << QList<double>{1.0, 4.9} << true << 0;
    QTest::newRow("crowded page") << 0 << QList<double>{1.0, 4.9} << false << 20000;
    QTest::newRow("turned from a crowded page") << 5 << QList<double>{5.1, 9.5} << true << 20000;
}

void TestStructurePicks::pageHoldsOnlyItsPicks()
{
    QFETCH(int, startMetre);
    QFETCH(QList<double>, shown);
    QFETCH(bool, turnedAtOnce);
    QFETCH(int, crowd);
    const QString path = copyOfProject(QStringLiteral("range.prj"));
    QVERIFY(!path.isEmpty());
    QVERIFY(plantPicks(path, {1.0, 4.9, 5.1, 9.5}, crowd));
    MainWindow w;
    ModalWatcher watcher;
    w.fileInfoWidget()->setStartValue(startMetre);
    w.fileInfoWidget()->setEndValue(startMetre + 5);
    SHELL_OPEN_PROJECT(&w, path);
    // A page read before (the other one) leaves none of its picks behind.
    w.fileInfoWidget()->setStartValue(5 - startMetre);
    w.fileInfoWidget()->setEndValue(10 - startMetre);
    w.handleGoPressed();
    if (turnedAtOnce) {
        // The wall is on, its picks are still being read.
        while (readingInProgress)
            QCoreApplication::processEvents();
        QVERIFY(w.structurePicks()->pagePicksPending());
    } else {
        SHELL_WAIT_READ(&w);
    }
    w.fileInfoWidget()->setStartValue(startMetre);
    w.fileInfoWidget()->setEndValue(startMetre + 5);
    w.handleGoPressed();
    SHELL_WAIT_READ(&w);

    QList<double> onPage;
    int crowded = 0;
    for (GraphicsStructurePickItem *item : pickItems(w)) {
        const double metres = item->pick().depth / 10000.0;
        if (metres >= 2.0 - 1e-6 && metres < 3.0) {
            ++crowded;
            continue;
        }
        onPage << std::round(metres * 10.0) / 10.0;
        // The bounds worked out from the fit hold the drawn curve.
        QVERIFY(item->boundingRect().contains(item->shape().boundingRect()));
    }
    std::sort(onPage.begin(), onPage.end());
    QCOMPARE(onPage, shown);
    QCOMPARE(crowded, startMetre == 0 ? crowd : 0);
    // The list holds the whole project whatever the page.
    QCOMPARE(w.structurePicks()->dock()->table()->model()->rowCount(), 4 + crowd);
    QCOMPARE(watcher.count(), 0);
}

// A stored value that is no number, or a dip out of range, is marked in the
// list instead of being shown as a made-up figure; the pick's other values
// still show.
void TestStructurePicks::listMarksInvalidValues_data()
{
    QTest::addColumn<double>("dip");
    QTest::addColumn<double>("direction");
    QTest::addColumn<bool>("dipShown");
    QTest::addColumn<bool>("directionShown");
    const double nan = std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("valid") << 35.0 << 120.0 << true << true;
    QTest::newRow("NULL dip") << nan << 120.0 << false << true;
    QTest::newRow("dip over 90") << 95.0 << 120.0 << false << true;
    QTest::newRow("infinite direction") << 35.0 << std::numeric_limits<double>::infinity() << true << false;
}

void TestStructurePicks::listMarksInvalidValues()
{
    QFETCH(double, dip);
    QFETCH(double, direction);
    QFETCH(bool, dipShown);
    QFETCH(bool, directionShown);
    StructurePick pick;
    pick.depth = 12500;
    pick.dip = dip;
    pick.dipDirection = direction;
    PickListDock dock;
    dock.setPicks({pick});
    const QAbstractItemModel *model = dock.table()->model();
    QCOMPARE(model->rowCount(), 1);
    bool isNumber = false;
    const int shownDip = model->index(0, PickListDock::DipColumn).data().toString().toInt(&isNumber);
    QCOMPARE(isNumber, dipShown);
    if (dipShown)
        QCOMPARE(shownDip, qRound(dip));
    model->index(0, PickListDock::DirectionColumn).data().toString().toInt(&isNumber);
    QCOMPARE(isNumber, directionShown);
    QCOMPARE(model->index(0, PickListDock::DepthColumn).data().toString(), QStringLiteral("1.25"));
    const bool marked = model->index(0, PickListDock::DipColumn).data(Qt::ForegroundRole).isValid();
    QCOMPARE(marked, !(dipShown && directionShown));
}

QTEST_MAIN(TestStructurePicks)
#include "tst_structurepicks.moc"
