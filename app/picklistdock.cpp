#include "picklistdock.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

#include <QColor>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSortRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;

// The picks as table rows; texts are made when a cell is shown. Sorts by the
// value behind the text: numbers as numbers, texts as the user reads them.
class PickTableModel : public QAbstractTableModel
{
public:
    explicit PickTableModel(QObject *parent)
        : QAbstractTableModel(parent)
    {
    }

    void setPicks(const QVector<StructurePick> &picks)
    {
        beginResetModel();
        m_picks = picks;
        sortRows();
        endResetModel();
    }

    void setHeaders(const QStringList &headers)
    {
        m_headers = headers;
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
        // Type names are translated too.
        if (!m_picks.isEmpty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : m_picks.size();
    }

    int columnCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : 5;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_headers.size())
            return m_headers.at(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex &) const override { return Qt::ItemIsSelectable | Qt::ItemIsEnabled; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_picks.size())
            return QVariant();
        const StructurePick &p = m_picks.at(index.row());
        switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
            case PickListDock::DepthColumn:
                if (!std::isfinite(p.depth))
                    return PickListDock::tr("invalid");
                return QString::number(p.depth / 10000.0, 'f', 2);
            case PickListDock::DipColumn:
                // A value that is no number or out of range is shown as such,
                // never as a made-up figure.
                if (!StructurePick::validDip(p.dip))
                    return PickListDock::tr("invalid");
                return QString::number(qRound(p.dip));
            case PickListDock::DirectionColumn:
                if (!std::isfinite(p.dipDirection))
                    return PickListDock::tr("invalid");
                return QStringLiteral("%1").arg(qRound(p.dipDirection) % 360, 3, 10, QLatin1Char('0'));
            case PickListDock::TypeColumn:
                return StructurePick::typeName(p.type);
            default:
                return p.comment;
            }
        case kSortRole:
            return sortValue(p, index.column());
        case kDepthRole:
            return p.depth;
        case Qt::ForegroundRole:
            if (index.column() == PickListDock::TypeColumn)
                return StructurePick::typeColour(p.type);
            if (index.column() <= PickListDock::DirectionColumn && !p.isValid())
                return QColor(Qt::red);
            return QVariant();
        case Qt::TextAlignmentRole:
            if (index.column() <= PickListDock::DirectionColumn)
                return int(Qt::AlignRight | Qt::AlignVCenter);
            return QVariant();
        default:
            return QVariant();
        }
    }

    void sort(int column, Qt::SortOrder order) override
    {
        emit layoutAboutToBeChanged();
        m_column = column;
        m_order = order;
        sortRows();
        emit layoutChanged();
    }

private:
    static QVariant sortValue(const StructurePick &p, int column)
    {
        switch (column) {
        case PickListDock::DepthColumn:
            return p.depth;
        case PickListDock::DipColumn:
            return p.dip;
        case PickListDock::DirectionColumn:
            return p.dipDirection;
        case PickListDock::TypeColumn:
            return StructurePick::typeName(p.type);
        default:
            return p.comment;
        }
    }

    void sortRows()
    {
        const int column = m_column;
        auto less = [column](const StructurePick &a, const StructurePick &b) {
            switch (column) {
            case PickListDock::DepthColumn:
                return a.depth < b.depth;
            case PickListDock::DipColumn:
                return a.dip < b.dip;
            case PickListDock::DirectionColumn:
                return a.dipDirection < b.dipDirection;
            case PickListDock::TypeColumn:
                return StructurePick::typeName(a.type).localeAwareCompare(StructurePick::typeName(b.type)) < 0;
            default:
                return a.comment.localeAwareCompare(b.comment) < 0;
            }
        };
        if (m_order == Qt::AscendingOrder)
            std::stable_sort(m_picks.begin(), m_picks.end(), less);
        else
            std::stable_sort(m_picks.begin(), m_picks.end(),
                             [&less](const StructurePick &a, const StructurePick &b) { return less(b, a); });
    }

    QVector<StructurePick> m_picks;
    QStringList m_headers;
    int m_column = PickListDock::DepthColumn;
    Qt::SortOrder m_order = Qt::AscendingOrder;
};

} // namespace

PickListDock::PickListDock(QWidget *parent)
    : QDockWidget(parent)
{
    setObjectName(QStringLiteral("pickListDock"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    m_model = new PickTableModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("pickTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(DepthColumn, Qt::AscendingOrder);
    setWidget(m_table);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit pickActivated(index.data(kDepthRole).toDouble());
    });
    OnRetranslate();
}

void PickListDock::setOrientation(const TrueOrientation &orientation)
{
    m_orientation = orientation;
    OnRetranslate();
    setPicks(m_picks);
}

void PickListDock::setPicks(const QVector<StructurePick> &picks)
{
    m_picks = picks;
    // Rows are sorted as the user last asked.
    static_cast<PickTableModel *>(m_model)->setPicks(m_orientation.corrected(picks));
}

void PickListDock::OnRetranslate()
{
    auto *model = static_cast<PickTableModel *>(m_model);
    if (m_orientation.isActive()) {
        setWindowTitle(tr("Structure picks (true orientation)"));
        model->setHeaders({tr("Depth (m)"), tr("True dip (°)"), tr("True dip direction (°)"), tr("Type"),
                           tr("Comment")});
    } else {
        setWindowTitle(tr("Structure picks (measured)"));
        model->setHeaders({tr("Depth (m)"), tr("Dip (°)"), tr("Dip direction (°)"), tr("Type"), tr("Comment")});
    }
    // Each column at least as wide as its heading in the language shown.
    QHeaderView *header = m_table->horizontalHeader();
    for (int c = DepthColumn; c < CommentColumn; ++c)
        header->resizeSection(c, std::max(header->sectionSizeHint(c), header->sectionSize(c)));
}
