#pragma once
// The store of the embedded Data.dat: the statements run on the raw SQLite
// handle of a Connection, and the lookups of row windows stay prepared.
#include "Connection.h"
#include "Store.h"

#include <QHash>
#include <memory>

namespace tk {

class SqliteStore : public Store {
public:
    // Owns `connection`.
    explicit SqliteStore(std::unique_ptr<Connection> connection);
    // Works on a connection owned elsewhere, which must outlive the store.
    explicit SqliteStore(Connection &connection);
    ~SqliteStore() override;
    SqliteStore(const SqliteStore &) = delete;
    SqliteStore &operator=(const SqliteStore &) = delete;

    Connection &connection() const { return *m_connection; }

    QString engine() const override;
    QString place() const override;

    KeyedResult openKeys(const QString &table, const QString &sql, const QVariantList &params) override;
    QVector<FieldDef> describe(const QString &table, const QString &sql) override;
    std::vector<QByteArray> readRows(const QString &table, const QVector<FieldDef> &fields, const qint64 *keys,
                                     int count) override;

    qint64 insertRow(const QString &table, const QStringList &columns, const QVariantList &values) override;
    bool updateRow(const QString &table, qint64 key, const QStringList &columns, const QVariantList &values,
                   const QVector<ExpectedValue> *expected = nullptr) override;
    bool deleteRow(const QString &table, qint64 key) override;
    int exec(const QString &sql, const QVariantList &params = {}) override;

    // The file's data_version moves with every commit of another connection.
    QStringList changedElsewhere() override;

    Condition beginsWith(const QString &column, const QString &typed) const override;
    QString turkishOrder(const QString &column) const override;

    // The statement that reads the keys of `sql` ("SELECT * FROM table ...")
    // in the order the statement itself returns its rows.
    QString keyStatement(const QString &sql);

private:
    struct Prepared;
    Prepared &prepared(const QString &sql);

    std::unique_ptr<Connection> m_owned;
    Connection *m_connection;
    // Window lookups, prepared once per table, columns and window size.
    QHash<QString, Prepared *> m_prepared;
    QHash<QString, QString> m_keyStatements; // by statement
    qint64 m_dataVersion = -1;               // as last seen; -1 before watching
};

} // namespace tk
