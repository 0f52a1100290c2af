#pragma once
// Turkish alphabetical order and prefix searches that an index can answer.
//
// The order key is an SQL expression made only of the engine's built-in
// replace() and NOCASE comparison: it folds a text so that its order is the
// Turkish alphabet (C < Ç < D, G < Ğ < H, I < İ < J, O < Ö < P, S < Ş < T,
// U < Ü < V) without regard to letter case by Turkish rules (i/İ, ı/I). The
// indexes on it need nothing of ours, so any SQLite reads, writes and checks
// the file.
//
// The expression is part of the file: changing the folding needs a schema
// step that makes the indexes again.
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

namespace tk {

// The folded text of `operand` (a column name or a parameter "?"),
// and the order key: the folded text compared with NOCASE.
QString turkishFold(const QString &operand);
QString turkishKey(const QString &operand);

// A column that is ordered or searched by its Turkish key, with the schema
// version whose step made its index.
struct KeyedColumn {
    const char *table;
    const char *column;
    int sinceVersion;
};
const QVector<KeyedColumn> &keyedColumns();
QString keyIndexName(const KeyedColumn &c);
// The statements making the key indexes that came with `version` (every one
// for 0: a new file).
QStringList createKeyIndexStatements(int version = 0);

// The longest beginning of `typed` that the key answers exactly: no LIKE
// wildcard, and only letters whose Turkish case partners share their key.
QString indexablePrefix(const QString &typed);

// WHERE condition (without the word) and its parameters matching the rows
// whose `column` begins with `typed` as the Turkish LIKE does ("%" and "_"
// keep their wildcard meaning). The key range narrows the rows through the
// index; LIKE keeps the exact meaning.
struct Condition {
    QString sql;
    QVariantList params;
};
Condition beginsWith(const QString &column, const QString &typed);

} // namespace tk
