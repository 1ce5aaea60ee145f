// Range dialog of the roll view: proposed range, validation messages and the
// values it hands on.

#include "rangedialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>

namespace {
// Turns every text of RangeDialog into "<text>#".
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *,
                      int) const override
    {
        if (QLatin1String(context) == QLatin1String("RangeDialog"))
            return QString::fromUtf8(sourceText) + QLatin1Char('#');
        return QString();
    }
    bool isEmpty() const override { return false; }
};

QString textOf(QLayoutItem *item)
{
    if (auto *label = qobject_cast<QLabel *>(item->widget()))
        return label->text();
    if (auto *button = qobject_cast<QPushButton *>(item->widget()))
        return button->text();
    if (auto *edit = qobject_cast<QLineEdit *>(item->widget()))
        return QStringLiteral("[") + edit->objectName() + QStringLiteral("]");
    return QStringLiteral("?");
}
} // namespace

class TestRangeDialog : public QObject
{
    Q_OBJECT

    static void typeEnd(RangeDialog *d, const QString &text)
    {
        d->endEdit()->selectAll();
        QTest::keyClick(d->endEdit(), Qt::Key_Backspace);
        QTest::keyClicks(d->endEdit(), text);
    }

private slots:
    void initialState()
    {
        QPointer<RangeDialog> d = new RangeDialog;
        QCOMPARE(d->startEdit()->text(), QStringLiteral("0.0"));
        QCOMPARE(d->endEdit()->text(), QStringLiteral("1.0"));
        QVERIFY(d->errorLabel()->text().isEmpty());
        QVERIFY(d->okButton()->isEnabled());
        QVERIFY(d->testAttribute(Qt::WA_DeleteOnClose));
        d->close();
        QTRY_VERIFY(d.isNull());
    }

    void layoutAndSizes()
    {
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        auto *column = qobject_cast<QVBoxLayout *>(d.layout());
        QVERIFY(column);
        QCOMPARE(column->count(), 3);
        QLayout *fields = column->itemAt(0)->layout();
        QVERIFY(fields);
        QStringList row;
        for (int i = 0; i < fields->count(); ++i)
            row << textOf(fields->itemAt(i));
        QCOMPARE(row, QStringList({"start(m)", "[startEdit]", "end(m)", "[endEdit]"}));
        QCOMPARE(column->itemAt(1)->widget(), d.errorLabel());
        QLayout *buttons = column->itemAt(2)->layout();
        QVERIFY(buttons);
        QCOMPARE(buttons->count(), 2);
        QCOMPARE(buttons->itemAt(0)->widget(), d.okButton());
        QCOMPARE(buttons->itemAt(1)->widget(), d.cancelButton());
        QCOMPARE(d.okButton()->text(), QStringLiteral("OK"));
        QCOMPARE(d.cancelButton()->text(), QStringLiteral("Cancel"));
        for (QWidget *edit : {static_cast<QWidget *>(d.startEdit()), static_cast<QWidget *>(d.endEdit())}) {
            QCOMPARE(edit->minimumWidth(), 50);
            QCOMPARE(edit->maximumWidth(), 50);
        }
        for (QWidget *button : {d.okButton(), d.cancelButton()}) {
            QCOMPARE(button->minimumWidth(), 70);
            QCOMPARE(button->maximumWidth(), 70);
        }
    }

    void textsAreTranslated()
    {
        MarkingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        typeEnd(&d, QStringLiteral("0"));
        d.okPressed();
        const QString equalError = d.errorLabel()->text();
        typeEnd(&d, QStringLiteral("7"));
        d.okPressed();
        const QString lengthError = d.errorLabel()->text();
        QCoreApplication::removeTranslator(&translator);

        QStringList labels;
        for (QLabel *l : d.findChildren<QLabel *>())
            if (l != d.errorLabel())
                labels << l->text();
        labels.sort();
        QCOMPARE(labels, QStringList({"end(m)#", "start(m)#"}));
        QCOMPARE(d.okButton()->text(), QStringLiteral("OK#"));
        QCOMPARE(d.cancelButton()->text(), QStringLiteral("Cancel#"));
        QCOMPARE(equalError, QStringLiteral("Range error,start depth is larger than end depth!#"));
        QCOMPARE(lengthError, QStringLiteral("The range must less than 2m!#"));
    }

