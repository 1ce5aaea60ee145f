// The corrections command of the main window: the dialog's requests run one
// after the other behind their progress dialog, a depth correction opens the
// project again, and every view of the structure picks shows them corrected.

#include <QGraphicsRectItem>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtMath>
#include <QtTest>

#include "../processing/conversionfixture.h"
#include "correctanglethread.h"
#include "correctdepththread.h"
#include "correctiondialog.h"
#include "graphicsscene.h"
#include "graphicsstructurepickitem.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "picklistdock.h"
#include "projectinfo.h"
#include "rewriteprogressdialog.h"
#include "shelltestsupport.h"
#include "structurepickcontroller.h"
#include "structurepickstore.h"
#include "structurescontroller.h"
#include "tadpoleplot.h"
#include "toolbar.h"

using namespace ConversionFixture;

namespace {

CorrectionDialog *correctionDialog()
{
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (auto *dialog = qobject_cast<CorrectionDialog *>(top))
            return dialog;
    }
    return nullptr;
}

// Runs a worker on its own to its end.
bool runAlone(CorrectionThread *worker)
{
    worker->start();
    while (!worker->wait(20))
        QCoreApplication::processEvents();
    const bool ok = worker->succeeded();
    delete worker;
    return ok;
}

} // namespace

class TestCorrections : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void depthAndAngleTogetherAsSeparately();
    void requestsDuringARewriteAreRefused();
    void cancelLeavesProjectAndPage();
    void viewsShowCorrectedPicks_data();
    void viewsShowCorrectedPicks();
    void unwritableProjectSaysWhy_data();
    void unwritableProjectSaysWhy();

private:
    QString copyOfSample();
    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_sample;
    int m_serial = 0;
};

void TestCorrections::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QVERIFY(m_dir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
    m_sample = ShellTest::makeProject(m_dir, QStringLiteral("sample.prj"),
                                      {QStringLiteral("--to"), QStringLiteral("8"), QStringLiteral("--width"),
                                       QStringLiteral("400")});
    QVERIFY(!m_sample.isEmpty());
}

QString TestCorrections::copyOfSample()
{
    const QString path = m_dir.filePath(QStringLiteral("work-%1.prj").arg(++m_serial));
    if (!QFile::copy(m_sample, path))
        return QString();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

void TestCorrections::depthAndAngleTogetherAsSeparately()
{
    const QString together = copyOfSample();
    const QString separately = copyOfSample();

    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, together);
    // Never two writers on the file: the angle starts after the depth ended.
    int writers = 0;
    int mostWriters = 0;
    QTimer probe;
    connect(&probe, &QTimer::timeout, [&] {
        writers = 0;
        for (CorrectionThread *t : w.findChildren<CorrectionThread *>())
            writers += t->isRunning() ? 1 : 0;
        mostWriters = qMax(mostWriters, writers);
    });
    probe.start(2);
    w.handleCorrectionsBtnPressed();
    CorrectionDialog *dialog = correctionDialog();
    QVERIFY(dialog);
    dialog->realDepthEdit()->setText(QStringLiteral("8800"));
    dialog->angleEdit()->setText(QStringLiteral("90"));
    dialog->realDiameterEdit()->setText(QStringLiteral("96"));
    dialog->okButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!w.rewriteRunning() && ProjectInfo::instance()->maxDepth() == 88000, 60000);
    SHELL_WAIT_READ(&w);
    probe.stop();
    QCOMPARE(watcher.count(), 0);
    QCOMPARE(mostWriters, 1);
    QCOMPARE(ProjectInfo::instance()->diameter(), 960);
    const FileState result = readState(together);

    loadRecord(separately);
    QVERIFY(runAlone(new CorrectDepthThread(separately, 8800)));
    QVERIFY(runAlone(new CorrectAngleThread(separately, 90)));
    const FileState expected = readState(separately);
    QCOMPARE(result.ids(), expected.ids());
    for (int i = 0; i < result.pieces.size(); ++i)
        QVERIFY(result.pieces.at(i).data == expected.pieces.at(i).data);
}

