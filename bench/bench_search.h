#pragma once
// Searches and the company list's order at `rows` rows, on the raw C API:
// the statements without the Turkish key indexes (as version-1 files ran
// them) beside the statements the program runs now, with the indexes.
// Every figure is the median of five runs, with min and max.
void runSearchBenchmarks(int rows);

#include <QVariantList>
struct sqlite3;
// Steps every row of `sql` with its text parameters, touching each cell's
// text, as the plainest possible reader of the same rows; returns the rows.
int rawScan(sqlite3 *db, const QString &sql, const QVariantList &params = {});
