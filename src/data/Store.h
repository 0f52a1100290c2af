#pragma once
// The engine under the datasets. A dataset asks its store for the keys of its
// result, in the statement's order, and then for the rows of a window of keys;
// every write goes through the store too. Two stores: the embedded Data.dat
// (SQLite) and a PostgreSQL server shared by several desks.
//
// Statements are the program's own ("SELECT * FROM T [WHERE ...] [ORDER BY ...]",
// positional "?" or one named ":Name" parameter). Conditions that depend on the
// engine (Turkish prefix search, Turkish order) are asked of the store.
#include "Field.h"
#include "TurkishOrder.h" // Condition

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>
#include <vector>

namespace tk {

// What opening a statement gives: its columns and the key of every row, in
// order. A statement that is not "SELECT * FROM" one table cannot be written
// back: its keys are -1 and its rows come whole in `rows`.
struct KeyedResult {
    QVector<FieldDef> fields;
    std::vector<qint64> keys;
    std::vector<QByteArray> rows; // only for a statement that cannot be written back
    bool writable = true;
};

// A column's value that a save expects to find unchanged (compared with IS,
// so that empty values match).
struct ExpectedValue {
    QString column;
    QVariant value;
};

class Store {
public:
    virtual ~Store() = default;

    // "SQLite" or "PostgreSQL"; a place name for messages (file path or server).
    virtual QString engine() const = 0;
    virtual QString place() const = 0;

    // --- reading -----------------------------------------------------------
    virtual KeyedResult openKeys(const QString &table, const QString &sql, const QVariantList &params) = 0;
    // The columns `sql` gives, as openKeys would give them, without reading a
    // row; a table or column missing is refused as opening would refuse it.
    virtual QVector<FieldDef> describe(const QString &table, const QString &sql) = 0;
    // The rows of `keys[0..count)` of `table`, in that order, packed with
    // `fields`' columns (PackedRow.h). A key no longer in the table gives an
    // empty QByteArray in its place.
    virtual std::vector<QByteArray> readRows(const QString &table, const QVector<FieldDef> &fields,
                                             const qint64 *keys, int count) = 0;

    // --- writing -----------------------------------------------------------
    // Inserts a row and returns its key.
    virtual qint64 insertRow(const QString &table, const QStringList &columns, const QVariantList &values) = 0;
    // Writes `columns` of the row `key`. With `expected`, only while the row
    // still holds those values. Returns false when no row was written
    // (changed or deleted elsewhere).
    virtual bool updateRow(const QString &table, qint64 key, const QStringList &columns, const QVariantList &values,
                           const QVector<ExpectedValue> *expected = nullptr) = 0;
    // Returns false when the row was no longer there.
    virtual bool deleteRow(const QString &table, qint64 key) = 0;
    // Any statement with positional parameters; returns the rows changed.
    virtual int exec(const QString &sql, const QVariantList &params = {}) = 0;

    // --- other desks ---------------------------------------------------------
    // The tables other desks (other connections) wrote since the last call,
    // without waiting; "*" where the engine tells only that something
    // changed. The first call starts watching and answers nothing.
    virtual QStringList changedElsewhere() { return {}; }

    // --- the engine's dialect ------------------------------------------------
    // Rows whose `column` begins with `typed` as the Turkish LIKE does: "%"
    // and "_" stay wildcards, a backslash is an ordinary character.
    virtual Condition beginsWith(const QString &column, const QString &typed) const = 0;
    // An ORDER BY term sorting `column` in Turkish alphabetical order.
    virtual QString turkishOrder(const QString &column) const = 0;
};

} // namespace tk
