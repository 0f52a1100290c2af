#pragma once
// Table model over a Dataset: one model row per dataset row, the columns a
// grid chooses by field name. Cells are decoded only when a view paints them.
#include "Dataset.h"

#include <QAbstractTableModel>
#include <QPointer>

namespace tk {

struct GridColumn {
    QString field;
    QString title;
    int width = 64;
};

class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DatasetModel(Dataset *dataset, QVector<GridColumn> columns, QObject *parent = nullptr);

    Dataset *dataset() const { return m_dataset; }
    const QVector<GridColumn> &columns() const { return m_columns; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void resolveColumns();

    QPointer<Dataset> m_dataset;
    QVector<GridColumn> m_columns;
    QVector<int> m_fieldIndex; // dataset column of each grid column, -1 when missing
};

} // namespace tk
