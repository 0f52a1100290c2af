#pragma once
// Records for a freshly made database: believable sample records for trying
// the program out, and bulk rows for measuring it.
#include <QString>

namespace tk {

// Sample records on every page of the program, in a database made by
// createDatabaseFile. Amounts agree with the pages' own computations.
void fillDemoData(const QString &path);

// `n` rows in every master and single table and two or three detail rows
// under every master row, written in one transaction.
void fillRows(const QString &path, int n);

} // namespace tk
