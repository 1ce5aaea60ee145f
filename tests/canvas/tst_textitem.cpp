// The text tool: the text item asks for its text through TextDialog (and
// MyFontDialog for font, size and colour), applies the answer, remembers the
// choice in ItemStyle and can be edited again by a double click.

#include "drawingtestsupport.h"

#include "graphicslengthmeasureitem.h"
#include "graphicsscene.h"
#include "graphicstextitem.h"
#include "itemstyle.h"
#include "mode.h"
#include "myfontdialog.h"
#include "textdialog.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QSignalSpy>
#include <QTextEdit>
#include <QtTest>

using namespace DrawingTest;

namespace {

QTextEdit *textEditOf(QWidget *w)
{
    return w->findChild<QTextEdit *>(QStringLiteral("textEdit"));
}

QComboBox *boxOf(QWidget *w, const char *name)
{
    return w->findChild<QComboBox *>(QLatin1String(name));
}

// Step: the text dialog; optionally checks what it shows, then types text and
// presses the given button.
ModalAnswerer::Step answerText(const QString &text, const QString &button,
                               std::function<void(TextDialog *)> check = nullptr)
{
    return [=](QWidget *w) {
        auto *d = qobject_cast<TextDialog *>(w);
        if (!d)
            return false;
        if (check)
            check(d);
        if (!text.isNull())
            textEditOf(d)->setPlainText(text);
        clickLater(buttonWithText(d, button));
        return true;
    };
}

ModalAnswerer::Step openFontDialog()
{
    return [](QWidget *w) {
        auto *d = qobject_cast<TextDialog *>(w);
        if (!d)
            return false;
        clickLater(buttonWithText(d, QStringLiteral("Select font...")));
        return true;
    };
}

// Step: the font dialog; picks a size entry and a named colour, then presses
// the given button.
ModalAnswerer::Step answerFont(const QString &size, const QString &colorName,
                               const QString &button, QString *seenTitle = nullptr,
                               QString *seenSize = nullptr)
{
    return [=](QWidget *w) {
        auto *d = qobject_cast<MyFontDialog *>(w);
        if (!d)
            return false;
        if (seenTitle)
            *seenTitle = d->windowTitle();
        QComboBox *sizeBox = boxOf(d, "sizeBox");
        QComboBox *colorBox = boxOf(d, "colorBox");
        if (seenSize)
            *seenSize = sizeBox->currentText();
        if (!size.isEmpty())
            sizeBox->setCurrentIndex(sizeBox->findText(size));
        if (!colorName.isEmpty())
            colorBox->setCurrentIndex(QColor::colorNames().lastIndexOf(colorName));
        clickLater(buttonWithText(d, button));
        return true;
    };
}

QFont twelvePixelTimes()
{
    QFont f(QStringLiteral("Times"), 12, QFont::Normal, false);
    f.setPixelSize(12);
    return f;
}

} // namespace

class TestTextItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void textToolAsksForTextAndFinishesOnRelease();
    void emptyOrCancelledTextLeavesNoItem_data();
    void emptyOrCancelledTextLeavesNoItem();
    void cancelledDialogStillAppliesItsContents();
    void emptyBoxKeepsThePreviousText();
    void fontDialogChoiceReachesItemAndStyle();
    void cancelledFontDialogKeepsTheFont();
    void doubleClickReopensWithTextFontAndRememberedColour();
    void fontDialogPreselection();
    void fontDialogOkWithoutChanges();
    void labelAttachedToAMeasurementLine();

private:
    GraphicsScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;
};

void TestTextItem::initTestCase()
{
    qRegisterMetaType<QGraphicsItem *>("QGraphicsItem*");
    QVERIFY(QFontDatabase::standardSizes().contains(20));
}

void TestTextItem::init()
{
    ItemStyle::instance()->setFont(twelvePixelTimes());
    ItemStyle::instance()->setTextColor(Qt::black);
    ItemStyle::instance()->setDrawing(false);
    m_scene = new GraphicsScene;
    m_scene->setMode(Pointer);
    m_view = makeView(m_scene);
    QVERIFY(QTest::qWaitForWindowExposed(m_view));
}

void TestTextItem::cleanup()
{
    delete m_view;
    m_view = nullptr;
    delete m_scene;
    m_scene = nullptr;
    currentMode = Pointer;
    ItemStyle::instance()->setDrawing(false);
}

