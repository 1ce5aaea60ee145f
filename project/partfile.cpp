#include "partfile.h"

#include "writefailure.h"

#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

PartFile::PartFile(const QString &target, QObject *parent)
    : QIODevice(parent), m_target(target), m_file(partName(target))
{
}

PartFile::~PartFile()
{
    if (isOpen() || m_file.isOpen())
        discard();
}

QString PartFile::partName(const QString &target)
{
    return target + QStringLiteral(".part");
}

void PartFile::removeLeftover(const QString &target)
{
    if (!target.isEmpty() && QFileInfo(partName(target)).isFile())
        QFile::remove(partName(target));
}

bool PartFile::open(OpenMode mode)
{
    m_error.clear();
    if (!(mode & WriteOnly) || (mode & ReadOnly) || m_target.isEmpty()) {
        m_error = WriteFailure::describe(WriteFailure::Unknown, m_target, QString());
        return false;
    }
    if (!QFileInfo(QFileInfo(m_target).absolutePath()).isDir()) {
        m_error = WriteFailure::describe(WriteFailure::MissingFolder, m_target, QString());
        return false;
    }
    if (WriteFailure::folderIsReadOnly(m_target)) {
        m_error = WriteFailure::describe(WriteFailure::ReadOnly, m_target, QString());
        return false;
    }
    const QFileInfo existing(m_target);
    if (existing.exists() && !(existing.permissions() & QFileDevice::WriteOwner)) {
        m_error = WriteFailure::describe(WriteFailure::ReadOnly, m_target, QString());
        return false;
    }
    m_buffer.clear();
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        fail(m_file.errorString());
        return false;
    }
    return QIODevice::open(QIODevice::WriteOnly);
}

qint64 PartFile::readData(char *, qint64)
{
    return -1;
}

qint64 PartFile::writeData(const char *data, qint64 size)
{
    if (failed())
        return -1;
    m_buffer.append(data, int(size));
    if (m_buffer.size() >= kBufferSize && !writeBuffer())
        return -1;
    return size;
}

bool PartFile::writeBuffer()
{
    // Written here rather than through QFile, which reports a short write
    // without its cause.
    const char *data = m_buffer.constData();
    qint64 left = m_buffer.size();
    while (left > 0 && !failed()) {
        const ssize_t n = ::write(m_file.handle(), data, size_t(left));
        if (n < 0) {
            if (errno != EINTR)
                fail(qt_error_string(errno));
            continue;
        }
        data += n;
        left -= n;
    }
    m_buffer.clear();
    return !failed();
}

void PartFile::fail(const QString &systemText)
{
    if (m_error.isEmpty())
        m_error = WriteFailure::forFile(m_target, systemText);
}

bool PartFile::commit()
{
    if (!isOpen() || failed()) {
        discard();
        return false;
    }
    if (!writeBuffer()) {
        // fail() has said why.
    } else if (::fsync(m_file.handle()) != 0) {
        fail(qt_error_string(errno));
    }
    m_file.close();
    if (!failed() && m_file.error() != QFileDevice::NoError)
        fail(m_file.errorString());
    QIODevice::close();
    if (failed()) {
        QFile::remove(m_file.fileName());
        return false;
    }
    // rename() replaces the target in one step.
    if (std::rename(QFile::encodeName(m_file.fileName()).constData(),
                    QFile::encodeName(m_target).constData()) != 0) {
        fail(qt_error_string(errno));
        QFile::remove(m_file.fileName());
        return false;
    }
    return true;
}

void PartFile::discard()
{
    m_buffer.clear();
    if (m_file.isOpen())
        m_file.close();
    if (isOpen())
        QIODevice::close();
    QFile::remove(m_file.fileName());
}