void TestCorrections::requestsDuringARewriteAreRefused()
{
    const QString path = copyOfSample();
    const FileState before = readState(path);
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, path);
    w.handleCorrectAngle(90);
    QVERIFY(w.rewriteRunning());
    // A second request, and the corrections command, are refused meanwhile.
    watcher.acceptNext();
    watcher.acceptNext();
    w.handleCorrectDepth(8800);
    w.handleCorrectionsBtnPressed();
    QTRY_VERIFY_WITH_TIMEOUT(!w.rewriteRunning(), 60000);
    QCOMPARE(watcher.count(), 2);
    QCOMPARE(watcher.texts().at(0), watcher.texts().at(1));
    QVERIFY(watcher.texts().at(0).contains(QStringLiteral("being rewritten")));
    QVERIFY(!correctionDialog() || !correctionDialog()->isVisible());
    const FileState after = readState(path);
    QCOMPARE(after.ids(), before.ids());   // only the angle ran
    QVERIFY(after.hash != before.hash);
}

void TestCorrections::cancelLeavesProjectAndPage()
{
    const QString path = copyOfSample();
    const FileState before = readState(path);
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, path);
    const int images = ShellTest::pageImages(w.scene()).size();
    w.handleCorrectDepth(8800);
    auto *progress = w.findChild<RewriteProgressDialog *>();
    QVERIFY(progress);
    QPushButton *cancel = progress->findChild<QPushButton *>();
    QVERIFY(cancel);
    cancel->click();
    QTRY_VERIFY_WITH_TIMEOUT(!w.rewriteRunning(), 60000);
    QTest::qWait(50);
    QCOMPARE(watcher.count(), 0);
    QCOMPARE(readState(path).hash, before.hash);
    QCOMPARE(ProjectInfo::instance()->maxDepth(), 80000);
    QCOMPARE(ShellTest::pageImages(w.scene()).size(), images);
}

void TestCorrections::viewsShowCorrectedPicks_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    // A depth correction opens the project again, dropping the page's
    // drawings without asking: they no longer lie where they were drawn.
    QTest::newRow("depth") << "depth" << "8800";
    QTest::newRow("angle") << "angle" << "90";
    QTest::newRow("diameter") << "diameter" << "96";
}

void TestCorrections::viewsShowCorrectedPicks()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    const QString path = copyOfSample();
    StructurePick planted{0, 15000.0, 31.0, 93.0, 500 * std::tan(qDegreesToRadians(31.0))};
    QVERIFY(StructurePickStore(path).add(&planted));

    MainWindow w;
    ModalWatcher watcher;
    w.show();
    SHELL_OPEN_PROJECT(&w, path);
    StructuresController *structures = w.structuresController();
    structures->showStructures();
    structures->tadpoleDock()->show();
    const bool depth = field == QLatin1String("depth");
    if (depth)
        w.scene()->addRect(0, 0, 50, 50);

    // Angle and diameter by their tool bar buttons: the dialog opens at their
    // own field, and what the user types next is that correction.
    if (depth)
        w.handleCorrectionsBtnPressed();
    else
        w.findChild<ToolBar *>()->editAction(field == QLatin1String("angle") ? ToolBar::MagneticDeclination
                                                                             : ToolBar::DiameterCorrection)->trigger();
    CorrectionDialog *dialog = correctionDialog();
    QVERIFY(dialog && dialog->isVisible() && (depth || dialog->focusWidget()));
    QCOMPARE(dialog->testDepthEdit()->text(), QStringLiteral("8000"));
    QTest::keyClicks(depth ? dialog->realDepthEdit() : dialog->focusWidget(), value);
    dialog->okButton()->click();
    if (depth) {
        QVERIFY(w.rewriteRunning());
        QVERIFY(w.findChild<RewriteProgressDialog *>());
    }
    QTRY_VERIFY_WITH_TIMEOUT(!w.rewriteRunning(), 60000);
    SHELL_WAIT_READ(&w);
    QCOMPARE(watcher.count(), 0);
    if (depth) {
        QCOMPARE(ProjectInfo::instance()->maxDepth(), 88000);
        QCOMPARE(ProjectInfo::instance()->pageStart(), 0);
        QCOMPARE(ShellTest::pageImages(w.scene()).size(), 5);
        QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount());
    }
    // Worker and progress dialog are gone.
    QTRY_VERIFY(!w.findChild<CorrectionThread *>());
    QTRY_VERIFY(!w.findChild<RewriteProgressDialog *>());

    // The file holds the corrected pick; every view shows it.
    const QVector<StructurePick> stored = StructurePickStore(path).allPicks();
    QCOMPARE(stored.size(), 1);
    const StructurePick pick = stored.first();
    QVERIFY(!(pick == planted));
    QVERIFY(field != QLatin1String("angle") || pick.dipDirection != planted.dipDirection);
    QVERIFY(field != QLatin1String("diameter") || ProjectInfo::instance()->diameter() == 960);
    const auto same = [&pick](const StructurePick &shown) {
        return shown.id == pick.id && qAbs(shown.depth - pick.depth) < 0.01 && qAbs(shown.dip - pick.dip) < 0.01
               && qAbs(shown.dipDirection - pick.dipDirection) < 0.01;
    };
    int onPage = 0;
    for (QGraphicsItem *item : w.scene()->items()) {
        if (item->type() == GraphicsStructurePickItem::Type)
            onPage += same(static_cast<GraphicsStructurePickItem *>(item)->pick()) ? 1 : 100;
    }
    QCOMPARE(onPage, 1);
    QAbstractItemModel *list = w.structurePicks()->dock()->table()->model();
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->index(0, PickListDock::DirectionColumn).data(Qt::UserRole).toDouble(), pick.dipDirection);
    QCOMPARE(list->index(0, PickListDock::DipColumn).data(Qt::UserRole).toDouble(), pick.dip);
    QCOMPARE(structures->structuresWindow()->picks(), stored);
    QTRY_VERIFY(structures->tadpolePlot()->picks().size() == 1 && same(structures->tadpolePlot()->picks().first()));
}

