#include "PgStore.h"

#include "PgStatement.h"
#include "ServerNotify.h"
#include "ServerSchema.h"
#include "data/PackedRow.h"
#include "data/TurkishOrder.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QtEndian>

#include <libpq-fe.h>

#include <cstring>

namespace tk {

namespace {

// Type ids of the server's built-in types (pg_type.oid; fixed since ever).
enum : Oid {
    BoolOid = 16, Int8Oid = 20, Int2Oid = 21, Int4Oid = 23, TextOid = 25, Float4Oid = 700,
    Float8Oid = 701, VarcharOid = 1043, DateOid = 1082, NumericOid = 1700,
};

const ServerTable &knownTable(const QString &name)
{
    if (const ServerTable *t = serverTable(name))
        return *t;
    throw DatabaseError(QStringLiteral("no such table: %1").arg(name));
}

template <typename T> T bigEndian(const char *p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return qFromBigEndian(v);
}

// One cell of a binary result into the row being packed.
void packBinary(PackedRowWriter &w, const PgResult &r, int row, int column, Oid type)
{
    if (r.isNull(row, column)) {
        w.addNull();
        return;
    }
    const char *p = r.value(row, column);
    switch (type) {
    case Int8Oid:
        w.addInt(bigEndian<qint64>(p));
        break;
    case Int4Oid:
        w.addInt(bigEndian<qint32>(p));
        break;
    case Int2Oid:
        w.addInt(bigEndian<qint16>(p));
        break;
    case BoolOid:
        w.addInt(p[0] ? 1 : 0);
        break;
    case Float8Oid: {
        const quint64 bits = bigEndian<quint64>(p);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        w.addReal(d);
        break;
    }
    case Float4Oid: {
        const quint32 bits = bigEndian<quint32>(p);
        float f;
        std::memcpy(&f, &bits, sizeof f);
        w.addReal(f);
        break;
    }
    case DateOid: {
        // days since 2000-01-01; the file keeps ISO text
        const QByteArray iso = QDate(2000, 1, 1).addDays(bigEndian<qint32>(p)).toString(Qt::ISODate).toLatin1();
        w.addText(iso.constData(), iso.size());
        break;
    }
    default: // text, varchar: UTF-8 as it is
        w.addText(p, r.length(row, column));
    }
}

// A cell of a text result (statements of any form: sums and the like).
void packText(PackedRowWriter &w, const PgResult &r, int row, int column, Oid type)
{
    if (r.isNull(row, column)) {
        w.addNull();
        return;
    }
    const QByteArray v(r.value(row, column), r.length(row, column));
    switch (type) {
    case Int8Oid:
    case Int4Oid:
    case Int2Oid:
        w.addInt(v.toLongLong());
        break;
    case BoolOid:
        w.addInt(v == "t" ? 1 : 0);
        break;
    case Float4Oid:
    case Float8Oid:
    case NumericOid:
        w.addReal(v.toDouble());
        break;
    default:
        w.addText(v.constData(), v.size());
    }
}

FieldKind kindOfType(Oid type)
{
    switch (type) {
    case Int8Oid:
    case Int4Oid:
    case Int2Oid:
        return FieldKind::Integer;
    case BoolOid:
        return FieldKind::Boolean;
    case Float4Oid:
    case Float8Oid:
    case NumericOid:
        return FieldKind::Real;
    case DateOid:
        return FieldKind::Date;
    default:
        return FieldKind::Text;
    }
}

// A result column's name as the program spells it (the server folds
// unquoted names to lower case).
QString programName(const QString &serverName)
{
    for (const ServerTable &t : serverTables())
        for (const ServerColumn &c : t.columns)
            if (c.name.compare(serverName, Qt::CaseInsensitive) == 0)
                return c.name;
    return serverName;
}

QString keyArray(const qint64 *keys, int count)
{
    QString a = QStringLiteral("{");
    for (int i = 0; i < count; ++i) {
        if (i)
            a += QLatin1Char(',');
        a += QString::number(keys[i]);
    }
    return a + QLatin1Char('}');
}

// The table of "SELECT * FROM `table` …", whose rows are read by key and
// written back; null for any other statement.
const ServerTable *writtenBack(const StarSelect &star, const QString &table)
{
    const ServerTable *t = star.table.isEmpty() ? nullptr : serverTable(star.table);
    return t && t->name.compare(table, Qt::CaseInsensitive) == 0 ? t : nullptr;
}

} // namespace

PgStore::PgStore(const QString &address) : m_db(address) { upgradeServerSchema(m_db); }

KeyedResult PgStore::openKeys(const QString &table, const QString &sql, const QVariantList &params)
{
    KeyedResult result;
    const StarSelect star = parseStarSelect(sql);
    if (const ServerTable *t = writtenBack(star, table)) {
        result.fields = t->fields();
        // A LIKE finds its rows through the index only for a pattern it
        // knows: a search is planned for each typed text, where a prepared
        // statement's plan for any text would read the whole table.
        const QString keys = serverKeysStatement(star, *t);
        const PgResult r = star.where.contains(QLatin1String(" LIKE "), Qt::CaseInsensitive)
            ? m_db.exec(keys, params, PgConnection::Binary)
            : m_db.execPrepared(keys, params, PgConnection::Binary);
        result.keys.reserve(size_t(r.rows()));
        for (int i = 0; i < r.rows(); ++i)
            result.keys.push_back(bigEndian<qint64>(r.value(i, 0)));
        return result;
    }
    // Any other statement is read whole and cannot be written back.
    result.writable = false;
    const PgResult r = m_db.exec(serverStatement(sql), params, PgConnection::Text);
    const int columns = r.columns();
    QVector<Oid> types;
    for (int c = 0; c < columns; ++c) {
        types.append(PQftype(r.get(), c));
        result.fields.append({programName(QString::fromUtf8(PQfname(r.get(), c))), kindOfType(types.last())});
    }
    result.keys.assign(size_t(r.rows()), -1);
    result.rows.reserve(size_t(r.rows()));
    PackedRowWriter w(columns);
    for (int i = 0; i < r.rows(); ++i) {
        for (int c = 0; c < columns; ++c)
            packText(w, r, i, c, types[c]);
        result.rows.push_back(w.take());
    }
    return result;
}

QVector<FieldDef> PgStore::describe(const QString &table, const QString &sql)
{
    if (const ServerTable *t = writtenBack(parseStarSelect(sql), table))
        return t->fields();
    // Another statement's columns are the server's to say: it is run once,
    // its parameters empty.
    static const QRegularExpression place(QStringLiteral("\\$(\\d+)"));
    int places = 0;
    for (const QRegularExpressionMatch &m : place.globalMatch(serverStatement(sql)))
        places = std::max(places, m.captured(1).toInt());
    QVariantList nulls;
    for (int i = 0; i < places; ++i)
        nulls << QVariant();
    return openKeys(table, sql, nulls).fields;
}

std::vector<QByteArray> PgStore::readRows(const QString &table, const QVector<FieldDef> &fields, const qint64 *keys,
                                          int count)
{
    const ServerTable &t = knownTable(table);
    std::vector<QByteArray> rows(size_t(count > 0 ? count : 0));
    if (count <= 0)
        return rows;
    QStringList names = {t.key};
    for (const FieldDef &f : fields)
        names << f.name;
    const PgResult r = m_db.execPrepared(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ANY($1::bigint[])")
                                     .arg(names.join(QLatin1Char(',')), t.name, t.key),
                                 {keyArray(keys, count)}, PgConnection::Binary);
    const int columns = int(fields.size());
    QVector<Oid> types;
    for (int c = 0; c <= columns; ++c)
        types.append(PQftype(r.get(), c));
    QHash<qint64, QByteArray> byKey;
    byKey.reserve(r.rows());
    PackedRowWriter w(columns);
    for (int i = 0; i < r.rows(); ++i) {
        for (int c = 1; c <= columns; ++c)
            packBinary(w, r, i, c, types[c]);
        byKey.insert(bigEndian<qint64>(r.value(i, 0)), w.take());
    }
    for (int i = 0; i < count; ++i)
        rows[size_t(i)] = byKey.value(keys[i]);
    return rows;
}

qint64 PgStore::insertRow(const QString &table, const QStringList &columns, const QVariantList &values)
{
    const ServerTable &t = knownTable(table);
    QStringList names, marks;
    QVariantList params;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        // an empty key is the server's to give, as the file's engine does
        if (columns[i].compare(t.key, Qt::CaseInsensitive) == 0 && values.value(i).isNull())
            continue;
        names << columns[i];
        params << values.value(i);
        marks << QLatin1Char('$') + QString::number(params.size());
    }
    const QString sql = names.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2").arg(t.name, t.key)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
              .arg(t.name, names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')), t.key);
    const PgResult r = m_db.execPrepared(sql, params);
    return QByteArray(r.value(0, 0)).toLongLong();
}

bool PgStore::updateRow(const QString &table, qint64 key, const QStringList &columns, const QVariantList &values,
                        const QVector<ExpectedValue> *expected)
{
    const ServerTable &t = knownTable(table);
    QStringList sets;
    QVariantList params;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        params << values.value(i);
        sets << QStringLiteral("%1=$%2").arg(columns[i]).arg(params.size());
    }
    if (sets.isEmpty())
        sets << QStringLiteral("%1=%1").arg(t.key); // nothing to write: only whether the row is still there
    params << key;
    QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3=$%4")
                      .arg(t.name, sets.join(QLatin1Char(',')), t.key)
                      .arg(params.size());
    if (expected)
        for (const ExpectedValue &e : *expected) {
            params << e.value;
            sql += QStringLiteral(" AND %1 IS NOT DISTINCT FROM $%2").arg(e.column).arg(params.size());
        }
    return m_db.execPrepared(sql, params).changed() > 0;
}

