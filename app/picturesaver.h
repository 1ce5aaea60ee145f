#ifndef PICTURESAVER_H
#define PICTURESAVER_H

#include <QString>

#include <QCoreApplication>

class GraphicsScene;
class PageController;
class RewriteGuard;
class QWidget;

// Saves the page on screen as pictures (File > Save, Save as, Save the
// image column only) and asks about unsaved drawings before the page goes.
// Owned by the main window; its messages belong to the window.
class PictureSaver
{
    Q_DECLARE_TR_FUNCTIONS(MainWindow)

public:
    PictureSaver(QWidget *window, GraphicsScene *scene, PageController *page, RewriteGuard *guard);

    // Asks whether the drawings of the page should be saved. Answers 0 when
    // there is nothing to save or it was saved, QMessageBox::Abort to discard
    // them, QMessageBox::Cancel to stop the caller.
    int confirmUnsavedChanges();

    // Save: to the destination chosen before, else asks for one.
    void save();
    // isOriginalImage: the image column without the drawings.
    void save(bool isOriginalImage);
    void saveAs();
    // The image column alone, to a destination asked for.
    void saveImageColumn();

    bool hasSaveTarget() const { return m_hasSaveTarget; }
    // A new page or picture: the next save asks for its destination.
    void forgetTarget() { m_hasSaveTarget = false; }

private:
    // Asks for the piece depth and writes the page from the "savePicDir"
    // setting: 1 written, 0 failed, -1 cancelled.
    int savePagePieces(bool imageColumnOnly);

    QWidget *m_window = nullptr;
    GraphicsScene *m_scene = nullptr;
    PageController *m_page = nullptr;
    RewriteGuard *m_guard = nullptr;
    bool m_hasSaveTarget = false;
    // Why the last save could not write a piece; empty when no write failed.
    QString m_writeError;
};

#endif // PICTURESAVER_H
