#pragma once
// Moving the books between a Data.dat and a database server, either way:
// every table in one transaction, keys kept, the row counts and amount sums
// of both sides compared before the copy is kept. A target holding books is
// refused unless it is to be replaced.
#include "server/BooksTally.h"

#include <QString>
#include <functional>

namespace tk {

struct ServerTransferResult {
    BooksTally from, to;
    QString comparison; // both sides side by side, for printing
};

// `from` and `to`: one a "postgresql://…" address, the other a Data.dat
// path. `progress` hears each table copied and its rows. Throws tk::Error,
// leaving the target as it was, when the copy fails, the target is not empty
// (without `replace`), a target Data.dat is open at a desk, or the two sides
// do not agree.
ServerTransferResult transferServerBooks(const QString &from, const QString &to, bool replace,
                                         const std::function<void(const QString &table, qint64 rows)> &progress = {});

} // namespace tk
