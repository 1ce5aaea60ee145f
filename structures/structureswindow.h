#ifndef STRUCTURESWINDOW_H
#define STRUCTURESWINDOW_H

#include <QWidget>

#include "structurepick.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QTabWidget;
class RosePlot;
class StereonetPlot;
class StructurePlot;
class TadpolePlot;

// The "Structures" window: the picks of the project, or of a depth range, on
// a stereonet, a rose diagram and a tadpole plot; each plot can be exported
// as PNG or SVG.
class StructuresWindow : public QWidget
{
    Q_OBJECT

public:
    explicit StructuresWindow(QWidget *parent = nullptr);

    // The project whose picks are shown, and its depth range (depth units).
    void setProject(const QString &path, double from, double to);
    // Reads the picks of the range again from the project file.
    void reload();

    QVector<StructurePick> picks() const { return m_picks; }
    StereonetPlot *stereonet() const { return m_stereonet; }
    RosePlot *rose() const { return m_rose; }
    TadpolePlot *tadpole() const { return m_tadpole; }
    StructurePlot *currentPlot() const;

public slots:
    // Asks for a file name and writes the plot of the current tab.
    void exportCurrentPlot();
    void OnRetranslate();

private:
    void applySelection();

    QString m_projectPath;
    QVector<StructurePick> m_picks;
    QTabWidget *m_tabs = nullptr;
    StereonetPlot *m_stereonet = nullptr;
    RosePlot *m_rose = nullptr;
    TadpolePlot *m_tadpole = nullptr;
    QDoubleSpinBox *m_from = nullptr;
    QDoubleSpinBox *m_to = nullptr;
    QCheckBox *m_greatCircles = nullptr;
    QComboBox *m_meanOf = nullptr;
};

#endif // STRUCTURESWINDOW_H
