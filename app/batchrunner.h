#ifndef BATCHRUNNER_H
#define BATCHRUNNER_H

#include "batchrequest.h"

#include <QCoreApplication>
#include <QString>

class CReportParameter;

// Runs one batch command (report, pages, picks, info) without a window, with
// the same builders, renderer and writers the window uses. The project file
// is opened read-only by every reader of the process. Results go to standard
// output, failures to standard error with the reason; a file is written
// beside its name and takes it only when complete, so a failure keeps an
// existing file.
class BatchRunner
{
    Q_DECLARE_TR_FUNCTIONS(BatchRunner)

public:
    enum ExitCode { Done = 0, Failed = 1, UsageError = 2 };

    // Before the application object: the offscreen platform (no command
    // needs a window, and there may be no display), read-only project
    // files, and no debug lines on standard error.
    static void prepareProcess();

    explicit BatchRunner(const BatchRequest &request);
    // Runs the command (the application object must exist); the exit code.
    int run();

    // The report parameters the command line asks for, completed as the
    // report dialog recommends, for the project loaded in the process-wide
    // record.
    static CReportParameter reportParameter(const BatchRequest &request);

private:
    bool openProject();
    // The requested range in depth units, the project's range where none
    // is given; false (usage error) outside the project.
    bool range(int *from, int *to);
    int runInfo();
    int runPicks();
    int runReport();
    int runPages();
    int failed(const QString &text);
    int usage(const QString &text);
    void result(const QString &line);

    BatchRequest m_request;
    QString m_label;
};

#endif // BATCHRUNNER_H