bool PgStore::deleteRow(const QString &table, qint64 key)
{
    const ServerTable &t = knownTable(table);
    return m_db.execPrepared(QStringLiteral("DELETE FROM %1 WHERE %2=$1").arg(t.name, t.key), {key}).changed() > 0;
}

int PgStore::exec(const QString &sql, const QVariantList &params)
{
    return m_db.exec(serverStatement(sql), params).changed();
}

QStringList PgStore::changedElsewhere()
{
    // A connection made anew (after the server went away) listens no more
    // and may have missed writes: listen again and reload everything. The
    // look runs on the window's timer, so it never waits long for the server.
    m_db.reconnectIfLostWithin(200);
    if (PQbackendPID(m_db.handle()) != m_listenPid) {
        const bool again = m_listenPid != 0;
        m_db.run(QStringLiteral("LISTEN %1").arg(QLatin1String(changeChannel)));
        m_listenPid = PQbackendPID(m_db.handle());
        return again ? QStringList{QStringLiteral("*")} : QStringList{};
    }
    pg_conn *conn = m_db.handle();
    if (!PQconsumeInput(conn))
        throw DatabaseError(QStringLiteral("PostgreSQL sunucusuyla bağlantı kesildi: %1\n%2")
                                .arg(QString::fromUtf8(PQerrorMessage(conn)).trimmed(), place()));
    QStringList tables;
    const int self = PQbackendPID(conn);
    while (PGnotify *n = PQnotifies(conn)) {
        const QString table = QString::fromUtf8(n->extra);
        if (n->be_pid != self && !tables.contains(table))
            tables << table;
        PQfreemem(n);
    }
    return tables;
}

Condition PgStore::beginsWith(const QString &column, const QString &typed) const
{
    if (typed.isEmpty()) // as on the file: every row with a value
        return tk::beginsWith(column, typed);
    // Both sides folded by Turkish rules; "%" and "_" stay wildcards and a
    // backslash is an ordinary character, as LIKE on the file. The folded
    // column has an index for the prefix.
    const QString collation = QLatin1String(serverTextCollation);
    return {QStringLiteral("lower(%1 COLLATE %2) LIKE lower(?::text COLLATE %2) ESCAPE ''").arg(column, collation),
            {typed + QLatin1Char('%')}};
}

QString PgStore::turkishOrder(const QString &column) const
{
    // Every text column sorts in the Turkish collation already; the bare
    // column lets the server read the order from its index.
    return column;
}

} // namespace tk
