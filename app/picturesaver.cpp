#include "picturesaver.h"

#include "graphicsscene.h"
#include "pagecontroller.h"
#include "pagerenderer.h"
#include "projectinfo.h"
#include "rewriteguard.h"
#include "savedialog.h"
#include "settings.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

PictureSaver::PictureSaver(QWidget *window, GraphicsScene *scene, PageController *page, RewriteGuard *guard)
    : m_window(window)
    , m_scene(scene)
    , m_page(page)
    , m_guard(guard)
{
}

int PictureSaver::confirmUnsavedChanges()
{
    if (m_scene->items().size() == m_scene->baseItemCount())
        return 0;

    QMessageBox box(QMessageBox::Warning, tr("Warning"), tr("Whether to save the changes?"),
                    QMessageBox::Save | QMessageBox::Abort | QMessageBox::Cancel, nullptr,
                    Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    box.button(QMessageBox::Save)->setText(tr("Save"));
    box.button(QMessageBox::Abort)->setText(tr("Abort"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    box.setEscapeButton(QMessageBox::Cancel);
    const int answer = box.exec();
    if (answer == QMessageBox::Save) {
        save(false);
        // A successful save makes the drawings part of the page. When the save
        // did not happen (cancelled, failed or not available), going on would
        // drop the user's drawings: stop the caller instead.
        if (m_scene->items().size() != m_scene->baseItemCount())
            return QMessageBox::Cancel;
        return 0;
    }
    if (answer == QMessageBox::Abort)
        return QMessageBox::Abort;
    return QMessageBox::Cancel;
}

void PictureSaver::save()
{
    if (m_guard->refuse())
        return;
    save(false);
}

void PictureSaver::save(bool isOriginalImage)
{
    if (m_guard->refuse())
        return;
    if (m_hasSaveTarget) {
        // Nothing new since the last save.
        if (m_scene->items().size() == m_scene->baseItemCount())
            return;
    } else {
        const QString path = QFileDialog::getSaveFileName(m_window, tr("Save picture as"),
                                                          Settings::instance()->savePicDir(),
                                                          tr("*.jpg"));
        if (path.isEmpty())
            return;
        Settings::instance()->setSavePicDir(path);
    }

    const int result = savePagePieces(isOriginalImage);
    if (result == 1) {
        // The bare image column does not hold the drawings: they stay unsaved
        // and the next save asks for its own destination.
        if (!isOriginalImage) {
            m_hasSaveTarget = true;
            m_scene->setBaseItemCount(m_scene->items().size());
        }
        QMessageBox::information(m_window, QString(), tr("Save successfully"));
    } else if (result == 0) {
        m_hasSaveTarget = false;
        // A piece that could not be written says why (a full disk, a
        // read-only folder); the earlier picture of its name is untouched.
        if (!m_writeError.isEmpty())
            QMessageBox::warning(m_window, tr("Warning"),
                                 tr("The picture could not be saved: %1.").arg(m_writeError));
        else
            QMessageBox::information(
                m_window, QString(), tr("Image is too big to save or range error, Please chose a right page depth!"));
    } else {
        m_hasSaveTarget = false;
    }
}

int PictureSaver::savePagePieces(bool imageColumnOnly)
{
    const ProjectInfo *info = ProjectInfo::instance();
    const QString base = Settings::instance()->savePicDir();
    m_writeError.clear();
    const int step = SaveDialog::askStep(info->pageEnd() - info->pageStart());
    if (step < 0)
        return -1;
    PageRenderer renderer(m_scene, m_page->leftScale(), info->pageStart(), info->pageEnd());
    const bool saved = renderer.renderPage(step, base, imageColumnOnly, false);
    m_writeError = renderer.writeError();
    return saved ? 1 : 0;
}

void PictureSaver::saveAs()
{
    if (m_guard->refuse())
        return;
    m_hasSaveTarget = false;
    save(false);
}

void PictureSaver::saveImageColumn()
{
    if (m_guard->refuse())
        return;
    const QList<QGraphicsItem *> hidden = PageRenderer::hideAllButImages(m_scene);
    m_hasSaveTarget = false;
    save(true);
    PageRenderer::showItems(hidden);
}