    // The range is checked on OK only: what OK says for a typed range.
    void okChecksTheRange_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("error"); // empty: accepted
        const QString reversed = QStringLiteral("Range error,start depth is larger than end depth!");
        const QString tooLong = QStringLiteral("The range must less than 2m!");
        QTest::newRow("end equal to start") << "3" << "3" << reversed;
        QTest::newRow("end above start") << "3" << "2.5" << reversed;
        QTest::newRow("not a number") << "3" << "" << reversed;
        QTest::newRow("2.5 m") << "3" << "5.5" << tooLong;
        QTest::newRow("exactly 2 m") << "3" << "5" << "";
        QTest::newRow("decimal, exactly 2 m") << "1.1" << "3.1" << "";
        QTest::newRow("1.25 m") << "3" << "4.25" << "";
        QTest::newRow("start typed first, below the end shown") << "7" << "8.5" << "";
    }

    void okChecksTheRange()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, error);
        QPointer<RangeDialog> d = new RangeDialog;
        QSignalSpy spy(d.data(), &RangeDialog::rollRangeGetted);
        d->show();
        d->startEdit()->selectAll();
        QTest::keyClicks(d->startEdit(), start);
        // Typing alone never complains and never disables OK.
        QVERIFY(d->errorLabel()->text().isEmpty() && d->okButton()->isEnabled());
        typeEnd(d.data(), end);
        QVERIFY(d->errorLabel()->text().isEmpty() && d->okButton()->isEnabled());
        QTest::mousePress(d->okButton(), Qt::LeftButton);
        if (error.isEmpty()) {
            QCOMPARE(spy.count(), 1);
            QCOMPARE(spy.at(0).at(0).toDouble(), QLocale::c().toDouble(start) * 10000.0);
            QCOMPARE(spy.at(0).at(1).toDouble(), QLocale::c().toDouble(end) * 10000.0);
            QTRY_VERIFY(d.isNull());
        } else {
            QCOMPARE(spy.count(), 0);
            QCOMPARE(d->errorLabel()->text(), error);
            QVERIFY(d->isVisible());
            // Editing again clears the message until the next OK.
            QTest::keyClick(d->endEdit(), Qt::Key_9);
            QVERIFY(d->errorLabel()->text().isEmpty());
            delete d;
        }
    }

    // The proposal: the start as given, the end at most 2 m below it.
    void proposedRange_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("startText");
        QTest::addColumn<QString>("endText");
        QTest::addColumn<int>("endKept");
        QTest::newRow("page within 2 m") << 30000 << 40000 << "3" << "4" << 40000;
        QTest::newRow("bottom 10 m below") << 20000 << 120000 << "2" << "4" << 40000;
        QTest::newRow("bottom between metres") << 20000 << 31000 << "2" << "3.1" << 31000;
        QTest::newRow("start between metres") << 15000 << 500000 << "1.5" << "3.5" << 35000;
    }

    void proposedRange()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, startText);
        QFETCH(QString, endText);
        QFETCH(int, endKept);
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        QSignalSpy spy(&d, &RangeDialog::rollRangeGetted);
        d.setLowestStart(start);
        d.setEnd(end);
        QCOMPARE(d.startEdit()->text(), startText);
        QCOMPARE(d.endEdit()->text(), endText);
        QCOMPARE(d.end(), endKept);
        // What is proposed is accepted as it stands.
        d.okPressed();
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), double(start));
        QCOMPARE(spy.at(0).at(1).toDouble(), double(endKept));
    }

    void cancelClosesWithoutSignal()
    {
        QPointer<RangeDialog> d = new RangeDialog;
        QSignalSpy spy(d.data(), &RangeDialog::rollRangeGetted);
        d->show();
        QTest::mousePress(d->cancelButton(), Qt::LeftButton);
        QTRY_VERIFY(d.isNull());
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_MAIN(TestRangeDialog)
#include "tst_rangedialog.moc"
