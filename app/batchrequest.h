#ifndef BATCHREQUEST_H
#define BATCHREQUEST_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// One command of the batch command line (kora report|pages|picks|info
// PROJECT ...), parsed and checked as far as it can be without reading the
// project. Depths are in metres as typed; an option not given keeps its
// default, which the runner completes from the project (range, step).
class BatchRequest
{
    Q_DECLARE_TR_FUNCTIONS(BatchRequest)

public:
    enum Command { Report, Pages, Picks, Info };

    // True when name is one of the batch commands.
    static bool isCommand(const QString &name);
    // Parses arguments from the command name on (arguments[0] is the
    // command). False with a message for a usage error.
    static bool parse(const QStringList &arguments, BatchRequest *request, QString *error);
    static QString helpText();

    Command command = Info;
    QString project;
    QString out;
    bool helpAsked = false;

    // report and pages
    bool hasFrom = false;
    bool hasTo = false;
    double from = 0.0;
    double to = 0.0;
    // report
    bool hasStep = false;
    double step = 0.0;
    int columns = 2;
    bool header = false;
    bool grid = false;
    bool structures = false;
    bool frequency = false; // the PDF's fracture-frequency track
    // pages
    int pieceDepthMm = 2000;
    bool original = false;
    // info
    bool json = false;

    // The report format the suffix of out names: 1 PDF, 0 word-processor
    // document (.odt, .doc, .docx); -1 for any other suffix.
    static int reportFormat(const QString &fileName);
};

#endif // BATCHREQUEST_H
