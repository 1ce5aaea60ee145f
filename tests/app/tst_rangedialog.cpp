// Range dialog of the roll view: proposed range, validation messages and the
// values it hands on.

#include "rangedialog.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
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
        QTest::keyClicks(d->endEdit(), text);
    }

private slots:
    void initialState()
    {
        QPointer<RangeDialog> d = new RangeDialog;
        QCOMPARE(d->startEdit()->text(), QStringLiteral("0.0"));
        QCOMPARE(d->endEdit()->text(), QStringLiteral("1.0"));
        QVERIFY(d->errorLabel()->isHidden());
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
        const QString equalError = d.errorLabel()->text();
        typeEnd(&d, QStringLiteral("7"));
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

    void editingSignalAloneChangesNothing()
    {
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        d.handleTextEdited(QStringLiteral("9"));
        QVERIFY(d.okButton()->isEnabled());
        QVERIFY(d.errorLabel()->isHidden());
        // The check runs on the changed text, whoever changed it.
        d.endEdit()->setText(QStringLiteral("9"));
        QVERIFY(!d.okButton()->isEnabled());
    }

    void endEqualToStartIsAnError()
    {
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        d.setLowestStart(30000);
        QCOMPARE(d.startEdit()->text(), QStringLiteral("3"));
        typeEnd(&d, QStringLiteral("3"));
        QCOMPARE(d.errorLabel()->text(),
                 QStringLiteral("Range error,start depth is larger than end depth!"));
        QVERIFY(!d.errorLabel()->isHidden());
        QVERIFY(!d.okButton()->isEnabled());
        typeEnd(&d, QStringLiteral("2.5"));
        QVERIFY(!d.okButton()->isEnabled());
    }

    void rangeLongerThanTwoMetres()
    {
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        d.setLowestStart(30000);
        typeEnd(&d, QStringLiteral("5.5"));
        QCOMPARE(d.errorLabel()->text(), QStringLiteral("The range must less than 2m!"));
        QVERIFY(!d.errorLabel()->isHidden());
        QVERIFY(!d.okButton()->isEnabled());

        typeEnd(&d, QStringLiteral("5"));   // exactly 2 m
        QVERIFY(d.errorLabel()->isHidden());
        QVERIFY(d.okButton()->isEnabled());

        typeEnd(&d, QStringLiteral("4.25"));
        QVERIFY(d.okButton()->isEnabled());
    }

    void decimalStartAndEndExactlyTwoMetresApart()
    {
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        d.startEdit()->setText(QStringLiteral("1.1"));
        typeEnd(&d, QStringLiteral("3.1"));
        QVERIFY2(d.okButton()->isEnabled(), qPrintable(d.errorLabel()->text()));
    }

    void editedStartIsCheckedToo()
    {
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        d.setLowestStart(0);
        d.setEnd(100000);
        QCOMPARE(d.endEdit()->text(), QStringLiteral("2"));
        QVERIFY(d.okButton()->isEnabled());
        d.startEdit()->setText(QStringLiteral("5"));
        QVERIFY(!d.okButton()->isEnabled());
        d.startEdit()->setText(QStringLiteral("1"));
        QVERIFY(d.okButton()->isEnabled());
    }

    void endIsClampedToTwoMetresBelowStart()
    {
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        d.setLowestStart(20000);
        d.setEnd(120000);              // project bottom 10 m below the start
        QCOMPARE(d.end(), 40000);
        QCOMPARE(d.endEdit()->text(), QStringLiteral("4"));
        QVERIFY(d.okButton()->isEnabled());

        d.setEnd(31000);               // a bottom within 2 m: rounded up to 4 m
        QCOMPARE(d.end(), 31000);
        QCOMPARE(d.endEdit()->text(), QStringLiteral("4"));
        QVERIFY(d.okButton()->isEnabled());
    }

    void startBetweenMetresStillGivesAValidProposal()
    {
        // A project starting at 1.5 m: the start field shows 1, and the end
        // proposed for a deep project must stay within 2 m of that.
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        d.setLowestStart(15000);
        QCOMPARE(d.startEdit()->text(), QStringLiteral("1"));
        d.setEnd(500000);
        QCOMPARE(d.endEdit()->text(), QStringLiteral("3"));
        QVERIFY2(d.okButton()->isEnabled(), qPrintable(d.errorLabel()->text()));
    }

    void okEmitsDepthUnitsAndCloses()
    {
        QPointer<RangeDialog> d = new RangeDialog;
        QSignalSpy spy(d.data(), &RangeDialog::rollRangeGetted);
        d->setLowestStart(30000);
        typeEnd(d.data(), QStringLiteral("4.5"));
        d->show();
        QTest::mousePress(d->okButton(), Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toDouble(), 30000.0);
        QCOMPARE(spy.at(0).at(1).toDouble(), 45000.0);
        QTRY_VERIFY(d.isNull());
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

    void invalidRangeDoesNotEmit()
    {
        RangeDialog d;
        d.setAttribute(Qt::WA_DeleteOnClose, false);
        QSignalSpy spy(&d, &RangeDialog::rollRangeGetted);
        typeEnd(&d, QStringLiteral("9"));
        d.okPressed();
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_MAIN(TestRangeDialog)
#include "tst_rangedialog.moc"
