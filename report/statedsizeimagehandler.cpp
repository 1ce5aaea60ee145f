#include "statedsizeimagehandler.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTextDocument>
#include <QTextFormat>
#include <QUrl>

namespace {

// Name of the stand-in picture; no text refers to it, so no writer saves it.
const QString kStandIn = QStringLiteral("kora-layout-stand-in");

} // namespace

void StatedSizeImageHandler::install(QTextDocument *document)
{
    QAbstractTextDocumentLayout *layout = document->documentLayout();
    auto *toolkit = dynamic_cast<QObject *>(layout->handlerForObject(QTextFormat::ImageObject));
    if (!toolkit)
        return;
    document->addResource(QTextDocument::ImageResource, QUrl(kStandIn), QImage(1, 1, QImage::Format_RGB32));
    layout->registerHandler(QTextFormat::ImageObject, new StatedSizeImageHandler(document, toolkit));
}

StatedSizeImageHandler::StatedSizeImageHandler(QTextDocument *document, QObject *toolkitHandler)
    : QObject(document)
    , m_toolkitHandler(toolkitHandler)
    , m_toolkit(qobject_cast<QTextObjectInterface *>(toolkitHandler))
{
}

QSizeF StatedSizeImageHandler::intrinsicSize(QTextDocument *doc, int posInDocument, const QTextFormat &format)
{
    if (!m_toolkitHandler || !m_toolkit)
        return QSizeF();
    QTextImageFormat image = format.toImageFormat();
    if (image.hasProperty(QTextFormat::ImageWidth) && image.hasProperty(QTextFormat::ImageHeight))
        image.setName(kStandIn);
    return m_toolkit->intrinsicSize(doc, posInDocument, image);
}

void StatedSizeImageHandler::drawObject(QPainter *painter, const QRectF &rect, QTextDocument *doc,
                                        int posInDocument, const QTextFormat &format)
{
    if (m_toolkitHandler && m_toolkit)
        m_toolkit->drawObject(painter, rect, doc, posInDocument, format);
}
