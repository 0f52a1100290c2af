#include "SqliteFileTarget.h"

#include "core/Error.h"
#include "data/Connection.h"
#include "data/Schema.h"

#include <QMap>

#include <sqlite3.h>

namespace tk {

namespace {

QString quotedName(const QString &name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// Runs a statement and returns its rows, each cell as text.
QList<QStringList> query(Connection &db, const QString &sql)
{
    sqlite3_stmt *stmt = nullptr;
    db.check(sqlite3_prepare_v2(db.handle(), sql.toUtf8().constData(), -1, &stmt, nullptr));
    QList<QStringList> rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            row << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)));
        rows << row;
    }
    sqlite3_finalize(stmt);
    db.check(rc);
    return rows;
}

} // namespace

SqliteFileTarget::SqliteFileTarget(const QString &path)
{
    createDatabaseFile(path);
    m_connection = std::make_unique<Connection>(path);
}

SqliteFileTarget::~SqliteFileTarget() { close(); }

void SqliteFileTarget::close()
{
    finishStatement();
    m_connection.reset();
}

void SqliteFileTarget::finishStatement()
{
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
}

QVector<TargetTable> SqliteFileTarget::tables()
{
    QVector<TargetTable> tables;
    // sqlite_master keeps the order in which the schema creates the tables: the pages' order.
    const auto names = query(*m_connection, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                                          "AND substr(name, 1, 7) <> 'sqlite_' ORDER BY rowid"));
    for (const QStringList &name : names) {
        TargetTable table{name.first(), {}};
        for (const QStringList &column :
             query(*m_connection, QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(table.name))))
            table.columns << FieldDef{column.at(1), fieldKindFromDeclaredType(column.at(2))};
        tables << table;
    }
    return tables;
}

void SqliteFileTarget::begin()
{
    // Detail rows may come before their masters, and an old detail row may
    // have lost its master: keys are checked once, at the end, and reported.
    m_connection->exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
    m_connection->exec(QStringLiteral("BEGIN"));
}

void SqliteFileTarget::startTable(const TargetTable &table, const QVector<int> &columns)
{
    finishStatement();
    QStringList names, marks;
    for (int c : columns) {
        names << quotedName(table.columns.at(c).name);
        marks << QStringLiteral("?");
    }
    const QByteArray sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(quotedName(table.name), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')))
                               .toUtf8();
    m_connection->check(sqlite3_prepare_v2(m_connection->handle(), sql.constData(), int(sql.size()), &m_insert, nullptr));
    m_table = table.name;
}

void SqliteFileTarget::insert(const QVariantList &values)
{
    for (int i = 0; i < values.size(); ++i)
        detail::bindSqliteValue(m_insert, i + 1, values.at(i));
    const int rc = sqlite3_step(m_insert);
    sqlite3_reset(m_insert);
    if (rc != SQLITE_DONE)
        throw Error(QStringLiteral("'%1' tablosuna kayıt yazılamadı: %2")
                        .arg(m_table, QString::fromUtf8(sqlite3_errmsg(m_connection->handle()))));
}

QVector<TableCount> SqliteFileTarget::rowsWithoutMaster()
{
    finishStatement();
    QMap<QString, qint64> counts;
    for (const QStringList &row : query(*m_connection, QStringLiteral("PRAGMA foreign_key_check")))
        ++counts[row.first()];
    QVector<TableCount> result;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        result << TableCount{it.key(), it.value()};
    return result;
}

void SqliteFileTarget::commit()
{
    finishStatement();
    m_connection->exec(QStringLiteral("COMMIT"));
    m_connection->exec(QStringLiteral("PRAGMA foreign_keys=ON"));
}

void SqliteFileTarget::rollback()
{
    finishStatement();
    // Only ever called on the way out of a failed transfer whose file is then
    // thrown away: the transfer's own error is the one to report.
    if (m_connection)
        sqlite3_exec(m_connection->handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace tk
