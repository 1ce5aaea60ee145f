#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include "fileinfowidget.h"
#include "languagemanager.h"
#include "mainwindow.h"
#include "windowplacement.h"

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    LanguageManager::instance()->reloadTranslators();
    // The project record makes the navigation panel; tell it how first.
    FileInfoWidget::installAsNavigationPanel();

    auto *window = new MainWindow;
    window->show();
    // The window asks for more room than most desktops have: keep it on the
    // screen's free area, centred, with its menus and tool bar visible.
    WindowPlacement::fitAndCentre(window);
    // Once more when the window system has put its frame around the window,
    // so that the title bar is counted too.
    QTimer::singleShot(0, window, [window] { WindowPlacement::fitAndCentre(window); });

    // "kora FILE" opens a project (.prj) or a picture, so that a file
    // manager's "Open With" works. The toolkit has taken its own options.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) {
        const QString path = QFileInfo(args.at(1)).absoluteFilePath();
        QTimer::singleShot(0, window, [window, path] { window->openFile(path); });
    }

    const int result = app.exec();
    delete window;
    return result;
}
