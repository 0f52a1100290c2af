#pragma once
// Where a transfer reads records from. Today the old Jet file; a database
// server is one more implementation of the same interface.
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <functional>

namespace tk {

struct SourceTable {
    QString name;
    QStringList columns;    // in the source's order
    qint64 rowCount = -1;   // what the source says it holds; -1 when it cannot say
};

class RecordSource {
public:
    virtual ~RecordSource() = default;

    // The tables holding records (no system tables).
    virtual QVector<SourceTable> tables() = 0;

    // Calls `row` once per record of `table` with the values of the columns at
    // `columns` (indexes into table.columns), in that order. A value is null,
    // QString, qlonglong, double, bool, QDateTime or QByteArray, as the source
    // column holds it. Throws tk::Error with the reason when the records
    // cannot all be read.
    using RowSink = std::function<void(const QVariantList &values)>;
    virtual void readRows(const SourceTable &table, const QVector<int> &columns, const RowSink &row) = 0;
};

} // namespace tk