void TestCorrections::unwritableProjectSaysWhy_data()
{
    QTest::addColumn<QString>("trouble");
    QTest::addColumn<QString>("cause");   // %1: the folder
    QTest::newRow("read-only file") << "file" << "the file \"p.prj\" is read-only";
    QTest::newRow("read-only folder") << "folder" << "the folder \"%1\" is read-only";
    // Another program holds the write lock for longer than the worker waits.
    QTest::newRow("locked") << "locked" << "the file is locked by another program";
}

// A read-only project opens for viewing, says why once and refuses the
// corrections with the reason; a correction of a locked one names the lock.
void TestCorrections::unwritableProjectSaysWhy()
{
    QFETCH(QString, trouble);
    QFETCH(QString, cause);
    const bool locked = trouble == QLatin1String("locked"), folder = trouble == QLatin1String("folder");
    QTemporaryDir place(m_dir.filePath(QStringLiteral("ro-XXXXXX")));
    const QString path = place.filePath(QStringLiteral("p.prj"));
    QVERIFY(QFile::copy(m_sample, path));
    cause.replace(QLatin1String("%1"), place.path());
    QVERIFY(locked || QFile::setPermissions(folder ? place.path() : path,
                                            QFile::ReadOwner | (folder ? QFile::ExeOwner : QFile::Permissions())));
    const FileState before = readState(path);
    MainWindow w;
    ModalWatcher watcher;
    watcher.acceptNext();
    watcher.acceptNext();
    SHELL_OPEN_PROJECT(&w, path);
    QVERIFY(!ShellTest::pageImages(w.scene()).isEmpty());
    QCOMPARE(watcher.count(), locked ? 0 : 1);
    if (!locked) {
        QVERIFY2(watcher.texts().first().contains(cause), qPrintable(watcher.texts().first()));
        QVERIFY(w.windowTitle().contains(QStringLiteral("read-only")));
        w.handleCorrectionsBtnPressed();
    }
    QVERIFY(!locked || withConnection(path, [&](QSqlDatabase &db) {
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE")));
        w.handleCorrectAngle(90);
        QTRY_VERIFY_WITH_TIMEOUT(!w.rewriteRunning(), 60000);
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
    }));
    QTRY_COMPARE(watcher.count(), locked ? 1 : 2);
    QVERIFY2(watcher.texts().last().contains(cause), qPrintable(watcher.texts().last()));
    QVERIFY(!correctionDialog() || !correctionDialog()->isVisible());
    QFile::setPermissions(place.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(readState(path).hash, before.hash);
}

QTEST_MAIN(TestCorrections)

#include "tst_corrections.moc"
