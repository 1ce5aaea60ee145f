#include "picklistdock.h"

#include <QHeaderView>
#include <QTableWidget>

namespace {

constexpr int kSortRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;

// Sorts by the value behind the text: numbers as numbers, texts as the user
// reads them.
class PickCell : public QTableWidgetItem
{
public:
    PickCell(const QString &text, const QVariant &sortValue)
        : QTableWidgetItem(text)
    {
        setData(kSortRole, sortValue);
        setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    }

    bool operator<(const QTableWidgetItem &other) const override
    {
        const QVariant a = data(kSortRole);
        const QVariant b = other.data(kSortRole);
        if (a.type() == QVariant::Double && b.type() == QVariant::Double)
            return a.toDouble() < b.toDouble();
        return a.toString().localeAwareCompare(b.toString()) < 0;
    }
};

} // namespace

PickListDock::PickListDock(QWidget *parent)
    : QDockWidget(parent)
{
    setObjectName(QStringLiteral("pickListDock"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    m_table = new QTableWidget(0, 5, this);
    m_table->setObjectName(QStringLiteral("pickTable"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(DepthColumn, Qt::AscendingOrder);
    setWidget(m_table);
    connect(m_table, &QTableWidget::itemDoubleClicked, this, [this](QTableWidgetItem *item) {
        if (!item)
            return;
        const QTableWidgetItem *depth = m_table->item(item->row(), DepthColumn);
        if (depth)
            emit pickActivated(depth->data(kDepthRole).toDouble());
    });
    OnRetranslate();
}

void PickListDock::setPicks(const QVector<StructurePick> &picks)
{
    // Rows are filled unsorted and sorted once, as the user last asked.
    m_table->setSortingEnabled(false);
    m_table->clearContents();
    m_table->setRowCount(picks.size());
    int row = 0;
    for (const StructurePick &p : picks) {
        auto *depth = new PickCell(QString::number(p.depth / 10000.0, 'f', 2), p.depth);
        depth->setData(kDepthRole, p.depth);
        m_table->setItem(row, DepthColumn, depth);
        m_table->setItem(row, DipColumn, new PickCell(QString::number(qRound(p.dip)), p.dip));
        m_table->setItem(row, DirectionColumn,
                         new PickCell(QStringLiteral("%1").arg(qRound(p.dipDirection) % 360, 3, 10,
                                                                QLatin1Char('0')),
                                      p.dipDirection));
        auto *type = new PickCell(StructurePick::typeName(p.type), StructurePick::typeName(p.type));
        type->setForeground(StructurePick::typeColour(p.type));
        m_table->setItem(row, TypeColumn, type);
        m_table->setItem(row, CommentColumn, new PickCell(p.comment, p.comment));
        for (int c = DepthColumn; c <= DirectionColumn; ++c)
            m_table->item(row, c)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ++row;
    }
    m_table->setSortingEnabled(true);
}

void PickListDock::OnRetranslate()
{
    setWindowTitle(tr("Structure picks"));
    m_table->setHorizontalHeaderLabels({tr("Depth (m)"), tr("Dip (°)"), tr("Dip direction (°)"),
                                        tr("Type"), tr("Comment")});
}
