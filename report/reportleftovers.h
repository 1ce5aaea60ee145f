#ifndef REPORTLEFTOVERS_H
#define REPORTLEFTOVERS_H

#include <QString>

// What a killed report export leaves behind: its working folder in the
// temporary directory ("kora-report-PID-XXXXXX", named after the process
// that made it) and the unfinished NAME.part beside the report it was
// writing. Each working folder records its report's name, so the leftovers
// of a dead process can be found again: at start-up and before each export.
class ReportLeftovers
{
public:
    // Template of a new working folder of this process (for QTemporaryDir).
    static QString folderTemplate();
    // Notes in folder that it is writing the report target.
    static void noteTarget(const QString &folder, const QString &target);
    // Removes the working folders of processes that no longer run (and the
    // empty ones of older versions, "kora-report-XXXXXX"), with the unfinished
    // report each of them names. Returns the number of folders removed.
    static int removeStale();
};

#endif // REPORTLEFTOVERS_H
