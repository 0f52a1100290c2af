#include "SqliteStore.h"

#include "PackedRow.h"

#include <QRegularExpression>
#include <sqlite3.h>

#include <unordered_map>

namespace tk {

struct SqliteStore::Prepared {
    sqlite3_stmt *stmt = nullptr;
    ~Prepared() { sqlite3_finalize(stmt); }
};

namespace {

void bindParameters(sqlite3_stmt *stmt, const QVariantList &params)
{
    for (int i = 0; i < params.size() && i < sqlite3_bind_parameter_count(stmt); ++i)
        detail::bindSqliteValue(stmt, i + 1, params[i]);
}

// A kept statement is left reset whatever happens while it runs: a statement
// left stepping would hold the file's read lock.
struct ResetAfter {
    sqlite3_stmt *stmt;
    ~ResetAfter() { sqlite3_reset(stmt); }
};

struct Statement {
    sqlite3_stmt *stmt = nullptr;
    Statement(Connection &c, const QString &sql)
    {
        if (!c.handle())
            throw DatabaseError(QStringLiteral("Veritabanı bağlantısı yok."));
        const QByteArray text = sql.toUtf8();
        c.check(sqlite3_prepare_v2(c.handle(), text.constData(), int(text.size()), &stmt, nullptr));
    }
    ~Statement() { sqlite3_finalize(stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    void bind(const QVariantList &params) { bindParameters(stmt, params); }
};

// "SELECT * FROM table ...": the statements whose rows can be written back.
const QRegularExpression &selectStar()
{
    static const QRegularExpression re(QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+(\\S+)"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

QString quoted(const QString &name) { return QLatin1Char('"') + name + QLatin1Char('"'); }

QByteArray packRow(sqlite3_stmt *stmt, int first)
{
    const int columns = sqlite3_column_count(stmt) - first;
    PackedRowWriter row(columns);
    for (int c = first; c < first + columns; ++c) {
        switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_INTEGER:
            row.addInt(sqlite3_column_int64(stmt, c));
            break;
        case SQLITE_FLOAT:
            row.addReal(sqlite3_column_double(stmt, c));
            break;
        case SQLITE_NULL:
            row.addNull();
            break;
        case SQLITE_BLOB:
            row.addBlob(static_cast<const char *>(sqlite3_column_blob(stmt, c)), sqlite3_column_bytes(stmt, c));
            break;
        default: {
            const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
            row.addText(text, sqlite3_column_bytes(stmt, c));
        }
        }
    }
    return row.take();
}

QVector<FieldDef> fieldsOf(sqlite3_stmt *stmt)
{
    QVector<FieldDef> fields;
    const int columns = sqlite3_column_count(stmt);
    for (int c = 0; c < columns; ++c) {
        const char *decl = sqlite3_column_decltype(stmt, c);
        fields.append({QString::fromUtf8(sqlite3_column_name(stmt, c)),
                       fieldKindFromDeclaredType(QString::fromUtf8(decl ? decl : "TEXT"))});
    }
    return fields;
}

// The plan of a statement, with "covering index" read as "index": the same
// index walked the same way gives the rows in the same order either way.
QString planOf(Connection &c, const QString &sql)
{
    Statement s(c, QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    QString plan;
    int rc;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW)
        plan += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(s.stmt, 3))) + QLatin1Char('\n');
    c.check(rc);
    return plan.replace(QStringLiteral("COVERING INDEX"), QStringLiteral("INDEX"));
}

} // namespace

SqliteStore::SqliteStore(std::unique_ptr<Connection> connection)
    : m_owned(std::move(connection)), m_connection(m_owned.get())
{
}

SqliteStore::SqliteStore(Connection &connection) : m_connection(&connection) {}

SqliteStore::~SqliteStore()
{
    // Statements go before the connection they were prepared on.
    qDeleteAll(m_prepared);
    m_prepared.clear();
}

QString SqliteStore::engine() const { return QStringLiteral("SQLite"); }
QString SqliteStore::place() const { return m_connection->filePath(); }

SqliteStore::Prepared &SqliteStore::prepared(const QString &sql)
{
    Prepared *&p = m_prepared[sql];
    if (!p) {
        Statement s(*m_connection, sql);
        p = new Prepared;
        std::swap(p->stmt, s.stmt);
    }
    return *p;
}

QString SqliteStore::keyStatement(const QString &sql)
{
    const auto known = m_keyStatements.constFind(sql);
    if (known != m_keyStatements.cend())
        return *known;
    const QRegularExpressionMatch m = selectStar().match(sql);
    const QString rest = sql.mid(m.capturedEnd(0) - m.capturedLength(1));
    const QString notIndexed =
        QStringLiteral("SELECT rowid FROM ") + m.captured(1) + QStringLiteral(" NOT INDEXED") + sql.mid(m.capturedEnd(0));
    if (sql.mid(m.capturedEnd(0)).trimmed().isEmpty()) {
        // The whole table, walked in its own order, as the whole statement walks it.
        m_keyStatements.insert(sql, notIndexed);
        return notIndexed;
    }
    const QString whole = QStringLiteral("SELECT rowid, * FROM ") + rest;
    // An index holds every key, so the engine may answer "SELECT rowid" from
    // any index, in that index's order, where the whole statement walks the
    // table: a key statement is taken only when its plan is the whole
    // statement's plan.
    const QString plan = planOf(*m_connection, whole);
    const QStringList candidates = {QStringLiteral("SELECT rowid FROM ") + rest, notIndexed};
    QString chosen = whole;
    for (const QString &candidate : candidates)
        if (planOf(*m_connection, candidate) == plan) {
            chosen = candidate;
            break;
        }
    m_keyStatements.insert(sql, chosen);
    return chosen;
}

qint64 SqliteStore::schemaVersion()
{
    sqlite3_stmt *version = prepared(QStringLiteral("PRAGMA schema_version")).stmt;
    const ResetAfter reset{version};
    m_connection->check(sqlite3_step(version));
    return sqlite3_column_int64(version, 0);
}

QVector<FieldDef> SqliteStore::fieldsOfStatement(const QString &sql, qint64 schema)
{
    // Preparing a search's statement costs more than stepping its keys at a
    // few thousand rows: its columns are kept while the schema stays.
    if (schema != m_fieldsSchema) {
        m_fields.clear();
        m_fieldsSchema = schema;
    }
    const auto known = m_fields.constFind(sql);
    if (known != m_fields.cend())
        return *known;
    const Statement whole(*m_connection, sql);
    const QVector<FieldDef> fields = fieldsOf(whole.stmt);
    m_fields.insert(sql, fields);
    return fields;
}

KeyedResult SqliteStore::openKeys(const QString &, const QString &sql, const QVariantList &params)
{
    KeyedResult result;
    result.writable = selectStar().match(sql).hasMatch();
    int rc;
    if (!result.writable) {
        Statement whole(*m_connection, sql);
        whole.bind(params);
        result.fields = fieldsOf(whole.stmt);
        while ((rc = sqlite3_step(whole.stmt)) == SQLITE_ROW) {
            result.keys.push_back(-1);
            result.rows.push_back(packRow(whole.stmt, 0));
        }
        m_connection->check(rc);
        return result;
    }
    // The version before the keys, the columns after them: stepping a
    // statement is what brings a schema changed elsewhere into this
    // connection, so columns read later are never older than the version.
    const qint64 schema = schemaVersion();
    {
        sqlite3_stmt *keys = prepared(keyStatement(sql)).stmt;
        const ResetAfter reset{keys};
        sqlite3_clear_bindings(keys);
        bindParameters(keys, params);
        while ((rc = sqlite3_step(keys)) == SQLITE_ROW)
            result.keys.push_back(sqlite3_column_int64(keys, 0));
        m_connection->check(rc);
    }
    result.fields = fieldsOfStatement(sql, schema);
    return result;
}

QVector<FieldDef> SqliteStore::describe(const QString &, const QString &sql)
{
    // Kept as the keys' columns are: the opening that follows prepares nothing again.
    return fieldsOfStatement(sql, schemaVersion());
}

std::vector<QByteArray> SqliteStore::readRows(const QString &table, const QVector<FieldDef> &fields,
                                              const qint64 *keys, int count)
{
    std::vector<QByteArray> rows(size_t(std::max(count, 0)));
    if (count <= 0)
        return rows;
    // A few statement sizes serve every window; unused places are NULL.
    const int places = count == 1 ? 1 : (count + 63) / 64 * 64;
    QStringList names;
    for (const FieldDef &f : fields)
        names << quoted(f.name);
    QString marks = QStringLiteral("?");
    marks.reserve(places * 2);
    for (int i = 1; i < places; ++i)
        marks += QStringLiteral(",?");
    Prepared &p = prepared(QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid IN (%3)")
                               .arg(names.join(QLatin1Char(',')), quoted(table), marks));
    sqlite3_stmt *stmt = p.stmt;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    std::unordered_map<qint64, int> where;
    where.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        sqlite3_bind_int64(stmt, i + 1, keys[i]);
        where.emplace(keys[i], i);
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const auto it = where.find(sqlite3_column_int64(stmt, 0));
        if (it != where.end())
            rows[size_t(it->second)] = packRow(stmt, 1);
    }
    sqlite3_reset(stmt);
    m_connection->check(rc);
    // A key asked for twice gets its row in every place.
    for (int i = 0; i < count; ++i)
        if (rows[size_t(i)].isEmpty())
            rows[size_t(i)] = rows[size_t(where[keys[i]])];
    return rows;
}

qint64 SqliteStore::insertRow(const QString &table, const QStringList &columns, const QVariantList &values)
{
    QStringList names, marks;
    for (const QString &c : columns) {
        names << quoted(c);
        marks << QStringLiteral("?");
    }
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table))
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quoted(table), names.join(','), marks.join(','));
    m_connection->exec(sql, values);
    return sqlite3_last_insert_rowid(m_connection->handle());
}

