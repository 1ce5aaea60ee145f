#include "toptoolbar.h"

#include "koraresources.h"

#include <QAction>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QToolButton>
#include <QWidget>

TopToolBar::TopToolBar(const QString &title, QWidget *parent)
    : QToolBar(title, parent)
{
    initKoraResources();
    setMovable(false);

    const auto make = [this](const char *icon, const QString &text, const QString &tip, int id) {
        QAction *action = new QAction(QIcon(QString::fromLatin1(icon)), text, this);
        action->setStatusTip(tip);
        action->setData(id);
        m_actions << action;
        return action;
    };
    enlargeAct = make(":/res/Enlarge.ico", tr("&Large"), tr("Enlarge"), Enlarge);
    enlargeAct->setShortcut(QKeySequence(QStringLiteral("Ctrl+=")));
    decreaseAct = make(":/res/Decrease.ico", tr("&Decrease"), tr("Decrease"), Decrease);
    decreaseAct->setShortcut(QKeySequence(QStringLiteral("Ctrl+-")));
    rotateVerAct = make(":/res/3Dver.ico", tr("&Ver"), tr("Rotation vertical"), RotateVertical);
    rotateHorAct = make(":/res/3Dhor.ico", tr("&Hor"), tr("Rotation horizontal"), RotateHorizontal);
    moveLeftAct = make(":/res/3Dleft.ico", tr("&Left"), tr("Move left"), MoveLeft);
    moveRightAct = make(":/res/3Dright.ico", tr("&Right"), tr("Move Right"), MoveRight);
    moveUpAct = make(":/res/3Dup.ico", tr("&Up"), tr("Move Up"), MoveUp);
    moveDownAct = make(":/res/3Ddown.ico", tr("&Down"), tr("Move Down"), MoveDown);

    connect(enlargeAct, &QAction::triggered, this, &TopToolBar::handleSizeChanged);
    connect(decreaseAct, &QAction::triggered, this, &TopToolBar::handleSizeChanged);
    connect(rotateVerAct, &QAction::triggered, this, &TopToolBar::handleRotationPressed);
    connect(rotateHorAct, &QAction::triggered, this, &TopToolBar::handleRotationPressed);
    for (QAction *move : {moveLeftAct, moveRightAct, moveUpAct, moveDownAct})
        connect(move, &QAction::triggered, this, &TopToolBar::handleMovePressed);

    QWidget *box = new QWidget(this);
    box->setMaximumHeight(100);
    QHBoxLayout *layout = new QHBoxLayout(box);
    for (QAction *action : qAsConst(m_actions)) {
        QToolButton *button = new QToolButton(box);
        button->setFixedSize(40, 40);
        button->setIconSize(QSize(32, 32));
        button->setDefaultAction(action);
        button->setStatusTip(action->text());
        layout->addWidget(button);
        m_buttons << button;
    }
    addWidget(box);
}

void TopToolBar::rememberSender()
{
    QAction *action = qobject_cast<QAction *>(sender());
    m_lastActionId = (action && m_actions.contains(action)) ? action->data().toInt() : None;
}

void TopToolBar::handleRotationPressed()
{
    rememberSender();
    emit signalRotation();
}

void TopToolBar::handleMovePressed()
{
    rememberSender();
    emit signalMove();
}

void TopToolBar::handleSizeChanged()
{
    rememberSender();
    emit signalSizeChanged();
}
