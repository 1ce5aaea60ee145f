// Display settings dialog: the grid-size choices, their parsing and the index
// written back on OK only.

#include "qdlgdisplaysetting.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestDisplaySetting : public QObject
{
    Q_OBJECT
private slots:
    void choicesAndParsing()
    {
        QCOMPARE(QDlgDisplaySetting::GridSizeChoices(),
                 QStringList({"10*10", "20*20", "50*50"}));
        QCOMPARE(QDlgDisplaySetting::gridSize(0), QSize(10, 10));
        QCOMPARE(QDlgDisplaySetting::gridSize(1), QSize(20, 20));
        QCOMPARE(QDlgDisplaySetting::gridSize(2), QSize(50, 50));
        QCOMPARE(QDlgDisplaySetting::gridSize(3), QSize(10, 10));
        QCOMPARE(QDlgDisplaySetting::gridSize(-1), QSize(10, 10));
    }

    void parseText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("size");
        QTest::newRow("50*50") << "50*50" << QSize(50, 50);
        QTest::newRow("unequal") << "30*20" << QSize(30, 20);
        QTest::newRow("empty parts skipped") << "*40**25*" << QSize(40, 25);
        QTest::newRow("no star") << "50x50" << QSize(10, 10);
        QTest::newRow("three parts") << "5*5*5" << QSize(10, 10);
        QTest::newRow("one part") << "50*" << QSize(10, 10);
        QTest::newRow("empty") << "" << QSize(10, 10);
        QTest::newRow("not a number") << "a*b" << QSize(10, 10);
        QTest::newRow("zero") << "0*10" << QSize(10, 10);
        QTest::newRow("negative") << "-5*10" << QSize(10, 10);
        QTest::newRow("spaces") << "20 * 20" << QSize(20, 20);
    }

    void parseText()
    {
        QFETCH(QString, text);
        QFETCH(QSize, size);
        QCOMPARE(QDlgDisplaySetting::parseGridSize(text), size);
    }

    void formAndSelection()
    {
        int index = 2;
        QDlgDisplaySetting dlg(index);
        QCOMPARE(dlg.objectName(), QStringLiteral("QDlgDisplaySetting"));
        auto *combo = dlg.findChild<QComboBox *>("cmbBoxGridLines");
        QVERIFY(combo);
        QVERIFY(dlg.findChild<QWidget *>("label_1"));
        QVERIFY(dlg.findChild<QDialogButtonBox *>("buttonBox"));
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->currentIndex(), 2);
        QCOMPARE(combo->currentText(), QStringLiteral("50*50"));
    }

    void okStoresTheIndex()
    {
        int index = 0;
        QDlgDisplaySetting dlg(index);
        QTimer::singleShot(0, [] {
            QWidget *modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            modal->findChild<QComboBox *>("cmbBoxGridLines")->setCurrentIndex(2);
            modal->findChild<QDialogButtonBox *>("buttonBox")
                ->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(dlg.exec(), int(QDialog::Accepted));
        QCOMPARE(index, 2);
        QCOMPARE(QDlgDisplaySetting::gridSize(index), QSize(50, 50));
    }

    void cancelKeepsTheIndex()
    {
        int index = 1;
        QDlgDisplaySetting dlg(index);
        QTimer::singleShot(0, [] {
            QWidget *modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            modal->findChild<QComboBox *>("cmbBoxGridLines")->setCurrentIndex(0);
            modal->findChild<QDialogButtonBox *>("buttonBox")
                ->button(QDialogButtonBox::Cancel)->click();
        });
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
        QCOMPARE(index, 1);
    }
};

QTEST_MAIN(TestDisplaySetting)
#include "tst_displaysetting.moc"