bool SqliteStore::updateRow(const QString &table, qint64 key, const QStringList &columns, const QVariantList &values,
                            const QVector<ExpectedValue> *expected)
{
    if (columns.isEmpty())
        return true;
    QStringList sets;
    for (const QString &c : columns)
        sets << quoted(c) + QStringLiteral("=?");
    QVariantList params = values;
    params << key;
    QString where = QStringLiteral("rowid=?");
    if (expected)
        for (const ExpectedValue &e : *expected) {
            where += QStringLiteral(" AND %1 IS ?").arg(quoted(e.column));
            params << e.value;
        }
    // Prepared once per table and columns: a desk saving row after row, and
    // the check of every column a save makes, cost no parsing.
    sqlite3_stmt *stmt = prepared(QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(quoted(table), sets.join(','), where)).stmt;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    for (int i = 0; i < params.size(); ++i)
        detail::bindSqliteValue(stmt, i + 1, params[i]);
    const int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    m_connection->check(rc);
    return sqlite3_changes(m_connection->handle()) > 0;
}

bool SqliteStore::deleteRow(const QString &table, qint64 key)
{
    return m_connection->exec(QStringLiteral("DELETE FROM %1 WHERE rowid=?").arg(quoted(table)), {key}) > 0;
}

int SqliteStore::exec(const QString &sql, const QVariantList &params) { return m_connection->exec(sql, params); }

QStringList SqliteStore::changedElsewhere()
{
    sqlite3_stmt *stmt = prepared(QStringLiteral("PRAGMA data_version")).stmt;
    const int rc = sqlite3_step(stmt);
    const qint64 version = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : m_dataVersion;
    sqlite3_reset(stmt);
    m_connection->check(rc);
    const bool changed = m_dataVersion >= 0 && version != m_dataVersion;
    m_dataVersion = version;
    return changed ? QStringList{QStringLiteral("*")} : QStringList{};
}

Condition SqliteStore::beginsWith(const QString &column, const QString &typed) const
{
    return tk::beginsWith(column, typed);
}

QString SqliteStore::turkishOrder(const QString &column) const { return turkishKey(column); }

} // namespace tk
