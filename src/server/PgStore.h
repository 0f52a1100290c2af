#pragma once
// The books on a PostgreSQL server, under the datasets. Rows are read in the
// server's binary form straight into packed rows: no cell passes through a
// QVariant on the way.
#include "PgConnection.h"
#include "data/Store.h"

namespace tk {

class PgStore : public Store {
public:
    // Connects to `address` ("postgresql://…") and refuses books of a
    // version this program does not know, bringing older ones forward.
    explicit PgStore(const QString &address);

    PgConnection &connection() { return m_db; }

    QString engine() const override { return QStringLiteral("PostgreSQL"); }
    QString place() const override { return m_db.place(); }

    KeyedResult openKeys(const QString &table, const QString &sql, const QVariantList &params) override;
    QVector<FieldDef> describe(const QString &table, const QString &sql) override;
    std::vector<QByteArray> readRows(const QString &table, const QVector<FieldDef> &fields, const qint64 *keys,
                                     int count) override;

    qint64 insertRow(const QString &table, const QStringList &columns, const QVariantList &values) override;
    bool updateRow(const QString &table, qint64 key, const QStringList &columns, const QVariantList &values,
                   const QVector<ExpectedValue> *expected = nullptr) override;
    bool deleteRow(const QString &table, qint64 key) override;
    int exec(const QString &sql, const QVariantList &params = {}) override;

    // The tables named by other desks' notifications (ServerNotify.h).
    QStringList changedElsewhere() override;

    Condition beginsWith(const QString &column, const QString &typed) const override;
    QString turkishOrder(const QString &column) const override;

private:
    PgConnection m_db;
    int m_listenPid = 0; // the server process listening for this desk; 0 before
};

} // namespace tk
