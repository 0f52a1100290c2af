#pragma once
// The program's statements in the server's words: "?" and ":Name" markers
// become $1, $2, …; the file's Turkish order key becomes the column (sorted
// in the ICU Turkish collation); an ORDER BY keeps the file's place for empty values (first when
// ascending); a "SELECT * FROM T" reads keys and rows apart, ordered by the
// table's key after the program's own order.
#include <QString>

namespace tk {

struct ServerTable;

// Placeholders numbered from `first`; text in quotes is left alone.
QString serverPlaceholders(const QString &sql, int first = 1);

// The whole translation of a statement run as it is.
QString serverStatement(const QString &sql);

// "SELECT * FROM T [WHERE …] [ORDER BY …]" taken apart; empty table when the
// statement is of another form.
struct StarSelect {
    QString table;
    QString where; // from WHERE on, in the server's words
    QString order; // the terms after ORDER BY, in the server's words
};
StarSelect parseStarSelect(const QString &sql);

// The statement reading the keys of a StarSelect's rows, in their order.
QString serverKeysStatement(const StarSelect &s, const ServerTable &table);

} // namespace tk
