#ifndef WAITVIEW_H
#define WAITVIEW_H

#include <QDialog>
#include <QRect>
#include <QString>

class QTimer;

// 0: spinner with the title below it; any other value: the title with
// animated dots and no spinner.
typedef int WAITMODE;

// Translucent overlay shown over the main window while a worker runs. Only a
// view with a parent is ever shown; it deletes itself when closed.
class WaitView : public QDialog
{
    Q_OBJECT
public:
    explicit WaitView(QWidget *parent, bool fullScreen = false, WAITMODE waitMode = 0);

    int phase() const { return m_phase; }
    bool isActive() const { return m_active; }
    QString title() const { return m_title; }
    bool fullScreen() const { return m_fullScreen; }
    WAITMODE waitMode() const { return m_waitMode; }
    QRect panelRect() const { return m_panelRect; }
    QRect spinnerRect() const { return m_spinnerRect; }
    QTimer *timer() const { return m_timer; }
    // The title as painted: in text mode followed by 0 to 4 dots.
    QString displayedTitle() const;

public slots:
    void DoAnimate();
    void Close();
    void setActive(bool actived);
    void setTitle(QString title);
    void ChangeWidgetSize(bool bFullScreen, WAITMODE waitMode);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_phase = 0;
    bool m_active = false;
    QString m_title;
    QTimer *m_timer = nullptr;
    QRect m_panelRect;
    QRect m_spinnerRect;
    bool m_fullScreen = false;
    WAITMODE m_waitMode = 0;
    bool m_busy = false;
};

#endif // WAITVIEW_H
