#ifndef FILEINFOWIDGET_H
#define FILEINFOWIDGET_H

#include <QString>
#include <QWidget>

#include "navigationpanel.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The depth navigation panel below the page view: the project's depth range,
// the start, end and page depth of the page to read, and Go / Stop /
// Previous / Next. One instance per process, made by ProjectInfo through the
// factory that installAsNavigationPanel() registers.
class FileInfoWidget : public QWidget, public NavigationPanel
{
    Q_OBJECT
public:
    explicit FileInfoWidget(QWidget *parent = nullptr);

    // Registers this class as the navigation panel of ProjectInfo. Call once
    // before the first ProjectInfo::instance().
    static void installAsNavigationPanel();
    // The process-wide panel held by ProjectInfo, or none when ProjectInfo was
    // created without this factory.
    static FileInfoWidget *instance();

    // NavigationPanel
    void setStartValue(int metres) override;
    void setEndValue(int metres) override;
    int startValue() const override;
    int endValue() const override;
    int pageDepth() const override;
    void setStartDepth(int depth) override;
    void setEndDepth(int depth) override;
    void setStartText(int depth) override;
    void setEndText(int depth) override;
    void reset() override;

    // Start and end of the page to read, in depth units, as the boxes hold them.
    int startDepth() const;
    int endDepth() const;
    // Lets the start and end boxes span the project from top to bottom (depth
    // units). Reset goes back to the range of an empty window.
    void setDepthRange(int top, int bottom);

    QString rangeText() const { return m_startText + m_separatorText + m_endText; }

    // Start and end in metres with centimetres; the page depth in whole metres.
    QDoubleSpinBox *startSpin;
    QDoubleSpinBox *endSpin;
    QSpinBox *pageDepthSpin;

signals:
    void signalLastPressed();
    void signalNextPressed();
    void signalStopPressed();
    void startValueChanged(int);
    void endValueChanged(int);
    void goPressed();

public slots:
    void handleEditingFinished(QString);
    void OnRetranslate();

private:
    void updateRangeLabel();

    QLabel *m_rangeTitle;
    QLabel *m_rangeValue;
    QLabel *m_currentTitle;
    QLabel *m_separator;
    QLabel *m_pageTitle;
    QPushButton *m_goButton;
    QPushButton *m_stopButton;
    QPushButton *m_lastButton;
    QPushButton *m_nextButton;
    QString m_startText;
    QString m_separatorText;
    QString m_endText;
};

#endif // FILEINFOWIDGET_H
