// Saving the page as JPEG pieces through the main window: the file and piece
// dialogs, what is written, when a second save does nothing, the bare-image
// save and its visibility, failures, and the unsaved-changes prompt's Save.

#include <QDir>
#include <QGraphicsLineItem>
#include <QPushButton>
#include <QtTest>

#include "graphicsscene.h"
#include "itemstyle.h"
#include "mainwindow.h"
#include "modalwatcher.h"
#include "projectinfo.h"
#include "savedialog.h"
#include "settings.h"
#include "shelltestsupport.h"
#include "toolbar.h"

namespace {

// Answers a SaveDialog through its Ok or Cancel button and records the
// count it showed.
ModalWatcher::Handler answerSaveDialog(bool ok, QString *count = nullptr)
{
    return [ok, count](QWidget *w) {
        auto *dialog = qobject_cast<SaveDialog *>(w);
        if (!dialog) {
            if (auto *d = qobject_cast<QDialog *>(w))
                d->reject();
            return;
        }
        if (count)
            *count = dialog->countText();
        for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
            if (button->text() == (ok ? QLatin1String("Ok") : QLatin1String("Cancel"))) {
                button->click();
                return;
            }
        }
        dialog->reject();
    };
}

QStringList jpegs(const QString &path)
{
    return QDir(path).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
}

} // namespace

class TestImageSaving : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void saveWritesPiecesAndRemembersTheTarget();
    void failedWriteKeepsDrawingsUnsaved();
    void originalImageRestoresVisibility_data();
    void originalImageRestoresVisibility();
    void promptSaveSavesAndGoesOn();

private:
    QLineF drawLine(MainWindow &w);

    QTemporaryDir m_settingsDir;
    QTemporaryDir m_dir;
    QString m_project;
};

void TestImageSaving::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    ShellTest::setUp(m_settingsDir, 0);
    m_project = ShellTest::makeProject(m_dir, QStringLiteral("p.prj"),
                                       {QStringLiteral("--to"), QStringLiteral("10"), QStringLiteral("--width"),
                                        QStringLiteral("200")});
    QVERIFY(!m_project.isEmpty());
}

void TestImageSaving::init()
{
    ProjectInfo::instance()->reset();
    ItemStyle::instance()->setGridVisible(false);
}

QLineF TestImageSaving::drawLine(MainWindow &w)
{
    auto *line = new QGraphicsLineItem(1350, 200, 1450, 300);
    w.scene()->addItem(line);
    return line->line();
}

void TestImageSaving::saveWritesPiecesAndRemembersTheTarget()
{
    QTemporaryDir out;
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project); // page 0 to 5 m
    drawLine(w);

    // Through the tool bar: file dialog, piece dialog (2000 mm), success.
    QString shownCount;
    watcher.answerFileDialog(out.filePath(QStringLiteral("p.jpg")));
    watcher.answer(answerSaveDialog(true, &shownCount));
    watcher.acceptNext();
    emit w.toolBar()->signalSaveCurrentImage();
    QCOMPARE(watcher.titles().value(0), QStringLiteral("Save picture as"));
    QCOMPARE(watcher.texts().value(2), QStringLiteral("Save successfully"));
    const QStringList expected{"p.jpg(0.00-2.00m).jpg", "p.jpg(2.00-4.00m).jpg", "p.jpg(4.00-5.00m).jpg"};
    QCOMPARE(jpegs(out.path()), expected);
    // The count shown matches the pieces written with the default depth.
    QCOMPARE(shownCount, QStringLiteral("Will save into 3 images"));
    QVERIFY(w.hasSaveTarget());
    QCOMPARE(w.scene()->baseItemCount(), w.scene()->items().size());
    QCOMPARE(Settings::instance()->saveDepth(), 2000);

    // Nothing new: the second save does nothing and shows nothing.
    watcher.clear();
    w.saveCurrentImage();
    QCOMPARE(watcher.count(), 0);

    // Something new: no file dialog, the piece dialog and the message.
    drawLine(w);
    watcher.answer(answerSaveDialog(true));
    watcher.acceptNext();
    w.saveCurrentImage();
    QCOMPARE(watcher.classNames().value(0), QStringLiteral("SaveDialog"));
    QCOMPARE(watcher.texts().value(1), QStringLiteral("Save successfully"));
    QCOMPARE(jpegs(out.path()), expected);

    // Save as from its key (a File menu command): a new name is asked for
    // and the page goes there.
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    watcher.clear();
    watcher.answerFileDialog(out.filePath(QStringLiteral("q.jpg")));
    watcher.answer(answerSaveDialog(true));
    watcher.acceptNext();
    QTest::keySequence(&w, QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    QCOMPARE(watcher.titles().value(0), QStringLiteral("Save picture as"));
    QVERIFY(jpegs(out.path()).contains(QStringLiteral("q.jpg(0.00-2.00m).jpg")));
}

