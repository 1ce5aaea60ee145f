#ifndef PROJECTINFO_H
#define PROJECTINFO_H

#include <QDate>
#include <QSqlDatabase>
#include <QString>
#include <QWidget>
#include <functional>

class NavigationPanel;
class QSqlRecord;

// The in-memory record of the opened project: the row of projectInfo, the
// facts derived from bigImages, the path of the file and the page on screen.
// One instance per process (instance()). It owns the connection "DB1".
class ProjectInfo : public QWidget
{
public:
    static ProjectInfo *instance();

    // The shell registers how the navigation panel is made. The constructor
    // uses it; an instance that already exists without a panel gets one at
    // once. Without a factory the record runs without a panel.
    static void setPanelFactory(std::function<NavigationPanel *()> factory);
    NavigationPanel *fileInfoWidget() const { return m_panel; }

    // Forgets the project: the facts marked for reset and the page go back
    // to their start values, and the connection "DB1" is closed.
    void reset();
    // Opens the file at path as "DB1" (never creates a file; a read-only
    // file is opened read-only). Logs "database open failed!" on failure.
    void setDatabase(const QString &path);
    bool isDatabaseOpen() const { return m_database.isValid() && m_database.isOpen(); }
    // Why the project cannot be written (its file or folder is read-only),
    // in words, with a note when an interrupted change waits in its journal
    // to be rolled back; empty when it can be written. Set by setDatabase().
    QString writeProblem() const { return m_writeProblem; }
    static QString writeProblemOf(const QString &path);
    void loadProjectInfo();
    bool saveProjectInfo();
    void setDiameter(int d);
    // imageWidth / (diameter x 3.14); 0.0 (unknown) while either is not
    // positive.
    double computePixelFactor() const;

    // Page values
    int pageStart() const { return m_pageStart; }
    void setPageStart(int depth);
    int pageEnd() const { return m_pageEnd; }
    void setPageEnd(int depth);
    int pageHeight() const { return m_pageHeight; }
    void setPageHeight(int h) { m_pageHeight = h; }

    // Facts of the project
    int start() const { return m_start; }
    int maxDepth() const { return m_maxDepth; }
    int diameter() const { return m_diameter; }
    QString direction() const { return m_direction; }
    void setDirection(const QString &d) { m_direction = d; }
    QString projectPath() const { return m_projectPath; }
    int imageWidth() const { return m_imageWidth; }
    bool hasCoordinateColumns() const { return m_hasCoordinateColumns; }
    double fLongitude() const { return m_fLongitude; }
    double fLatitude() const { return m_fLatitude; }

    // Descriptive fields
    QString projectName() const { return m_projectName; }
    void setProjectName(const QString &s) { m_projectName = s; }
    QString detectionUnit() const { return m_detectionUnit; }
    void setDetectionUnit(const QString &s) { m_detectionUnit = s; }
    QString coordinatesLongitude() const { return m_coordinatesLongitude; }
    void setCoordinatesLongitude(const QString &s) { m_coordinatesLongitude = s; }
    QString coordinatesLatitude() const { return m_coordinatesLatitude; }
    void setCoordinatesLatitude(const QString &s) { m_coordinatesLatitude = s; }
    QString orificeNumber() const { return m_orificeNumber; }
    void setOrificeNumber(const QString &s) { m_orificeNumber = s; }
    QDate date() const { return m_date; }
    void setDate(const QDate &d) { m_date = d; }
    QString testTotalDepth() const { return m_testTotalDepth; }
    void setTestTotalDepth(const QString &s) { m_testTotalDepth = s; }
    QString diameterText() const { return m_diameterText; }
    void setDiameterText(const QString &s) { m_diameterText = s; }
    QString testStartDepth() const { return m_testStartDepth; }
    void setTestStartDepth(const QString &s) { m_testStartDepth = s; }
    QString testPerson() const { return m_testPerson; }
    void setTestPerson(const QString &s) { m_testPerson = s; }
    QString orificeElevation() const { return m_orificeElevation; }
    void setOrificeElevation(const QString &s) { m_orificeElevation = s; }
    QString stableWaterLevel() const { return m_stableWaterLevel; }
    void setStableWaterLevel(const QString &s) { m_stableWaterLevel = s; }

private:
    ProjectInfo();
    ~ProjectInfo() override;

    static void closeAtExit();
    bool openDatabase();
    void closeDatabase();
    // Adds the eleven descriptive columns in one transaction.
    bool migrate();
    void readRow(const QSqlRecord &record);

    int m_pageStart = 0;
    int m_pageEnd = 0;
    int m_start = 0;
    int m_maxDepth = 0;
    int m_diameter = 0;
    int m_spare1 = 0;
    QString m_direction;
    QString m_projectPath;
    QString m_writeProblem;
    QSqlDatabase m_database;
    QString m_connectionName;
    int m_imageWidth = 0;
    int m_pageHeight = 0;
    int m_spare2 = 0;
    QString m_projectName;
    QString m_detectionUnit;
    QString m_coordinatesLongitude;
    QString m_coordinatesLatitude;
    QString m_orificeNumber;
    QDate m_date;
    QString m_testTotalDepth;
    QString m_diameterText;
    QString m_testStartDepth;
    QString m_testPerson;
    QString m_orificeElevation;
    QString m_stableWaterLevel;
    double m_fLongitude = 114.3;
    double m_fLatitude = 30.57;
    bool m_hasCoordinateColumns = false;

    NavigationPanel *m_panel = nullptr;
};

#endif // PROJECTINFO_H
