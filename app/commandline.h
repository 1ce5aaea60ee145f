#ifndef COMMANDLINE_H
#define COMMANDLINE_H

#include "batchrequest.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The program's own command line: --help, --version, the files to open and
// the batch commands (kora report|pages|picks|info ..., see BatchRequest).
// It is read before the application object exists, so that --help and
// --version answer without a display; the toolkit's own options (-platform,
// -style, -display ...) are passed over here and left to the toolkit.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum Action {
        Run,         // start the window, open files() if any
        ShowHelp,    // print helpText() on standard output, exit 0
        ShowVersion, // print versionText() on standard output, exit 0
        UsageError,  // print errorText() on standard error, exit 2
        Batch        // run batch() without a window
    };

    // arguments as in argv, the program name first.
    static CommandLine parse(const QStringList &arguments);

    Action action() const { return m_action; }
    // Files named on the command line, in their order.
    QStringList files() const { return m_files; }
    // The batch command, when action() is Batch.
    BatchRequest batch() const { return m_batch; }
    // The usage error, with a hint to --help.
    QString errorText() const { return m_errorText; }

    static QString helpText(const QString &programName);
    static QString versionText();
    // Exit code of the process for an action that ends it.
    static int exitCode(Action action) { return action == UsageError ? 2 : 0; }

private:
    static bool isToolkitOption(const QString &name, bool *takesValue);

    Action m_action = Run;
    QStringList m_files;
    QString m_errorText;
    BatchRequest m_batch;
};

#endif // COMMANDLINE_H
