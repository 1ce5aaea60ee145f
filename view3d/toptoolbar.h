#ifndef TOPTOOLBAR_H
#define TOPTOOLBAR_H

#include <QList>
#include <QToolBar>

class QAction;
class QToolButton;

// Tool bar of the 3D window: zoom, turn and move the cylinder. Remembers
// which of its eight actions was triggered last (identifiers 1 to 8, 0 for
// none) and tells the window through one of three signals.
class TopToolBar : public QToolBar
{
    Q_OBJECT

public:
    // Identifiers of the actions.
    enum ActionId { None = 0, RotateVertical = 1, RotateHorizontal = 2, MoveLeft = 3, MoveRight = 4,
                    MoveUp = 5, MoveDown = 6, Enlarge = 7, Decrease = 8 };

    explicit TopToolBar(const QString &title, QWidget *parent = nullptr);

    int lastActionId() const { return m_lastActionId; }
    // The actions in button order: enlarge, decrease, rotate vertical, rotate
    // horizontal, move left, right, up, down.
    QList<QAction *> actions3D() const { return m_actions; }

signals:
    void signalSizeChanged();
    void signalRotation();
    void signalMove();

public slots:
    void handleRotationPressed();
    void handleMovePressed();
    void handleSizeChanged();

private:
    void rememberSender();

    QAction *enlargeAct = nullptr;
    QAction *decreaseAct = nullptr;
    QAction *rotateVerAct = nullptr;
    QAction *rotateHorAct = nullptr;
    QAction *moveLeftAct = nullptr;
    QAction *moveRightAct = nullptr;
    QAction *moveUpAct = nullptr;
    QAction *moveDownAct = nullptr;
    QList<QAction *> m_actions;
    QList<QToolButton *> m_buttons;
    int m_lastActionId = None;
};

#endif // TOPTOOLBAR_H
