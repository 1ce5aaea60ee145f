// The project information dialog: layout and texts, filling from the record,
// saving back to the file, and a save that the file refuses.

#include "projectinfo.h"
#include "projectinfodialog.h"
#include "projecttesthelpers.h"
#include "samplefixture.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace ProjectTest;

class TestProjectInfoDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void layoutAndTexts();
    void fillEditAndSave();
    void invalidDateIsNotTakenFromTheProjectBefore();
    void refusedSaveIsReported();
    void cancelChangesNothing();

private:
    QString sample(const QString &name, const QStringList &args);
    void load(const QString &path);

    QTemporaryDir m_dir;
};

QString TestProjectInfoDialog::sample(const QString &name, const QStringList &args)
{
    return makeSample(m_dir, name, args);
}

void TestProjectInfoDialog::load(const QString &path)
{
    openProject(path);
}

void TestProjectInfoDialog::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestProjectInfoDialog::layoutAndTexts()
{
    ProjectInfoDialog dialog;
    QVERIFY(dialog.windowFlags() & Qt::Dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Project name:"));
    QVERIFY(!dialog.diameterEdit()->isEnabled());
    QCOMPARE(dialog.diameterEdit()->text(), QStringLiteral("0"));
    QCOMPARE(dialog.dateEdit()->date(), QDate::currentDate());
    QVERIFY(dialog.dateEdit()->calendarPopup());
    for (QPushButton *button : {dialog.saveButton(), dialog.cancelButton()}) {
        QVERIFY(button->maximumWidth() <= 80);
        QVERIFY(button->maximumHeight() <= 50);
        QVERIFY(button->minimumHeight() >= 30);
    }
    QCOMPARE(dialog.saveButton()->text(), QStringLiteral("Save"));
    QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("Cancel"));

    // Grid positions: label in column 0, edits after it.
    auto *grid = dialog.findChild<QGridLayout *>();
    QVERIFY(grid);
    auto cell = [grid](int row, int column) -> QWidget * {
        QLayoutItem *item = grid->itemAtPosition(row, column);
        return item ? item->widget() : nullptr;
    };
    auto labelText = [&](int row, int column) {
        auto *label = qobject_cast<QLabel *>(cell(row, column));
        return label ? label->text() : QString();
    };
    QCOMPARE(labelText(0, 0), QStringLiteral("Project name:"));
    QCOMPARE(cell(0, 1), static_cast<QWidget *>(dialog.projectNameEdit()));
    QCOMPARE(cell(0, 3), static_cast<QWidget *>(dialog.projectNameEdit())); // spans to column 3
    QCOMPARE(labelText(1, 0), QStringLiteral("Detection unit:"));
    QCOMPARE(labelText(2, 0), QStringLiteral("Coordinates:"));
    QCOMPARE(cell(2, 1), static_cast<QWidget *>(dialog.coordinatesLongitudeEdit()));
    QCOMPARE(cell(2, 3), static_cast<QWidget *>(dialog.coordinatesLatitudeEdit()));
    QCOMPARE(labelText(3, 0), QStringLiteral("Number:"));
    QCOMPARE(labelText(3, 2), QStringLiteral("Date:"));
    QCOMPARE(cell(3, 3), static_cast<QWidget *>(dialog.dateEdit()));
    QCOMPARE(labelText(4, 0), QStringLiteral("Total diameter(mm):"));
    QCOMPARE(labelText(4, 2), QStringLiteral("Diameter(mm):"));
    QCOMPARE(cell(4, 3), static_cast<QWidget *>(dialog.diameterEdit()));
    QCOMPARE(labelText(5, 0), QStringLiteral("Start depth(mm):"));
    QCOMPARE(labelText(5, 2), QStringLiteral("Person:"));
    QCOMPARE(labelText(6, 0), QStringLiteral("Orifice elevation:"));
    QCOMPARE(labelText(6, 2), QStringLiteral("Waterlevel"));
    QCOMPARE(cell(6, 3), static_cast<QWidget *>(dialog.stableWaterLevelEdit()));

    QCOMPARE(cell(2, 2), static_cast<QWidget *>(nullptr)); // nothing between the coordinates
    QCOMPARE(cell(3, 1), static_cast<QWidget *>(dialog.orificeNumberEdit()));
    QCOMPARE(cell(4, 1), static_cast<QWidget *>(dialog.testTotalDepthEdit()));
    QCOMPARE(cell(5, 1), static_cast<QWidget *>(dialog.testStartDepthEdit()));
    QCOMPARE(cell(5, 3), static_cast<QWidget *>(dialog.testPersonEdit()));
    QCOMPARE(cell(6, 1), static_cast<QWidget *>(dialog.orificeElevationEdit()));
    QCOMPARE(cell(1, 3), static_cast<QWidget *>(dialog.detectionUnitEdit()));
    QCOMPARE(grid->rowCount(), 7);

    // The buttons sit side by side below the grid, "Save" first.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.saveButton()->y(), dialog.cancelButton()->y());
    QVERIFY(dialog.saveButton()->x() < dialog.cancelButton()->x());
    QVERIFY(dialog.saveButton()->y() > dialog.stableWaterLevelEdit()->y());
    for (QPushButton *button : {dialog.saveButton(), dialog.cancelButton()}) {
        QVERIFY(button->width() <= 80);
        QVERIFY(button->height() >= 30 && button->height() <= 50);
    }
    dialog.hide();

    // Slots in their declared order.
    const QMetaObject *meta = dialog.metaObject();
    const int save = meta->indexOfSlot("handleSavePressed()");
    const int retranslate = meta->indexOfSlot("OnRetranslate()");
    QVERIFY(save >= meta->methodOffset());
    QCOMPARE(retranslate, save + 1);

    // OnRetranslate sets every text again.
    dialog.saveButton()->setText(QStringLiteral("x"));
    dialog.cancelButton()->setText(QStringLiteral("x"));
    dialog.setWindowTitle(QStringLiteral("x"));
    const QList<QLabel *> labels = dialog.findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(labels.size(), 11);
    for (QLabel *label : labels)
        label->setText(QStringLiteral("x"));
    dialog.OnRetranslate();
    QCOMPARE(dialog.saveButton()->text(), QStringLiteral("Save"));
    QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("Cancel"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Project name:"));
    for (QLabel *label : labels)
        QVERIFY(label->text() != QLatin1String("x"));
    QCOMPARE(labelText(6, 2), QStringLiteral("Waterlevel"));
}

void TestProjectInfoDialog::fillEditAndSave()
{
    const QString path = sample(QStringLiteral("dialog.prj"), {"--name", "Hole 9", "--date", "2023/05/06",
                                                               "--diameter", "76", "--to", "2"});
    QVERIFY(!path.isEmpty());
    load(path);
    ProjectInfoDialog dialog;
    dialog.fillFromRecord();
    QCOMPARE(dialog.projectNameEdit()->text(), QStringLiteral("Hole 9"));
    QCOMPARE(dialog.dateEdit()->date(), QDate(2023, 5, 6));
    QCOMPARE(dialog.diameterEdit()->text(), QStringLiteral("76")); // 760 units -> 76 mm

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.projectNameEdit()->setText(QStringLiteral("Hole 10"));
    dialog.testPersonEdit()->setText(QStringLiteral("Zhao"));
    dialog.stableWaterLevelEdit()->setText(QStringLiteral("2.5"));
    dialog.dateEdit()->setDate(QDate(2024, 1, 31));
    QTest::mousePress(dialog.saveButton(), Qt::LeftButton);
    QTest::mouseRelease(dialog.saveButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());

    ProjectInfo *info = ProjectInfo::instance();
    QCOMPARE(info->projectName(), QStringLiteral("Hole 10"));
    QCOMPARE(info->diameterText(), QStringLiteral("76"));
    Inspector db(path);
    QCOMPARE(db.scalar(QStringLiteral("select projectName from projectInfo")).toString(), QStringLiteral("Hole 10"));
    QCOMPARE(db.scalar(QStringLiteral("select testPerson from projectInfo")).toString(), QStringLiteral("Zhao"));
    QCOMPARE(db.scalar(QStringLiteral("select stableWaterLevel from projectInfo")).toString(), QStringLiteral("2.5"));
    QCOMPARE(db.scalar(QStringLiteral("select date from projectInfo")).toString(), QStringLiteral("2024/01/31"));
    // The diameter is shown only; the file keeps its own.
    QCOMPARE(db.scalar(QStringLiteral("select diameter from projectInfo")).toInt(), 760);
}

void TestProjectInfoDialog::invalidDateIsNotTakenFromTheProjectBefore()
{
    const QString first = sample(QStringLiteral("dated.prj"), {"--date", "2021/08/09", "--to", "1"});
    const QString second = sample(QStringLiteral("undated.prj"), {"--date", "09.08.2021", "--to", "1"});
    QVERIFY(!first.isEmpty() && !second.isEmpty());
    ProjectInfoDialog dialog;
    load(first);
    dialog.fillFromRecord();
    QCOMPARE(dialog.dateEdit()->date(), QDate(2021, 8, 9));

    // The second project's date does not parse: the box is empty.
    load(second);
    QVERIFY(!ProjectInfo::instance()->date().isValid());
    dialog.fillFromRecord();
    QVERIFY(dialog.dateEdit()->text().trimmed().isEmpty());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::mousePress(dialog.saveButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    {
        Inspector db(second);
        QCOMPARE(db.scalar(QStringLiteral("select date from projectInfo")).toString(), QString(""));
        QCOMPARE(db.scalar(QStringLiteral("select typeof(date) from projectInfo")).toString(),
                 QStringLiteral("text"));
    }
    QVERIFY(!ProjectInfo::instance()->date().isValid());

    // A date picked in the empty box is saved.
    dialog.fillFromRecord();
    dialog.dateEdit()->setDate(QDate(2022, 2, 3));
    QTest::mousePress(dialog.saveButton(), Qt::LeftButton);
    Inspector db(second);
    QCOMPARE(db.scalar(QStringLiteral("select date from projectInfo")).toString(), QStringLiteral("2022/02/03"));
}

void TestProjectInfoDialog::refusedSaveIsReported()
{
    const QString path = sample(QStringLiteral("locked.prj"), {"--to", "1"});
    QVERIFY(!path.isEmpty());
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner));
    const QByteArray before = fileHash(path);
    load(path);

    ProjectInfoDialog dialog;
    dialog.fillFromRecord();
    dialog.show();
    dialog.projectNameEdit()->setText(QStringLiteral("never written"));

    QString boxText;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&]() {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxText = box->text();
            box->accept();
        }
    });
    poll.start(20);
    QTest::mousePress(dialog.saveButton(), Qt::LeftButton);
    poll.stop();
    QVERIFY(!dialog.isVisible());
    QVERIFY(!boxText.isEmpty());
    QCOMPARE(fileHash(path), before);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void TestProjectInfoDialog::cancelChangesNothing()
{
    const QString path = sample(QStringLiteral("cancel.prj"), {"--name", "Same", "--to", "1"});
    QVERIFY(!path.isEmpty());
    load(path);
    const QByteArray before = fileHash(path);
    ProjectInfoDialog dialog;
    dialog.fillFromRecord();
    dialog.show();
    dialog.projectNameEdit()->setText(QStringLiteral("Other"));
    QTest::mousePress(dialog.cancelButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(ProjectInfo::instance()->projectName(), QStringLiteral("Same"));
    QCOMPARE(fileHash(path), before);
}

QTEST_MAIN(TestProjectInfoDialog)
#include "tst_projectinfodialog.moc"
