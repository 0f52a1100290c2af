#pragma once
// Where a transfer writes records to: a new database with today's tables.
// The whole transfer is one transaction, committed only when every table
// has been written.
#include "data/Field.h"

#include <QString>
#include <QVariantList>
#include <QVector>

namespace tk {

struct TargetTable {
    QString name;
    QVector<FieldDef> columns; // with the kind of each column's declared type
};

struct TableCount {
    QString name;
    qint64 count = 0;
};

class RecordTarget {
public:
    virtual ~RecordTarget() = default;

    // Today's tables, in the order of the pages.
    virtual QVector<TargetTable> tables() = 0;

    virtual void begin() = 0;
    // Prepares the insertion of rows holding `columns` (indexes into table.columns).
    virtual void startTable(const TargetTable &table, const QVector<int> &columns) = 0;
    // One row, its values already in the storage form of their columns.
    virtual void insert(const QVariantList &values) = 0;
    // Detail rows whose master row is not there, per table (before commit).
    virtual QVector<TableCount> rowsWithoutMaster() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
};

} // namespace tk