void TestTextItem::textToolAsksForTextAndFinishesOnRelease()
{
    ModalAnswerer answerer;
    QString title;
    QString shownText = QStringLiteral("unset");
    answerer.add(answerText(QStringLiteral("Fault zone"), QStringLiteral("OK"),
                            [&](TextDialog *d) {
                                title = d->windowTitle();
                                shownText = d->text();
                            }));
    QSignalSpy inserted(m_scene, &GraphicsScene::itemInserted);
    m_scene->setMode(InsertText);
    const QPointF p(400, 300);
    press(m_view, p);
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(title, QStringLiteral("Input text"));
    QCOMPARE(shownText, QString());
    // The press that created the item reached it after the dialog closed.
    QVERIFY(ItemStyle::instance()->drawing());
    QCOMPARE(inserted.count(), 0);
    release(m_view, p);
    QVERIFY(!ItemStyle::instance()->drawing());
    QCOMPARE(inserted.count(), 1);

    QCOMPARE(m_scene->items().size(), 1);
    auto *text = dynamic_cast<GraphicsTextItem *>(m_scene->items().first());
    QVERIFY(text);
    QCOMPARE(text->type(), 10);
    QCOMPARE(inserted.first().first().value<QGraphicsItem *>(), text);
    QCOMPARE(text->text(), QStringLiteral("Fault zone"));
    QCOMPARE(text->pos(), p);
    QVERIFY(text->accepted());
    QVERIFY(text->isSelected());
    QCOMPARE(text->font().pixelSize(), 12);
    QCOMPARE(text->pen().color(), QColor(Qt::black));
    QCOMPARE(text->pen().width(), 0);
    QCOMPARE(answerer.unexpected(), 0);
}

void TestTextItem::emptyOrCancelledTextLeavesNoItem_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("afterRuler");
    QTest::newRow("empty, OK") << QString("") << QStringLiteral("OK") << false;
    QTest::newRow("nothing typed, Cancel") << QString() << QStringLiteral("Cancel") << false;
    QTest::newRow("typed, then Cancel") << QStringLiteral("typed") << QStringLiteral("Cancel")
                                        << false;
    // A finished ruler leaves the drawing flag set; it must not keep the
    // dropped text's press open either.
    QTest::newRow("empty after a ruler") << QString("") << QStringLiteral("OK") << true;
}

void TestTextItem::emptyOrCancelledTextLeavesNoItem()
{
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(bool, afterRuler);
    if (afterRuler) {
        m_scene->setMode(InsertRuler);
        click(m_view, QPointF(100, 100));
        click(m_view, QPointF(100, 300));
        click(m_view, QPointF(100, 300), Qt::RightButton);
        QVERIFY(ItemStyle::instance()->drawing());
    }
    const int before = m_scene->items().size();

    ModalAnswerer answerer;
    answerer.add(answerText(typed, button));
    QSignalSpy inserted(m_scene, &GraphicsScene::itemInserted);
    QSignalSpy cancelled(m_scene, &GraphicsScene::signalCancelInsertItem);
    m_scene->setMode(InsertText);
    click(m_view, QPointF(600, 600));
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(answerer.unexpected(), 0);

    // Nothing is left on the page that would count as an unsaved drawing.
    QCOMPARE(m_scene->items().size(), before);
    QCOMPARE(cancelled.count(), 1);
    for (const QList<QVariant> &args : inserted)
        QCOMPARE(args.first().value<QGraphicsItem *>(), static_cast<QGraphicsItem *>(nullptr));
    QCOMPARE(m_scene->currentItem(), static_cast<QGraphicsItem *>(nullptr));
    QVERIFY(!ItemStyle::instance()->drawing());
}

void TestTextItem::cancelledDialogStillAppliesItsContents()
{
    ModalAnswerer answerer;
    answerer.add(answerText(QStringLiteral("typed, then cancelled"), QStringLiteral("Cancel")));
    GraphicsTextItem item(QPointF(10, 20), QString());
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(item.text(), QStringLiteral("typed, then cancelled"));
    QVERIFY(!item.accepted());
    QCOMPARE(answerer.unexpected(), 0);
}

