#pragma once
// What a transfer did, and the summary the user is shown.
#include "RecordTarget.h"

#include <QStringList>

namespace tk {

struct TransferReport {
    QVector<TableCount> transferred; // every table of today's books, in page order
    QStringList missingTables;       // today's tables the old books lack (left empty)
    QStringList missingColumns;      // "Table.Column", left empty
    QStringList extraTables;         // tables of the old books that were skipped
    QStringList extraColumns;        // "Table.Column", skipped
    QVector<TableCount> keptAsIs;    // "Table.Column": values stored as they were
    QVector<TableCount> withoutMaster; // detail rows whose master row was not there

    // "Aktarılan kayıtlar: MusTakip 1.204, MusTakip1 5.877, …" and a line for
    // each list that is not empty.
    QString summary() const;
};

// A count with Turkish digit grouping: 1.204.
QString countText(qint64 count);

} // namespace tk
