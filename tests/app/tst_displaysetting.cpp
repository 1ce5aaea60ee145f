// Display settings dialog: the grid-size choices, their parsing and the index
// written back on OK only.

#include "qdlgdisplaysetting.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {
// Stands in for a translation file of the dialog's context.
class TableTranslator : public QTranslator
{
public:
    explicit TableTranslator(QHash<QString, QString> table) : m_table(std::move(table)) {}
    QString translate(const char *context, const char *sourceText, const char *,
                      int) const override
    {
        if (QLatin1String(context) != QLatin1String("QDlgDisplaySetting"))
            return QString();
        return m_table.value(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }

private:
    QHash<QString, QString> m_table;
};
} // namespace

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

    void translatedChoicesAreParsed()
    {
        // The grid size comes from the text the user sees.
        TableTranslator translator({{"20*20", "25*25"}, {"50*50", QString::fromUtf8("50×50")}});
        QCoreApplication::installTranslator(&translator);
        const QStringList choices = QDlgDisplaySetting::GridSizeChoices();
        const QSize second = QDlgDisplaySetting::gridSize(1);
        const QSize third = QDlgDisplaySetting::gridSize(2);
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(choices, QStringList({"10*10", "25*25", QString::fromUtf8("50×50")}));
        QCOMPARE(second, QSize(25, 25));
        QCOMPARE(third, QSize(10, 10));
    }

    void formTextsAreTranslated()
    {
        TableTranslator translator({{QString::fromUtf8("显示设置"), "Display settings"},
                                    {QString::fromUtf8("网格线"), "Grid lines"},
                                    {QString::fromUtf8("网格尺寸"), "Grid size"}});
        QCoreApplication::installTranslator(&translator);
        int index = 0;
        QDlgDisplaySetting dlg(index);
        QCoreApplication::removeTranslator(&translator);
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Display settings"));
        QCOMPARE(dlg.findChild<QGroupBox *>()->title(), QStringLiteral("Grid lines"));
        QCOMPARE(dlg.findChild<QLabel *>("label_1")->text(), QStringLiteral("Grid size"));

        // Untranslated, the form carries its own texts.
        QDlgDisplaySetting plain(index);
        QCOMPARE(plain.windowTitle(), QString::fromUtf8("显示设置"));
        QCOMPARE(plain.findChild<QGroupBox *>()->title(), QString::fromUtf8("网格线"));
        QCOMPARE(plain.findChild<QLabel *>("label_1")->text(), QString::fromUtf8("网格尺寸"));
    }

    void formLayout()
    {
        int index = 0;
        QDlgDisplaySetting dlg(index);
        auto *column = qobject_cast<QVBoxLayout *>(dlg.layout());
        QVERIFY(column);
        QCOMPARE(column->count(), 2);
        auto *group = qobject_cast<QGroupBox *>(column->itemAt(0)->widget());
        QVERIFY(group);
        auto *form = qobject_cast<QFormLayout *>(group->layout());
        QVERIFY(form);
        QWidget *label = form->itemAt(0, QFormLayout::LabelRole)->widget();
        QWidget *combo = form->itemAt(0, QFormLayout::FieldRole)->widget();
        QCOMPARE(label->objectName(), QStringLiteral("label_1"));
        QCOMPARE(combo->objectName(), QStringLiteral("cmbBoxGridLines"));
        QCOMPARE(label->minimumWidth(), 100);
        QCOMPARE(combo->minimumWidth(), 150);
        auto *box = qobject_cast<QDialogButtonBox *>(column->itemAt(1)->widget());
        QVERIFY(box);
        QCOMPARE(box->objectName(), QStringLiteral("buttonBox"));
        QCOMPARE(box->orientation(), Qt::Horizontal);
        QCOMPARE(box->standardButtons(), QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
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