void TestTextItem::emptyBoxKeepsThePreviousText()
{
    ModalAnswerer answerer;
    QString shown;
    answerer.add(answerText(QString(""), QStringLiteral("OK"),
                            [&](TextDialog *d) { shown = d->text(); }));
    GraphicsTextItem item(QPointF(10, 20), QStringLiteral("old label"));
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(shown, QStringLiteral("old label"));
    QCOMPARE(item.text(), QStringLiteral("old label"));
    QVERIFY(item.accepted());

    // The item itself keeps an empty text; the scene drops such a new item.
    answerer.add(answerText(QString(""), QStringLiteral("OK")));
    GraphicsTextItem empty(QPointF(0, 0), QString());
    QCOMPARE(empty.text(), QString());
    QCOMPARE(answerer.unexpected(), 0);
}

void TestTextItem::fontDialogChoiceReachesItemAndStyle()
{
    ModalAnswerer answerer;
    QString fontTitle, preselected;
    answerer.add(openFontDialog());
    answerer.add(answerFont(QStringLiteral("20"), QStringLiteral("red"), QStringLiteral("OK"),
                            &fontTitle, &preselected));
    QFont fontAfterChoice;
    answerer.add(answerText(QStringLiteral("Red text"), QStringLiteral("OK"),
                            [&](TextDialog *d) { fontAfterChoice = d->selectedFont(); }));
    GraphicsTextItem item(QPointF(0, 0), QString());
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(fontTitle, QStringLiteral("Select Font"));
    QCOMPARE(preselected, QStringLiteral("12"));
    QCOMPARE(fontAfterChoice.pixelSize(), 20);

    QCOMPARE(item.text(), QStringLiteral("Red text"));
    QCOMPARE(item.font().pixelSize(), 20);
    QCOMPARE(item.pen().color(), QColor(Qt::red));
    QCOMPARE(item.pen().width(), 0);
    QCOMPARE(item.brush().color(), QColor(Qt::red));
    QCOMPARE(ItemStyle::instance()->font().pixelSize(), 20);
    QCOMPARE(ItemStyle::instance()->textColor(), QColor(Qt::red));

    // The next text starts with the last choice.
    QFont nextFont;
    QColor nextColor;
    answerer.add(answerText(QStringLiteral("next"), QStringLiteral("OK"), [&](TextDialog *d) {
        nextFont = d->selectedFont();
        nextColor = d->selectedColor();
    }));
    GraphicsTextItem next(QPointF(0, 0), QString());
    QCOMPARE(nextFont.pixelSize(), 20);
    QCOMPARE(nextColor, QColor(Qt::red));
    QCOMPARE(next.pen().color(), QColor(Qt::red));
    QCOMPARE(answerer.unexpected(), 0);
}

void TestTextItem::cancelledFontDialogKeepsTheFont()
{
    ModalAnswerer answerer;
    answerer.add(openFontDialog());
    answerer.add(answerFont(QStringLiteral("36"), QStringLiteral("blue"), QStringLiteral("Cancel")));
    QFont fontAfter;
    QColor colorAfter;
    answerer.add(answerText(QStringLiteral("x"), QStringLiteral("OK"), [&](TextDialog *d) {
        fontAfter = d->selectedFont();
        colorAfter = d->selectedColor();
    }));
    GraphicsTextItem item(QPointF(0, 0), QString());
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(fontAfter.pixelSize(), 12);
    QCOMPARE(colorAfter, QColor(Qt::black));
    QCOMPARE(item.font().pixelSize(), 12);
    QCOMPARE(item.pen().color(), QColor(Qt::black));
    QCOMPARE(answerer.unexpected(), 0);
}

void TestTextItem::doubleClickReopensWithTextFontAndRememberedColour()
{
    ModalAnswerer answerer;
    answerer.add(openFontDialog());
    answerer.add(answerFont(QStringLiteral("48"), QString(), QStringLiteral("OK")));
    answerer.add(answerText(QStringLiteral("Hello"), QStringLiteral("OK")));
    auto *item = new GraphicsTextItem(QPointF(300, 300), QString());
    m_scene->addItem(item);
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(item->font().pixelSize(), 48);

    // Another text changes the remembered font and colour meanwhile.
    QFont other = twelvePixelTimes();
    other.setPixelSize(9);
    ItemStyle::instance()->setFont(other);
    ItemStyle::instance()->setTextColor(Qt::blue);

    QString shownText;
    QFont shownFont;
    QColor shownColor;
    answerer.add(answerText(QStringLiteral("World"), QStringLiteral("OK"), [&](TextDialog *d) {
        shownText = d->text();
        shownFont = d->selectedFont();
        shownColor = d->selectedColor();
    }));
    const QPointF inside = item->mapToScene(item->boundingRect().center());
    click(m_view, inside);
    QTest::mouseDClick(m_view->viewport(), Qt::LeftButton, Qt::NoModifier,
                       viewPoint(m_view, inside));
    release(m_view, inside);
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(shownText, QStringLiteral("Hello"));
    QCOMPARE(shownFont.pixelSize(), 48);
    QCOMPARE(shownColor, QColor(Qt::blue));
    QCOMPARE(item->text(), QStringLiteral("World"));
    QCOMPARE(item->pen().color(), QColor(Qt::blue));
    QCOMPARE(ItemStyle::instance()->font().pixelSize(), 48);
    QCOMPARE(answerer.unexpected(), 0);
}

