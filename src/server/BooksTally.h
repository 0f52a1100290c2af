#pragma once
// Row counts and sums of the amount columns of every table, read the same way
// from a Data.dat and from a server, so that a copy between them can be
// checked and both sides printed.
#include <QString>
#include <QStringList>
#include <QVector>

namespace tk {

class PgConnection;

struct TableTally {
    QString table;
    qint64 rows = 0;
    QStringList amountColumns; // the table's real-number columns
    QVector<double> sums;      // one per amount column; 0 for no rows
};

struct BooksTally {
    QVector<TableTally> tables; // in the order of the tables

    bool empty() const;
    // Tables whose count or sums differ from `other`'s (sums to within a
    // rounding of their last digits); empty when the two agree.
    QStringList differences(const BooksTally &other) const;
};

BooksTally tallyDataFile(const QString &path);
// Read in the transaction open on `db`, if any.
BooksTally tallyServer(PgConnection &db);

// Both sides side by side, a table a line: "Cari  12 / 12  Tutar 1.500,25 / 1.500,25".
QString tallyComparison(const BooksTally &from, const BooksTally &to, const QString &fromName, const QString &toName);

} // namespace tk
