#include "backgroundencoder.h"

#include <cstring>
#include <system_error>

#include "bigimagetablerewriter.h"
#include "largeimage.h"

BackgroundEncoder::~BackgroundEncoder()
{
    if (m_job.valid())
        m_job.wait();
}

bool BackgroundEncoder::start(const QImage &image, int id)
{
    if (m_job.valid() || image.isNull())
        return false;
    const QImage source = image.format() == QImage::Format_RGB32 ? image
                                                                  : image.convertToFormat(QImage::Format_RGB32);
    if (m_copy.isNull() || m_copy.width() != source.width() || m_copy.height() < source.height()) {
        m_copy = QImage();
        // Some room to spare: cut pieces differ by a few rows.
        m_copy = LargeImage::create(source.width(), source.height() + source.height() / 8 + 1, QImage::Format_RGB32);
        if (m_copy.isNull())
            return false;
    }
    const int bytesPerLine = m_copy.bytesPerLine();
    uchar *bits = m_copy.bits();
    for (int y = 0; y < source.height(); ++y)
        std::memcpy(bits + qsizetype(y) * bytesPerLine, source.constScanLine(y), size_t(bytesPerLine));
    m_rows = QImage(m_copy.constBits(), source.width(), source.height(), bytesPerLine, QImage::Format_RGB32);
    m_id = id;
    m_bytes.clear();
    const auto encode = [this]() { return BigImageTableRewriter::encodeJpeg(m_rows, &m_bytes); };
    try {
        m_job = std::async(std::launch::async, encode);
    } catch (const std::system_error &) {
        // No thread to be had: the piece is encoded when it is taken.
        m_job = std::async(std::launch::deferred, encode);
    }
    return true;
}

bool BackgroundEncoder::take(QByteArray *bytes, int *id)
{
    if (!m_job.valid())
        return false;
    const bool ok = m_job.get();
    *id = m_id;
    *bytes = ok ? m_bytes : QByteArray();
    m_bytes = QByteArray();
    m_rows = QImage();
    return ok;
}
