#ifndef FRMMESSAGEBOX_H
#define FRMMESSAGEBOX_H

#include <QDialog>
#include <QString>

namespace Ui {
class frmMessageBox;
}

// Styled frameless message box. Run it with exec(); QDialog::Accepted means
// the user chose OK. Deleted when closed.
class frmMessageBox : public QDialog
{
    Q_OBJECT
public:
    enum Kind { Information = 0, Question = 1, Error = 2 };

    explicit frmMessageBox(QWidget *parent = nullptr);
    ~frmMessageBox() override;

    // Kind 0 information, 1 question (the only one with Cancel), 2 error.
    void setMessage(const QString &msg, int type);

private slots:
    void on_btnOk_clicked();

private:
    Ui::frmMessageBox *ui;
};

#endif // FRMMESSAGEBOX_H
