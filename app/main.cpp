#include <QApplication>
#include <QFileInfo>
#include <QStringList>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "batchrunner.h"
#include "commandline.h"
#include "fileinfowidget.h"
#include "languagemanager.h"
#include "mainwindow.h"
#include "reportleftovers.h"
#include "windowplacement.h"

namespace {

void dropMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

// Loads the translators of the user's language without the loader's
// debug line, which has no place beside the help text.
void installTranslatorsQuietly()
{
    const QtMessageHandler previous = qInstallMessageHandler(dropMessage);
    LanguageManager::instance()->reloadTranslators();
    qInstallMessageHandler(previous);
}

} // namespace

int main(int argc, char *argv[])
{
    // The command line is read before the application object, so that
    // --help, --version and a wrong option need no display.
    QStringList rawArguments;
    for (int i = 0; i < argc; ++i)
        rawArguments << QString::fromLocal8Bit(argv[i]);
    CommandLine commandLine = CommandLine::parse(rawArguments);
    std::unique_ptr<QCoreApplication> textsOnly;
    if (commandLine.action() == CommandLine::ShowHelp || commandLine.action() == CommandLine::UsageError) {
        // The help and the usage errors are given in the user's language:
        // the line is read again with the translators installed, on an
        // application object that needs no display.
        static int textsArgc = 1;
        textsOnly.reset(new QCoreApplication(textsArgc, argv));
        installTranslatorsQuietly();
        commandLine = CommandLine::parse(rawArguments);
    }
    switch (commandLine.action()) {
    case CommandLine::ShowHelp:
        std::fputs(qPrintable(CommandLine::helpText(rawArguments.value(0))), stdout);
        return CommandLine::exitCode(commandLine.action());
    case CommandLine::ShowVersion:
        std::fputs(qPrintable(CommandLine::versionText()), stdout);
        return CommandLine::exitCode(commandLine.action());
    case CommandLine::UsageError:
        std::fprintf(stderr, "%s\n", qPrintable(commandLine.errorText()));
        return CommandLine::exitCode(commandLine.action());
    case CommandLine::Batch: {
        // No window: the toolkit gets none of the arguments.
        BatchRunner::prepareProcess();
        int batchArgc = 1;
        QApplication app(batchArgc, argv);
        LanguageManager::instance()->reloadTranslators();
        return BatchRunner(commandLine.batch()).run();
    }
    case CommandLine::Run:
        break;
    }

    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(KORA_VERSION));

    // What a killed report export of an earlier run left behind.
    ReportLeftovers::removeStale();

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
    // manager's "Open With" works. The window holds one file at a time: the
    // first is opened, the others are named as left alone.
    const QStringList files = commandLine.files();
    if (!files.isEmpty()) {
        const QString path = QFileInfo(files.first()).absoluteFilePath();
        QTimer::singleShot(0, window, [window, path] { window->openFile(path); });
        for (int i = 1; i < files.size(); ++i)
            std::fprintf(stderr, "%s\n",
                         qPrintable(QCoreApplication::translate("CommandLine",
                                                                "kora: opens one file at a time; not opening %1")
                                        .arg(files.at(i))));
    }

    const int result = app.exec();
    delete window;
    return result;
}
