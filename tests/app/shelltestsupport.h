#ifndef SHELLTESTSUPPORT_H
#define SHELLTESTSUPPORT_H

// Shared set-up of the shell's widget tests: settings kept in a temporary
// folder, the navigation panel registered before the project record is made,
// a short pause between pieces, and sample projects made with kora-sample.

#include <QAbstractSpinBox>
#include <QCryptographicHash>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "fileinfowidget.h"
#include "globals.h"
#include "structurepickcontroller.h"
#include "readbigimagethread.h"
#include "samplefixture.h"

namespace ShellTest {

// Call from initTestCase(), before anything touches QSettings or ProjectInfo.
inline void setUp(const QTemporaryDir &settingsDir, int pieceDelayMs = 0)
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    FileInfoWidget::installAsNavigationPanel();
    ReadBigImageThread::setPieceDelay(pieceDelayMs);
}

inline QString makeProject(const QTemporaryDir &dir, const QString &name, const QStringList &args)
{
    const QString path = dir.filePath(name);
    if (!SampleFixture::make(path, args))
        return QString();
    return path;
}

// A hash of the file's bytes (empty when it cannot be read), to tell that a
// file stayed as it was.
inline QByteArray fileHash(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

// A plain picture of one colour, written in the format its suffix names;
// empty if it could not be written.
inline QString savePicture(const QTemporaryDir &dir, const QString &name, const QSize &size,
                           const QColor &color)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(color);
    const QString path = dir.filePath(name);
    return picture.save(path) ? path : QString();
}

// Page images of the scene, top to bottom.
inline QList<QGraphicsPixmapItem *> pageImages(QGraphicsScene *scene)
{
    QList<QGraphicsPixmapItem *> images;
    for (QGraphicsItem *item : scene->items()) {
        if (item->type() == QGraphicsPixmapItem::Type)
            images << static_cast<QGraphicsPixmapItem *>(item);
    }
    std::sort(images.begin(), images.end(), [](QGraphicsPixmapItem *a, QGraphicsPixmapItem *b) {
        return a->offset().y() < b->offset().y();
    });
    return images;
}

// Types text into a navigation box as a user does.
inline void typeInto(QAbstractSpinBox *box, const QString &text)
{
    box->clear();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

} // namespace ShellTest

// Waits until no page read is running in window w and the page's structure
// picks are on it.
#define SHELL_WAIT_READ(w)                                                                     \
    QTRY_VERIFY_WITH_TIMEOUT(!readingInProgress && (w)->readThread() == nullptr                \
                                 && !(w)->structurePicks()->pagePicksPending(),               \
                             60000)

// Opens the project at path in window w and waits for its first page.
#define SHELL_OPEN_PROJECT(w, path)                                                            \
    do {                                                                                       \
        (w)->openProjectFile(path);                                                            \
        SHELL_WAIT_READ(w);                                                                    \
    } while (false)

#endif // SHELLTESTSUPPORT_H
