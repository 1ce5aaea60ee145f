#ifndef STATEDSIZEIMAGEHANDLER_H
#define STATEDSIZEIMAGEHANDLER_H

#include <QObject>
#include <QPointer>
#include <QTextObjectInterface>

class QTextDocument;

// Lays out the pictures of a document by the width and height their format
// states, without decoding them. The toolkit's own handler decodes a picture
// each time its line is laid out (to learn whether it can be scaled to the
// layout's paint device), and every edit of a table lays out all of its
// cells again: a document of many pictures paid for one decoding per picture
// and edit. Sizes come out exactly as the toolkit's handler gives them: it is
// asked with a 1 x 1 stand-in picture; painting is left to it.
class StatedSizeImageHandler : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)

public:
    // Takes over the pictures of document's layout (set the layout's paint
    // device first); owned by the document.
    static void install(QTextDocument *document);

    QSizeF intrinsicSize(QTextDocument *doc, int posInDocument, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc, int posInDocument,
                    const QTextFormat &format) override;

private:
    StatedSizeImageHandler(QTextDocument *document, QObject *toolkitHandler);

    QPointer<QObject> m_toolkitHandler;
    QTextObjectInterface *m_toolkit = nullptr;
};

#endif // STATEDSIZEIMAGEHANDLER_H
