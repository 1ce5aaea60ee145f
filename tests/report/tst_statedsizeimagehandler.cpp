// The word writer lays its pictures out without decoding them: the sizes,
// and so the pages the report's blocks land on, are the toolkit's own.

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QTextCursor>
#include <QTextDocument>
#include <QtTest>

#include "statedsizeimagehandler.h"

class TestStatedSizeImageHandler : public QObject
{
    Q_OBJECT

private slots:
    void sizesAreTheToolkits_data();
    void sizesAreTheToolkits();
};

void TestStatedSizeImageHandler::sizesAreTheToolkits_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("stated");   // invalid: the format states none
    QTest::addColumn<int>("dotsPerMetre");

    QTest::newRow("stated, 96 dpi") << QSize(322, 781) << QSize(322, 781) << 3780;
    QTest::newRow("stated other than the picture") << QSize(40, 30) << QSize(200, 90) << 3780;
    QTest::newRow("stated, 300 dpi device") << QSize(322, 781) << QSize(322, 781) << 11811;
    QTest::newRow("none stated") << QSize(64, 48) << QSize() << 3780;
}

void TestStatedSizeImageHandler::sizesAreTheToolkits()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, stated);
    QFETCH(int, dotsPerMetre);
    QImage device(1, 1, QImage::Format_RGB32);
    device.setDotsPerMeterX(dotsPerMetre);
    device.setDotsPerMeterY(dotsPerMetre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QImage image(picture, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "JPG"));

    QTextDocument document;
    document.documentLayout()->setPaintDevice(&device);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("picture1")), bytes);
    QTextImageFormat format;
    format.setName(QStringLiteral("picture1"));
    if (stated.isValid()) {
        format.setWidth(stated.width());
        format.setHeight(stated.height());
    }
    QTextCursor(&document).insertImage(format);
    QTextObjectInterface *toolkit = document.documentLayout()->handlerForObject(QTextFormat::ImageObject);
    const QSizeF expected = toolkit->intrinsicSize(&document, 0, format);
    QVERIFY(!expected.isEmpty());

    StatedSizeImageHandler::install(&document);
    QTextObjectInterface *installed = document.documentLayout()->handlerForObject(QTextFormat::ImageObject);
    QVERIFY(installed != toolkit);
    QCOMPARE(installed->intrinsicSize(&document, 0, format), expected);
}

QTEST_MAIN(TestStatedSizeImageHandler)

#include "tst_statedsizeimagehandler.moc"
