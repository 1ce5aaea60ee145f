#ifndef HOLESURVEYSTORE_H
#define HOLESURVEYSTORE_H

#include <QString>

#include "holesurvey.h"

// The hole survey of one project file, in two tables other programs read too:
//
//     holeSurvey(depth REAL, inclination REAL, azimuth REAL)   depth in m
//     holeReference(reference TEXT)                            one row
//
// Both are created by the first write, in one transaction with the stations;
// a file nobody imports a survey into never gets them. Writes are refused
// (nothing changes) for read-only files and for files that are not projects.
// Every call opens its own connection on the calling thread.
class HoleSurveyStore
{
public:
    explicit HoleSurveyStore(const QString &projectPath);

    // The stored survey; empty (reference north) when the file has none or
    // cannot be read, see lastError().
    HoleSurvey read() const;

    // Replaces the stored stations and reference with those of survey.
    bool write(const HoleSurvey &survey);
    // Reads the stations of a CSV file (HoleSurvey::fromCsv) and stores them
    // with the given reference. A file that does not read stores nothing.
    bool importCsv(const QString &csvPath, HoleSurvey::Reference reference);
    // Changes only the reference; refused when the file has no survey yet.
    bool setReference(HoleSurvey::Reference reference);

    QString lastError() const { return m_lastError; }

private:
    bool change(const HoleSurvey *survey, HoleSurvey::Reference reference);

    QString m_projectPath;
    mutable QString m_lastError;
};

#endif // HOLESURVEYSTORE_H
