#ifndef QDLGDISPLAYSETTING_H
#define QDLGDISPLAYSETTING_H

#include <QDialog>
#include <QSize>
#include <QString>
#include <QStringList>

namespace Ui {
class QDlgDisplaySetting;
}

// Display settings: the grid size used by the grid lines and by reports. It
// writes the chosen index back into the caller's index when accepted.
class QDlgDisplaySetting : public QDialog
{
    Q_OBJECT
public:
    explicit QDlgDisplaySetting(int &gridSizeIndex, QWidget *parent = nullptr);
    ~QDlgDisplaySetting() override;

    // "10*10", "20*20", "50*50" (translated).
    static QStringList GridSizeChoices();
    // Grid cell (width, height) of a choice; (10, 10) for an index outside the
    // list or a text that is not two positive whole numbers joined by "*".
    static QSize gridSize(int index);
    static QSize parseGridSize(const QString &text);

private slots:
    void on_buttonBox_accepted();

private:
    Ui::QDlgDisplaySetting *ui;
    int &m_gridSizeIndex;
};

#endif // QDLGDISPLAYSETTING_H
