#include "DatasetModel.h"

namespace tk {

DatasetModel::DatasetModel(Dataset *dataset, QVector<GridColumn> columns, QObject *parent)
    : QAbstractTableModel(parent), m_dataset(dataset), m_columns(std::move(columns))
{
    resolveColumns();
    const auto reset = [this] {
        beginResetModel();
        resolveColumns();
        endResetModel();
    };
    connect(dataset, &Dataset::rowsReset, this, reset);
    connect(dataset, &Dataset::rowInserted, this, reset);
    connect(dataset, &Dataset::rowRemoved, this, reset);
    connect(dataset, &Dataset::rowUpdated, this, [this](int row) {
        if (row >= 0 && row < rowCount())
            emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::DisplayRole});
    });
}

void DatasetModel::resolveColumns()
{
    m_fieldIndex.clear();
    for (const GridColumn &c : std::as_const(m_columns))
        m_fieldIndex.append(m_dataset ? m_dataset->fieldIndex(c.field) : -1);
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    // A dataset not read yet shows no rows until it is: a list is no reason to read it.
    return parent.isValid() || !m_dataset || !m_dataset->keysRead() ? 0 : m_dataset->rowCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!m_dataset || !index.isValid())
        return {};
    if (role == Qt::DisplayRole) // no tool tips: the main window shows none
        return m_dataset->textAt(index.row(), m_fieldIndex.value(index.column(), -1));
    if (role == Qt::TextAlignmentRole) {
        const int c = m_fieldIndex.value(index.column(), -1);
        if (c >= 0) {
            const FieldKind k = m_dataset->fields()[c].kind;
            if (k == FieldKind::Real || k == FieldKind::Integer)
                return int(Qt::AlignRight | Qt::AlignVCenter);
        }
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns[section].title;
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return QString();
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace tk
