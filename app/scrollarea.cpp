#include "scrollarea.h"

#include "rollwidget.h"
#include "settings.h"

#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

ScrollArea::ScrollArea(QWidget *parent)
    : QScrollArea(parent)
{
    setWindowFlag(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowState(Qt::WindowMaximized);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    QWidget *content = new QWidget;
    QVBoxLayout *layout = new QVBoxLayout(content);
    m_rollWidget = new RollWidget(content, false);
    layout->addWidget(m_rollWidget, 1);

    QHBoxLayout *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_preBtn = new QPushButton(tr("Previous"), content);
    m_nextBtn = new QPushButton(tr("Next"), content);
    m_saveBtn = new QPushButton(tr("Save"), content);
    for (QPushButton *button : {m_preBtn, m_nextBtn, m_saveBtn}) {
        button->setMinimumSize(100, 50);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    setWidget(content);
    // The keys go to the view, also after a click on a button: the arrow
    // keys roll and move the wall instead of walking through the buttons,
    // and Escape closes the window.
    for (QPushButton *button : {m_preBtn, m_nextBtn, m_saveBtn})
        button->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_rollWidget);
    m_rollWidget->setFocus();

    connect(m_preBtn, &QPushButton::pressed, this, &ScrollArea::handlePreBtnPressed);
    connect(m_nextBtn, &QPushButton::pressed, this, &ScrollArea::handleNextBtnPressed);
    connect(m_saveBtn, &QPushButton::pressed, this, &ScrollArea::handleSaveBtnPressed);
    connect(m_rollWidget, &RollWidget::signalTextureLoadFailed, this, &ScrollArea::signalOpenglLoadFailed);
}

void ScrollArea::setRange(int start, int end)
{
    m_start = start;
    m_end = end;
    m_rollWidget->setRollRange(start, end);
    m_length = end - start;
}

void ScrollArea::setImage(const QImage &image)
{
    m_rollWidget->setImage(image);
}

void ScrollArea::handlePreBtnPressed()
{
    emit signalRollUpdate(m_start - m_length, m_end - m_length);
}

void ScrollArea::handleNextBtnPressed()
{
    emit signalRollUpdate(m_start + m_length, m_end + m_length);
}

void ScrollArea::handleSaveBtnPressed()
{
    Settings *settings = Settings::instance();
    const QString fileName = QFileDialog::getSaveFileName(this, tr("Save picture as"), settings->savePicDir(),
                                                          QStringLiteral("*.jpg;;*.bmp;;*.png"));
    // A cancelled dialog keeps the folder remembered for the next save.
    if (fileName.isEmpty())
        return;
    settings->setSavePicDir(fileName);
    if (!m_rollWidget->saveView(fileName))
        QMessageBox::warning(this, tr("Warning"), tr("The picture could not be saved."));
}
