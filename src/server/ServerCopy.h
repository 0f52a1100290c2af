#pragma once
// Every row of a Data.dat into the program's (empty) tables on a server, in
// one transaction, keys kept: a master's SiraNo, a detail's row id as its
// Anahtar. Afterwards each key counter on the server continues past the
// largest key. Sample books and measurement books are made on a file and
// brought over this way.
#include <QString>

#include <functional>

namespace tk {

class PgConnection;

// Called after each table with its name and the rows it holds.
using CopyProgress = std::function<void(const QString &table, qint64 rows)>;

void copyDataFileToServer(const QString &path, PgConnection &db, const CopyProgress &progress = {});

} // namespace tk
