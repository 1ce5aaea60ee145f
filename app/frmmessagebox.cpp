#include "frmmessagebox.h"
#include "ui_frmmessagebox.h"

#include "koraresources.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

frmMessageBox::frmMessageBox(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::frmMessageBox)
{
    initKoraResources();
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(ui->btnCancel, &QPushButton::clicked, this, &QDialog::close);

    // The box covers the whole screen with a translucent dialog; only the
    // panel in the middle is painted. The second set of flags drops the
    // dialog type; it keeps Qt::Window, which is what a box without parent
    // gets anyway, so that a box given a parent is still a modal window of
    // its own and not a child widget painted into the parent.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowOpacity(0.95);
    setAttribute(Qt::WA_TranslucentBackground);

    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QRect whole = screen ? screen->geometry() : available;
    const int w = std::min(static_cast<int>(0.95 * available.width()), 600);
    const int h = std::min(static_cast<int>(0.95 * available.height()), 400);
    QRect panel(0, 0, w, h);
    panel.moveCenter(available.center());
    setGeometry(whole);
    // The panel is a child of the dialog, so its position is relative to the
    // screen's top left corner.
    ui->widget_background->setGeometry(panel.translated(-whole.topLeft()));

    setMessage(QString(), Information);
}

frmMessageBox::~frmMessageBox()
{
    delete ui;
}

void frmMessageBox::setMessage(const QString &msg, int type)
{
    switch (type) {
    case Question:
        ui->labIcoMain->setStyleSheet(
            QStringLiteral("border-image: url(:/MsgImage/QUtility/MessageBox/question.png);"));
        ui->lab_Title->setText(tr("Requst"));
        ui->btnCancel->setVisible(true);
        break;
    case Error:
        ui->labIcoMain->setStyleSheet(
            QStringLiteral("border-image: url(:/MsgImage/QUtility/MessageBox/error.png);"));
        ui->lab_Title->setText(tr("Error"));
        ui->btnCancel->setVisible(false);
        break;
    case Information:
    default:
        // Unknown kinds are shown as information.
        ui->labIcoMain->setStyleSheet(
            QStringLiteral("border-image: url(:/MsgImage/QUtility/MessageBox/info.png);"));
        ui->lab_Title->setText(tr("Prompt"));
        ui->btnCancel->setVisible(false);
        break;
    }
    setWindowTitle(ui->lab_Title->text());
    ui->labInfo->setText(msg);
}

void frmMessageBox::on_btnOk_clicked()
{
    done(QDialog::Accepted);
    close();
}