void TestImageSaving::failedWriteKeepsDrawingsUnsaved()
{
    QTemporaryDir out;
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);
    drawLine(w);

    // The folder vanishes between choosing the name and writing.
    QDir(out.path()).mkdir(QStringLiteral("gone"));
    const QString target = out.filePath(QStringLiteral("gone/p.jpg"));
    watcher.answerFileDialog(target);
    watcher.answer([&out](QWidget *dialog) {
        QDir(out.filePath(QStringLiteral("gone"))).removeRecursively();
        answerSaveDialog(true)(dialog);
    });
    watcher.acceptNext();
    w.saveCurrentImage();
    QCOMPARE(watcher.count(), 3);
    // The message says why: the folder is gone.
    QCOMPARE(watcher.texts().last(), QStringLiteral("The picture could not be saved: the folder \"%1\" does not exist.")
                                         .arg(out.filePath(QStringLiteral("gone"))));
    QVERIFY(!w.hasSaveTarget());
    QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount() + 1);
}

void TestImageSaving::originalImageRestoresVisibility_data()
{
    QTest::addColumn<int>("outcome"); // 0 file dialog cancelled, 1 piece dialog cancelled, 2 failure, 3 success
    QTest::newRow("file dialog cancelled") << 0;
    QTest::newRow("piece dialog cancelled") << 1;
    QTest::newRow("write fails") << 2;
    QTest::newRow("saved") << 3;
}

void TestImageSaving::originalImageRestoresVisibility()
{
    QFETCH(int, outcome);
    QTemporaryDir out;
    MainWindow w;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(&w, m_project);
    drawLine(w);
    auto *hiddenByUser = w.scene()->addLine(1300, 400, 1400, 400);
    hiddenByUser->hide();
    QList<QGraphicsItem *> visible;
    for (QGraphicsItem *item : w.scene()->items()) {
        if (item->isVisible())
            visible << item;
    }

    const QString base = outcome == 2 ? out.filePath(QStringLiteral("missing/p.jpg")) : out.filePath(QStringLiteral("p.jpg"));
    watcher.answerFileDialog(outcome == 0 ? QString() : base);
    watcher.answer(answerSaveDialog(outcome != 1));
    watcher.acceptNext();
    emit w.toolBar()->signalSaveOriginalImage();

    for (QGraphicsItem *item : w.scene()->items())
        QCOMPARE(item->isVisible(), visible.contains(item));
    QVERIFY(!w.hasSaveTarget());
    // The bare image column does not hold the drawing: it stays unsaved.
    QCOMPARE(w.scene()->items().size(), w.scene()->baseItemCount() + 2);
    if (outcome == 3) {
        QCOMPARE(watcher.texts().last(), QStringLiteral("Save successfully"));
        const QStringList files = jpegs(out.path());
        QCOMPARE(files.size(), 3);
        const QImage piece(out.filePath(files.first()));
        QCOMPARE(piece.width(), ProjectInfo::instance()->imageWidth());
    } else {
        QVERIFY(jpegs(out.path()).isEmpty());
    }
}

void TestImageSaving::promptSaveSavesAndGoesOn()
{
    QTemporaryDir out;
    auto *w = new MainWindow;
    ModalWatcher watcher;
    SHELL_OPEN_PROJECT(w, m_project);
    drawLine(*w);

    watcher.answerMessageBox(QMessageBox::Save);
    watcher.answerFileDialog(out.filePath(QStringLiteral("c.jpg")));
    watcher.answer(answerSaveDialog(true));
    watcher.acceptNext();
    QVERIFY(w->close());
    QCOMPARE(watcher.texts().first(), QStringLiteral("Whether to save the changes?"));
    QCOMPARE(watcher.texts().last(), QStringLiteral("Save successfully"));
    QCOMPARE(jpegs(out.path()).size(), 3);
    delete w;
}

QTEST_MAIN(TestImageSaving)
#include "tst_imagesaving.moc"
