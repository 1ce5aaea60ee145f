// Range dialog of the roll view: proposed range, validation messages and the
// values it hands on.

#include "rangedialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

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
