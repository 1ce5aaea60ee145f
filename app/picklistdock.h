#ifndef PICKLISTDOCK_H
#define PICKLISTDOCK_H

#include <QDockWidget>
#include <QVector>

#include "structurepick.h"

class QTableWidget;

// The list of the project's structure picks, beside the page: depth (m),
// dip, dip direction, type and comment, sortable by any column. A
// double-click on a row asks to show the page of that pick.
class PickListDock : public QDockWidget
{
    Q_OBJECT
public:
    enum Column { DepthColumn, DipColumn, DirectionColumn, TypeColumn, CommentColumn };

    explicit PickListDock(QWidget *parent = nullptr);

    void setPicks(const QVector<StructurePick> &picks);
    QTableWidget *table() const { return m_table; }

signals:
    // depth in depth units (0.1 mm)
    void pickActivated(double depth);

public slots:
    void OnRetranslate();

private:
    QTableWidget *m_table = nullptr;
};

#endif // PICKLISTDOCK_H
