#pragma once
// Every row of a Data.dat into the program's (empty) tables on a server, in
// one transaction, keys kept: a master's SiraNo, a detail's row id as its
// Anahtar. Afterwards each key counter on the server continues past the
// largest key. Sample books and measurement books are made on a file and
// brought over this way.
#include <QString>

namespace tk {

class PgConnection;

void copyDataFileToServer(const QString &path, PgConnection &db);

} // namespace tk
