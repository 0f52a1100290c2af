#pragma once
// A new database file with today's tables as the target of a transfer.
#include "RecordTarget.h"

#include <memory>

struct sqlite3_stmt;

namespace tk {

class Connection;

class SqliteFileTarget : public RecordTarget {
public:
    // Makes `path` (which must not exist) with today's tables and opens it.
    explicit SqliteFileTarget(const QString &path);
    ~SqliteFileTarget() override;

    QVector<TargetTable> tables() override;
    void begin() override;
    void startTable(const TargetTable &table, const QVector<int> &columns) override;
    void insert(const QVariantList &values) override;
    QVector<TableCount> rowsWithoutMaster() override;
    void commit() override;
    void rollback() override;

    // Closes the file, so that it can be moved.
    void close();

private:
    void finishStatement();

    std::unique_ptr<Connection> m_connection;
    sqlite3_stmt *m_insert = nullptr;
    QString m_table;
};

} // namespace tk
