#ifndef PICKLISTDOCK_H
#define PICKLISTDOCK_H

#include <QDockWidget>
#include <QVector>

#include "structurepick.h"
#include "trueorientation.h"

class QTableView;
class QAbstractTableModel;

// The list of the project's structure picks, beside the page: depth (m),
// dip, dip direction, type and comment, sortable by any column. A
// double-click on a row asks to show the page of that pick.
//
// The rows are drawn from the picks themselves (a table model over them), so
// a project with a hundred thousand picks costs no more than their values.
// Each cell answers Qt::UserRole with the value it sorts by. With a hole
// survey the dips and directions are the true ones, and the headings and the
// title say so.
class PickListDock : public QDockWidget
{
    Q_OBJECT
public:
    enum Column { DepthColumn, DipColumn, DirectionColumn, TypeColumn, CommentColumn };

    explicit PickListDock(QWidget *parent = nullptr);

    // The picks as stored (measured); shown through the orientation.
    void setPicks(const QVector<StructurePick> &picks);
    void setOrientation(const TrueOrientation &orientation);
    const TrueOrientation &orientation() const { return m_orientation; }
    QTableView *table() const { return m_table; }

signals:
    // depth in depth units (0.1 mm)
    void pickActivated(double depth);

public slots:
    void OnRetranslate();

private:
    QTableView *m_table = nullptr;
    QAbstractTableModel *m_model = nullptr;
    QVector<StructurePick> m_picks;
    TrueOrientation m_orientation;
};

#endif // PICKLISTDOCK_H
