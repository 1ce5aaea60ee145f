// Styled message box: the three kinds, OK and Cancel.

#include "frmmessagebox.h"
#include "koraresources.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

class TestMessageBox : public QObject
{
    Q_OBJECT

    static QString iconStyle(frmMessageBox *box)
    {
        return box->findChild<QLabel *>("labIcoMain")->styleSheet();
    }

private slots:
    void initTestCase() { initKoraResources(); }

    void formHasItsNamedParts()
    {
        QPointer<frmMessageBox> box = new frmMessageBox;
        for (const char *name : {"widget_background", "widget", "widget_title", "lab_Ico",
                                 "lab_Title", "widget_menu", "widget_main", "groupBox",
                                 "labIcoMain", "labInfo", "btnCancel", "btnOk"})
            QVERIFY2(box->findChild<QWidget *>(name), name);
        QVERIFY(box->styleSheet().startsWith(QStringLiteral("QDialog{")));
        QVERIFY(box->styleSheet().contains(QStringLiteral("#1B89CA")));
        QCOMPARE(box->findChild<QLabel *>("labInfo")->styleSheet(),
                 QString::fromUtf8("font: 75 22pt \"微软雅黑\";"));
        QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(box->windowFlags() & Qt::FramelessWindowHint);

        // The panel is at most 600 x 400 and centred on the available area.
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        QWidget *panel = box->findChild<QWidget *>("widget_background");
        QCOMPARE(panel->width(), qMin(int(0.95 * available.width()), 600));
        QCOMPARE(panel->height(), qMin(int(0.95 * available.height()), 400));
        QCOMPARE(box->geometry(), QGuiApplication::primaryScreen()->geometry());
        delete box;
    }

    void kinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("style");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("cancel");
        QTest::newRow("information") << 0
            << "border-image: url(:/MsgImage/QUtility/MessageBox/info.png);" << "Prompt" << false;
        QTest::newRow("question") << 1
            << "border-image: url(:/MsgImage/QUtility/MessageBox/question.png);" << "Requst" << true;
        QTest::newRow("error") << 2
            << "border-image: url(:/MsgImage/QUtility/MessageBox/error.png);" << "Error" << false;
    }

    void kinds()
    {
        QFETCH(int, kind);
        QFETCH(QString, style);
        QFETCH(QString, title);
        QFETCH(bool, cancel);
        frmMessageBox box;
        box.setAttribute(Qt::WA_DeleteOnClose, false);
        // Start from the other extreme so every field has to change.
        box.setMessage(QStringLiteral("before"), kind == 1 ? 0 : 1);
        box.setMessage(QStringLiteral("Saving report"), kind);
        QCOMPARE(iconStyle(&box), style);
        QCOMPARE(box.findChild<QLabel *>("lab_Title")->text(), title);
        QCOMPARE(box.findChild<QLabel *>("labInfo")->text(), QStringLiteral("Saving report"));
        QCOMPARE(!box.findChild<QPushButton *>("btnCancel")->isHidden(), cancel);
        // The icon the style refers to exists.
        const QString path = style.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0);
        QVERIFY2(!QPixmap(path).isNull(), qPrintable(path));
    }

    void buttonIconsExist()
    {
        frmMessageBox box;
        box.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(!box.findChild<QPushButton *>("btnOk")->icon().isNull());
        QVERIFY(!box.findChild<QPushButton *>("btnCancel")->icon().isNull());
        QVERIFY(!QPixmap(QStringLiteral(":/image/close.png")).isNull());
        QVERIFY(!QPixmap(QStringLiteral(":/image/update.png")).isNull());
    }

    void formStyles()
    {
        frmMessageBox box;
        box.setAttribute(Qt::WA_DeleteOnClose, false);
        const QString sheet = box.styleSheet();
        QVERIFY(sheet.startsWith(QStringLiteral("QDialog{border:0px solid #1B89CA;border-radius:0px;}")));
        // Rules of the named parts: gradient title bar and the two font families.
        const QStringList rules = sheet.split(QLatin1Char('\n'));
        auto ruleOf = [&rules](const QString &selector) {
            for (const QString &r : rules)
                if (r.startsWith(selector + QLatin1Char('{')))
                    return r;
            return QString();
        };
        QVERIFY(ruleOf(QStringLiteral("#widget_title")).contains(QStringLiteral("qlineargradient(")));
        QVERIFY(ruleOf(QStringLiteral("#widget_title")).contains(QStringLiteral("x1:0,y1:0,x2:0,y2:1")));
        QVERIFY(ruleOf(QStringLiteral("#lab_Title")).contains(QString::fromUtf8("font-family:\"黑体\"")));
        QVERIFY(ruleOf(QStringLiteral("#widget_main")).contains(QString::fromUtf8("font-family:\"微软雅黑\"")));
        QCOMPARE(box.findChild<QPushButton *>("btnOk")->icon().pixmap(16).toImage(),
                 QIcon(QStringLiteral(":/image/update.png")).pixmap(16).toImage());
        QCOMPARE(box.findChild<QPushButton *>("btnCancel")->icon().pixmap(16).toImage(),
                 QIcon(QStringLiteral(":/image/close.png")).pixmap(16).toImage());
        QVERIFY(qAbs(box.windowOpacity() - 0.95) < 0.01);
        QVERIFY(box.testAttribute(Qt::WA_TranslucentBackground));
    }

    void boxWithParentIsStillAModalWindow()
    {
        // A box given a parent must not turn into a child widget of it: it
        // would be painted into the parent at screen coordinates and would
        // not block the parent.
        QWidget parent;
        parent.setGeometry(50, 50, 300, 200);
        parent.show();
        QPointer<frmMessageBox> box = new frmMessageBox(&parent);
        QVERIFY(box->isWindow());
        QVERIFY(box->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(box->geometry(), QGuiApplication::primaryScreen()->geometry());
        box->setMessage(QStringLiteral("Open it?"), 1);
        QString seen;
        QTimer::singleShot(0, [&seen] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            seen = QString::fromLatin1(modal->metaObject()->className());
            if (auto *box = qobject_cast<frmMessageBox *>(modal))
                box->findChild<QPushButton *>("btnOk")->click();
            else
                modal->close();
        });
        // The fallback keeps a broken box from hanging the test.
        QTimer::singleShot(2000, box.data(), [&box] { if (box) box->reject(); });
        QCOMPARE(box->exec(), int(QDialog::Accepted));
        QCOMPARE(seen, QStringLiteral("frmMessageBox"));
        QTRY_VERIFY(box.isNull());
    }

    void okAccepts()
    {
        QPointer<frmMessageBox> box = new frmMessageBox;
        box->setMessage(QStringLiteral("Open it?"), 1);
        QTimer::singleShot(0, [] {
            auto *modal = qobject_cast<frmMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(modal);
            modal->findChild<QPushButton *>("btnOk")->click();
        });
        QCOMPARE(box->exec(), int(QDialog::Accepted));
        QTRY_VERIFY(box.isNull());
    }

    void cancelRefuses()
    {
        QPointer<frmMessageBox> box = new frmMessageBox;
        box->setMessage(QStringLiteral("Open it?"), 1);
        QTimer::singleShot(0, [] {
            auto *modal = qobject_cast<frmMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(modal);
            modal->findChild<QPushButton *>("btnCancel")->click();
        });
        QCOMPARE(box->exec(), int(QDialog::Rejected));
        QTRY_VERIFY(box.isNull());
    }
};

QTEST_MAIN(TestMessageBox)
#include "tst_messagebox.moc"
