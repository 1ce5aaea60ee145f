#ifndef MAIN3DWINDOW_H
#define MAIN3DWINDOW_H

#include <QMainWindow>
#include <QStringList>

class MyGLWidget;
class TopToolBar;

// Top-level window showing the page wrapped around a cylinder (MyGLWidget)
// under its tool bar. fileList names the page image and the depth ruler
// image (and any further files of the view); closing the window hands the
// list back through signal3dwindowclose so that the files can be removed.
class Main3DWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit Main3DWindow(const QStringList &fileList, QWidget *parent = nullptr);

    QStringList fileList() const { return m_fileList; }
    TopToolBar *toolBar() const { return m_toolBar; }
    // Null when the list held fewer than two files.
    MyGLWidget *glWidget() const { return m_glWidget; }

signals:
    void signal3dwindowclose(QStringList fileList);
    // Relayed from the view: the GL could not take the page's texture.
    void signalTextureLoadFailed();

public slots:
    void Handle3DRotation();
    void Handle3DMove();
    void HandleSizeChanged();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    TopToolBar *m_toolBar = nullptr;
    MyGLWidget *m_glWidget = nullptr;
    QStringList m_fileList;
    bool m_closeReported = false;
};

#endif // MAIN3DWINDOW_H
