// Depth navigation panel: wiring of its buttons and spin boxes, reset, the
// operations the project record drives it with, and retranslation.

#include "fileinfowidget.h"
#include "modalwatcher.h"
#include "projectinfo.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QDoubleSpinBox>
#include <QSpinBox>
#include <QTest>
#include <QTranslator>

namespace {
// Turns every text of FileInfoWidget into "<text>#".
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *,
                      int) const override
    {
        if (QLatin1String(context) == QLatin1String("FileInfoWidget"))
            return QString::fromUtf8(sourceText) + QLatin1Char('#');
        return QString();
    }
    bool isEmpty() const override { return false; }
};

QStringList labelTexts(const QWidget &w)
{
    QStringList texts;
    for (QLabel *l : w.findChildren<QLabel *>())
        texts << l->text();
    for (QPushButton *b : w.findChildren<QPushButton *>())
        texts << b->text();
    return texts;
}
} // namespace

class TestFileInfoWidget : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Must come before the first use of the project record.
        FileInfoWidget::installAsNavigationPanel();
    }

    void buttonsAndSpinBoxesEmitTheirSignals()
    {
        FileInfoWidget w;
        QSignalSpy go(&w, &FileInfoWidget::goPressed);
        QSignalSpy stop(&w, &FileInfoWidget::signalStopPressed);
        QSignalSpy last(&w, &FileInfoWidget::signalLastPressed);
        QSignalSpy next(&w, &FileInfoWidget::signalNextPressed);
        QSignalSpy start(&w, &FileInfoWidget::startValueChanged);
        QSignalSpy end(&w, &FileInfoWidget::endValueChanged);

        QTest::mousePress(w.findChild<QPushButton *>("goButton"), Qt::LeftButton);
        QTest::mousePress(w.findChild<QPushButton *>("stopButton"), Qt::LeftButton);
        QTest::mousePress(w.findChild<QPushButton *>("previousButton"), Qt::LeftButton);
        QTest::mousePress(w.findChild<QPushButton *>("previousButton"), Qt::LeftButton);
        QTest::mousePress(w.findChild<QPushButton *>("nextButton"), Qt::LeftButton);
        QCOMPARE(go.count(), 1);
        QCOMPARE(stop.count(), 1);
        QCOMPARE(last.count(), 2);
        QCOMPARE(next.count(), 1);

        w.startSpin->setValue(12);
        w.endSpin->setValue(14);
        QCOMPARE(start.count(), 1);
        QCOMPARE(start.at(0).at(0).toInt(), 12);
        QCOMPARE(end.count(), 1);
        QCOMPARE(end.at(0).at(0).toInt(), 14);
    }

    // Go with a reversed or empty range says so and asks for no page, so
    // the page on screen stays.
    void goRefusesAReversedRange_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<bool>("goes");
        QTest::newRow("downwards") << 3.0 << 8.0 << true;
        QTest::newRow("reversed") << 8.0 << 3.0 << false;
        QTest::newRow("empty") << 4.0 << 4.0 << false;
    }

    void goRefusesAReversedRange()
    {
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(bool, goes);
        FileInfoWidget w;
        ModalWatcher watcher;
        QSignalSpy go(&w, &FileInfoWidget::goPressed);
        w.startSpin->setValue(start);
        w.endSpin->setValue(end);
        if (!goes)
            watcher.acceptNext();
        QTest::mousePress(w.findChild<QPushButton *>("goButton"), Qt::LeftButton);
        QCOMPARE(go.count(), goes ? 1 : 0);
        QCOMPARE(watcher.count(), goes ? 0 : 1);
        if (!goes)
            QVERIFY2(watcher.texts().first().contains(QStringLiteral("below the start")), qPrintable(watcher.texts().first()));
    }

    void spinBoxRanges()
    {
        FileInfoWidget w;
        QCOMPARE(w.startSpin->minimum(), 0.0);
        QCOMPARE(w.startSpin->maximum(), 500.0);
        QCOMPARE(w.endSpin->value(), 5.0);
        QCOMPARE(w.pageDepthSpin->minimum(), 1);
        QCOMPARE(w.pageDepthSpin->maximum(), 50);
        QCOMPARE(w.startSpin->suffix(), QStringLiteral(" m"));
        w.setEndValue(700);
        QCOMPARE(w.endValue(), 500);
        w.pageDepthSpin->setValue(7);
        QCOMPARE(w.pageDepth(), 70000);
    }

    void rowLayout()
    {
        FileInfoWidget w;
        auto *row = qobject_cast<QHBoxLayout *>(w.layout());
        QVERIFY(row);
        // One row: texts and spin boxes, a 10 px gap after the range, a
        // stretch, then the four buttons.
        QStringList seen;
        for (int i = 0; i < row->count(); ++i) {
            QLayoutItem *item = row->itemAt(i);
            if (QWidget *widget = item->widget()) {
                if (auto *label = qobject_cast<QLabel *>(widget))
                    seen << QStringLiteral("label:") + label->text();
                else if (auto *button = qobject_cast<QPushButton *>(widget))
                    seen << QStringLiteral("button:") + button->text();
                else
                    seen << QStringLiteral("spin:") + widget->objectName();
            } else if (QSpacerItem *spacer = item->spacerItem()) {
                if (spacer->expandingDirections() & Qt::Horizontal)
                    seen << QStringLiteral("stretch");
                else
                    seen << QStringLiteral("space:%1").arg(spacer->sizeHint().width());
            }
        }
        QCOMPARE(seen, QStringList({"label:depth range(mm):", "label:0 --- 0", "space:10",
                                    "label:Current:", "spin:startSpin", "label:---",
                                    "spin:endSpin", "label:Page depth:", "spin:pageDepthSpin",
                                    "stretch", "button:Go", "button:Stop", "button:Previous",
                                    "button:Next"}));
        QCOMPARE(row->itemAt(4)->widget(), w.startSpin);
        QCOMPARE(row->itemAt(6)->widget(), w.endSpin);
        QCOMPARE(row->itemAt(8)->widget(), w.pageDepthSpin);

        QCOMPARE(qobject_cast<QLabel *>(row->itemAt(3)->widget())->buddy(), w.startSpin);
        QCOMPARE(row->itemAt(1)->widget()->minimumWidth(), 100);
        QCOMPARE(w.endSpin->minimum(), 0.0);
        QCOMPARE(w.endSpin->maximum(), 500.0);
    }

    void rangeTextAndReset()
    {
        FileInfoWidget w;
        QLabel *range = w.findChild<QLabel *>("rangeText");
        QVERIFY(range);
        QCOMPARE(range->text(), QStringLiteral("0 --- 0"));
        w.setStartText(12000);   // 1.2 m = 1200 mm
        w.setEndText(123450);    // 12.345 m
        QCOMPARE(w.rangeText(), QStringLiteral("1200 --- 12345"));
        QCOMPARE(range->text(), w.rangeText());

        w.setStartValue(30);
        w.setEndValue(40);
        w.pageDepthSpin->setValue(20);
        w.reset();
        QCOMPARE(range->text(), QStringLiteral("0 --- 0"));
        QCOMPARE(w.startValue(), 0);
        QCOMPARE(w.endValue(), 5);
        QCOMPARE(w.pageDepthSpin->value(), 5);
        QCOMPARE(w.pageDepth(), 50000);
    }

    void goButtonEnabledAfterEditing()
    {
        FileInfoWidget w;
        auto *go = w.findChild<QPushButton *>("goButton");
        go->setEnabled(false);
        w.handleEditingFinished(QStringLiteral("3"));
        QVERIFY(go->isEnabled());
    }

    void projectRecordDrivesThePanel()
    {
        FileInfoWidget *panel = FileInfoWidget::instance();
        QVERIFY2(panel, "ProjectInfo did not make a FileInfoWidget");
        ProjectInfo *info = ProjectInfo::instance();

        info->setPageStart(25000);   // 2.5 m -> floor 2
        info->setPageEnd(25000);     // 2.5 m -> ceil 3
        QCOMPARE(panel->startValue(), 2);
        QCOMPARE(panel->endValue(), 3);
        info->setPageStart(30000);   // exact metres stay
        info->setPageEnd(70000);
        QCOMPARE(panel->startValue(), 3);
        QCOMPARE(panel->endValue(), 7);
        info->setPageEnd(70001);
        QCOMPARE(panel->endValue(), 8);

        panel->pageDepthSpin->setValue(9);
        info->reset();
        QCOMPARE(panel->startValue(), 0);
        QCOMPARE(panel->endValue(), 5);
        QCOMPARE(panel->pageDepth(), 50000);
        QCOMPARE(panel->rangeText(), QStringLiteral("0 --- 0"));
    }

    void retranslation()
    {
        FileInfoWidget w;
        const QStringList english = labelTexts(w);
        for (const char *t : {"depth range(mm):", "Current:", "Page depth:", "Go", "Stop",
                              "Previous", "Next"})
            QVERIFY2(english.contains(QString::fromLatin1(t)), t);

        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        w.OnRetranslate();
        QCoreApplication::removeTranslator(&translator);
        const QStringList marked = labelTexts(w);
        for (const char *t : {"depth range(mm):", "Current:", "Page depth:", "Go", "Stop",
                              "Previous", "Next"})
            QVERIFY2(marked.contains(QString::fromLatin1(t) + QLatin1Char('#')), t);
        // Values are not texts to translate.
        QVERIFY(marked.contains(QStringLiteral("0 --- 0")));
    }
};

QTEST_MAIN(TestFileInfoWidget)
#include "tst_fileinfowidget.moc"
