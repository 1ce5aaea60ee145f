#ifndef SCROLLAREA_H
#define SCROLLAREA_H

#include <QImage>
#include <QScrollArea>

class QPushButton;
class QWheelEvent;
class RollWidget;

// The roll window: a rolling cylinder of a depth range (RollWidget) with
// Previous, Next and Save below it. Its own top-level window, shown
// maximised, deleted when closed. Previous and Next only ask for the
// neighbouring range; the range changes when the main window answers with
// setRange and setImage.
class ScrollArea : public QScrollArea
{
    Q_OBJECT

public:
    explicit ScrollArea(QWidget *parent = nullptr);

    void setRange(int start, int end);
    void setImage(const QImage &image);

    int rangeStart() const { return m_start; }
    int rangeEnd() const { return m_end; }
    int rangeLength() const { return m_length; }
    RollWidget *rollWidget() const { return m_rollWidget; }
    QPushButton *saveButton() const { return m_saveBtn; }
    QPushButton *nextButton() const { return m_nextBtn; }
    QPushButton *previousButton() const { return m_preBtn; }

signals:
    void signalWheelEvent(QWheelEvent *event);
    void signalRollUpdate(int curStart, int curEnd);
    void signalOpenglLoadFailed();

public slots:
    void handleSaveBtnPressed();
    void handleNextBtnPressed();
    void handlePreBtnPressed();

private:
    RollWidget *m_rollWidget = nullptr;
    QPushButton *m_saveBtn = nullptr;
    QPushButton *m_nextBtn = nullptr;
    QPushButton *m_preBtn = nullptr;
    int m_start = 0;
    int m_end = 0;
    int m_length = 0;
};

#endif // SCROLLAREA_H