void TestTextItem::fontDialogPreselection()
{
    const QStringList names = QColor::colorNames();
    {
        MyFontDialog dialog(twelvePixelTimes(), QColor(Qt::black));
        QCOMPARE(boxOf(&dialog, "sizeBox")->currentText(), QStringLiteral("12"));
        QComboBox *colors = boxOf(&dialog, "colorBox");
        QCOMPARE(colors->count(), names.size());
        QCOMPARE(colors->iconSize(), QSize(70, 20));
        QCOMPARE(colors->itemText(0), QString());
        QCOMPARE(colors->currentIndex(), names.lastIndexOf(QStringLiteral("black")));
    }
    {
        // Shared colours pick the last name; sizes and colours not on offer
        // pick the first entry.
        QFont odd = twelvePixelTimes();
        odd.setPixelSize(13);
        MyFontDialog dialog(odd, QColor(0, 255, 255));
        QComboBox *colors = boxOf(&dialog, "colorBox");
        int last = -1;
        for (int i = 0; i < names.size(); ++i) {
            if (QColor(names.at(i)) == QColor(0, 255, 255))
                last = i;
        }
        QVERIFY(names.indexOf(QStringLiteral("aqua")) < last);
        QCOMPARE(colors->currentIndex(), last);
        QCOMPARE(boxOf(&dialog, "sizeBox")->currentIndex(), 0);
    }
    {
        MyFontDialog dialog(twelvePixelTimes(), QColor(1, 2, 3));
        QCOMPARE(boxOf(&dialog, "colorBox")->currentIndex(), 0);
    }
}

void TestTextItem::fontDialogOkWithoutChanges()
{
    MyFontDialog dialog(twelvePixelTimes(), QColor(Qt::darkGreen));
    QVERIFY(!dialog.isAccepted());
    const QString family = dialog.findChild<QFontComboBox *>()->currentFont().family();
    dialog.okBtnClicked();
    QVERIFY(dialog.isAccepted());
    QCOMPARE(dialog.selectedFont().family(), family);
    QCOMPARE(dialog.selectedFont().pixelSize(), 12);
    QCOMPARE(dialog.selectedColor(), QColor(Qt::darkGreen));

    MyFontDialog cancelled(twelvePixelTimes(), QColor(Qt::darkGreen));
    cancelled.show();
    buttonWithText(&cancelled, QStringLiteral("Cancel"))->click();
    QVERIFY(!cancelled.isAccepted());
    QVERIFY(!cancelled.isVisible());
}

void TestTextItem::labelAttachedToAMeasurementLine()
{
    auto *line = new GraphicsLengthMeasureitem(QLineF(500, 200, 500, 800));
    m_scene->addItem(line);
    QCOMPARE(line->labelItem(), static_cast<GraphicsTextItem *>(nullptr));

    ModalAnswerer answerer;
    answerer.add(answerText(QString(), QStringLiteral("Cancel")));
    auto *label = new GraphicsTextItem(QPointF(550, 500), QStringLiteral("L = 0.600m  "), line);
    QCOMPARE(answerer.pending(), 0);
    QCOMPARE(line->labelItem(), label);
    QCOMPARE(label->text(), QStringLiteral("L = 0.600m  "));
    QVERIFY(!label->accepted());

    // Refreshing the label through a second edit records the new answer.
    answerer.add(answerText(QStringLiteral("edited"), QStringLiteral("OK")));
    label->editText(label->font(), Qt::red);
    QVERIFY(label->accepted());
    QCOMPARE(label->text(), QStringLiteral("edited"));
    QCOMPARE(answerer.unexpected(), 0);
}

QTEST_MAIN(TestTextItem)
#include "tst_textitem.moc"
