#include "Dataset.h"

#include "ListOrder.h"
#include "PackedRow.h"

#include <QRegularExpression>
#include <algorithm>
#include <utility>
#include <sqlite3.h>

namespace tk {

namespace detail {
void bindSqliteValue(sqlite3_stmt *stmt, int index, const QVariant &v);
}

namespace {

struct Statement {
    sqlite3_stmt *stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

// "SELECT * FROM ..." read with the row id in front, so that rows can be written back.
const QRegularExpression &selectStar()
{
    static const QRegularExpression re(QStringLiteral("^\\s*select\\s+\\*\\s+from\\s+"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

} // namespace

Dataset::Dataset(Connection *connection, const QString &name, const QString &table, const QString &sql, QObject *parent)
    : QObject(parent), m_connection(connection), m_table(table), m_sql(sql)
{
    setObjectName(name);
}

Dataset::~Dataset() = default;

void Dataset::detachConnection()
{
    m_pending.clear();
    m_rows.clear();
    m_rowIds.clear();
    m_current = -1;
    m_insertRow = -1;
    m_modified = false;
    m_connection = nullptr;
    m_bof = m_eof = true;
    setState(State::Inactive);
    emit rowsReset();
    emit currentChanged(-1);
}

void Dataset::setSql(const QString &sql, const QVariantList &params)
{
    close();
    m_sql = sql;
    m_params = params;
    open();
}

void Dataset::setSortOrder(const QString &orderByTerm)
{
    if (orderByTerm == m_sortOrder)
        return;
    if (isOpen()) {
        settleDetails();
        checkBrowseMode();
        const qint64 key = m_current >= 0 && m_current < int(m_rowIds.size()) ? m_rowIds[m_current] : -1;
        // A term the engine refuses leaves the rows and their order as they were.
        const QString previous = std::exchange(m_sortOrder, orderByTerm);
        try {
            load();
        } catch (...) {
            m_sortOrder = previous;
            throw;
        }
        const auto found = std::find(m_rowIds.begin(), m_rowIds.end(), key);
        if (key >= 0 && found != m_rowIds.end() && found != m_rowIds.begin()) {
            m_bof = false;
            setCurrent(int(found - m_rowIds.begin()));
        }
    } else {
        m_sortOrder = orderByTerm;
    }
    emit sortOrderChanged(orderByTerm);
}

void Dataset::open()
{
    if (isOpen())
        return;
    load();
}

void Dataset::close()
{
    if (!isOpen())
        return;
    m_pending.clear();
    m_modified = false;
    m_insertRow = -1;
    m_rows.clear();
    m_rowIds.clear();
    m_current = -1;
    m_bof = m_eof = true;
    setState(State::Inactive);
    emit rowsReset();
    emit currentChanged(-1);
}

void Dataset::refresh()
{
    requireOpen("refresh");
    settleDetails();
    checkBrowseMode();
    const int keep = m_current;
    load();
    if (keep > 0 && !m_rows.empty()) {
        m_current = std::min<int>(keep, int(m_rows.size()) - 1);
        emit currentChanged(m_current);
    }
}

void Dataset::load()
{
    if (!m_connection || !m_connection->handle())
        throw DatabaseError(QStringLiteral("Veritabanı bağlantısı yok."));
    sqlite3 *db = m_connection->handle();
    QString sql = withOrderBy(m_sql, m_sortOrder);
    const bool writable = selectStar().match(sql).hasMatch();
    if (writable)
        sql.replace(selectStar(), QStringLiteral("SELECT rowid, * FROM "));
    const int first = writable ? 1 : 0;

    Statement s;
    const QByteArray text = sql.toUtf8();
    m_connection->check(sqlite3_prepare_v2(db, text.constData(), int(text.size()), &s.stmt, nullptr));
    for (int i = 0; i < m_params.size() && i < sqlite3_bind_parameter_count(s.stmt); ++i)
        detail::bindSqliteValue(s.stmt, i + 1, m_params[i]);

    QVector<FieldDef> fields;
    const int columns = sqlite3_column_count(s.stmt);
    for (int c = first; c < columns; ++c) {
        const char *decl = sqlite3_column_decltype(s.stmt, c);
        fields.append({QString::fromUtf8(sqlite3_column_name(s.stmt, c)),
                       fieldKindFromDeclaredType(QString::fromUtf8(decl ? decl : "TEXT"))});
    }

    m_fields = fields;
    std::vector<QByteArray> rows;
    std::vector<qint64> ids;
    int rc;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        ids.push_back(writable ? sqlite3_column_int64(s.stmt, 0) : -1);
        rows.push_back(readRow(s.stmt));
    }
    m_connection->check(rc);

    m_rows = std::move(rows);
    m_rowIds = std::move(ids);
    m_pending.clear();
    m_modified = false;
    m_insertRow = -1;
    m_current = m_rows.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.empty();
    m_state = State::Browse;
    emit rowsReset();
    emit stateChanged(m_state);
    emit currentChanged(m_current);
}

QByteArray Dataset::readRow(void *statement) const
{
    auto *stmt = static_cast<sqlite3_stmt *>(statement);
    const int first = sqlite3_column_count(stmt) - int(m_fields.isEmpty() ? 0 : m_fields.size());
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

int Dataset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

FieldKind Dataset::fieldKind(const QString &name) const
{
    const int i = fieldIndex(name);
    return i < 0 ? FieldKind::Text : m_fields[i].kind;
}

int Dataset::checkedField(const QString &field) const
{
    const int i = fieldIndex(field);
    if (i < 0)
        throw DatabaseError(QStringLiteral("%1: '%2' alanı bulunamadı.").arg(objectName(), field));
    return i;
}

void Dataset::requireOpen(const char *what) const
{
    if (!isOpen())
        throw DatabaseError(QStringLiteral("%1: Kapalı veri kümesinde bu işlem yapılamaz (%2).")
                                .arg(objectName(), QString::fromLatin1(what)));
}

int Dataset::rowCount() const { return int(m_rows.size()); }

void Dataset::setState(State s)
{
    if (m_state == s)
        return;
    m_state = s;
    emit stateChanged(s);
}

void Dataset::setCurrent(int row)
{
    m_current = row;
    emit currentChanged(row);
}

void Dataset::first()
{
    requireOpen("first");
    settleDetails();
    checkBrowseMode();
    m_bof = true;
    m_eof = m_rows.empty();
    setCurrent(m_rows.empty() ? -1 : 0);
}

void Dataset::last()
{
    requireOpen("last");
    settleDetails();
    checkBrowseMode();
    m_eof = true;
    m_bof = m_rows.empty();
    setCurrent(int(m_rows.size()) - 1);
}

void Dataset::next() { moveBy(1); }
void Dataset::prior() { moveBy(-1); }

int Dataset::moveBy(int distance)
{
    requireOpen("move");
    if (distance == 0)
        return 0;
    settleDetails();
    checkBrowseMode();
    const int n = int(m_rows.size());
    if (n == 0) {
        m_bof = m_eof = true;
        return 0;
    }
    const int target = std::clamp(m_current + distance, 0, n - 1);
    const int moved = target - m_current;
    if (distance > 0) {
        m_bof = false;
        m_eof = moved < distance;
    } else {
        m_eof = false;
        m_bof = moved > distance;
    }
    if (moved != 0)
        setCurrent(target);
    return moved;
}

void Dataset::moveTo(int row) { moveBy(row - m_current); }

QVariant Dataset::storedValue(int row, int column) const
{
    if (row < 0 || row >= int(m_rows.size()) || column < 0 || column >= m_fields.size())
        return {};
    return packedCell(m_rows[size_t(row)], int(m_fields.size()), column);
}

QVariant Dataset::pendingValue(int column) const
{
    const Pending &p = *m_pending[column];
    if (!p.isText)
        return p.value;
    try {
        return parseFieldText(m_fields[column].kind, p.text);
    } catch (const Error &) {
        return p.text; // not yet valid: read back as typed until the save refuses it
    }
}

QVariant Dataset::value(const QString &field) const
{
    const int c = fieldIndex(field);
    if (c < 0 || m_current < 0)
        return {};
    if (isEditing() && c < m_pending.size() && m_pending[c])
        return pendingValue(c);
    return storedValue(m_current, c);
}

QString Dataset::text(const QString &field) const
{
    const int c = fieldIndex(field);
    if (c < 0 || m_current < 0)
        return {};
    return textAt(m_current, c);
}

bool Dataset::isNull(const QString &field) const
{
    const QVariant v = value(field);
    return !v.isValid() || v.isNull();
}

double Dataset::asDouble(const QString &field) const
{
    const QVariant v = value(field);
    if (!v.isValid() || v.isNull())
        return 0.0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' geçerli bir sayı değil.").arg(v.toString()));
    return d;
}

QVariant Dataset::valueAt(int row, int column) const
{
    if (row == m_current && isEditing() && column >= 0 && column < m_pending.size() && m_pending[column])
        return pendingValue(column);
    return storedValue(row, column);
}

QString Dataset::textAt(int row, int column) const
{
    if (row == m_current && isEditing() && column >= 0 && column < m_pending.size() && m_pending[column]) {
        const Pending &p = *m_pending[column];
        return p.isText ? p.text : fieldDisplayText(m_fields[column].kind, p.value);
    }
    if (column < 0 || column >= m_fields.size())
        return {};
    return fieldDisplayText(m_fields[column].kind, storedValue(row, column));
}

void Dataset::edit()
{
    requireOpen("edit");
    if (isEditing())
        return;
    if (m_rows.empty()) {
        append();
        return;
    }
    if (m_rowIds[size_t(m_current)] < 0)
        throw DatabaseError(QStringLiteral("%1: Bu veri kümesi değiştirilemez.").arg(objectName()));
    m_pending = QVector<std::optional<Pending>>(m_fields.size());
    m_modified = false;
    setState(State::Edit);
}

void Dataset::append()
{
    requireOpen("append");
    settleDetails();
    checkBrowseMode();
    QVariant link;
    if (m_master) {
        link = m_master->value(m_linkField);
        if (link.isNull())
            throw Error(QStringLiteral("Önce ana kaydı kaydedin."));
    }
    // An all-null row stands for the new row until it is saved or dropped.
    const int columns = int(m_fields.size());
    const QByteArray empty = packedNullRow(columns);
    m_insertRow = int(m_rows.size());
    m_rows.push_back(empty);
    m_rowIds.push_back(-1);
    m_pending = QVector<std::optional<Pending>>(columns);
    // A yes/no field starts as no, as its unticked check box shows, never as null.
    for (int c = 0; c < columns; ++c)
        if (m_fields[c].kind == FieldKind::Boolean)
            m_pending[c] = Pending{false, {}, false};
    if (m_master) {
        const int c = fieldIndex(m_linkField);
        if (c >= 0)
            m_pending[c] = Pending{false, {}, link};
    }
    m_modified = false; // the stamped key and the defaults alone are no change of the user's
    m_bof = m_eof = false;
    emit rowInserted(m_insertRow);
    setState(State::Insert);
    setCurrent(m_insertRow);
}

void Dataset::setValue(const QString &field, const QVariant &value)
{
    requireOpen("set");
    const int c = checkedField(field);
    if (!isEditing())
        edit();
    m_pending[c] = Pending{false, {}, value};
    m_modified = true;
    emit fieldChanged(m_fields[c].name);
    emit rowUpdated(m_current);
}

void Dataset::setText(const QString &field, const QString &text)
{
    requireOpen("set");
    const int c = checkedField(field);
    if (!isEditing())
        edit();
    m_pending[c] = Pending{true, text, {}};
    m_modified = true;
    emit fieldChanged(m_fields[c].name);
    emit rowUpdated(m_current);
}

void Dataset::post()
{
    requireOpen("post");
    if (!isEditing())
        return;
    settleDetails();
    if (beforePost)
        beforePost(*this);
    writeRow();
    const int row = m_current;
    m_pending.clear();
    m_modified = false;
    m_insertRow = -1;
    setState(State::Browse);
    emit rowUpdated(row);
    emit currentChanged(row);
    emit tableWritten();
    if (afterPost)
        afterPost(*this);
}

void Dataset::writeRow()
{
    // Parse every typed value first: a refused value leaves the row in editing as typed.
    QStringList columns;
    QVariantList values;
    for (int c = 0; c < m_fields.size(); ++c) {
        if (!m_pending[c])
            continue;
        const Pending &p = *m_pending[c];
        const QVariant v = p.isText ? parseFieldText(m_fields[c].kind, p.text) : p.value;
        columns << m_fields[c].name;
        values << storageValue(m_fields[c].kind, v);
    }
    sqlite3 *db = m_connection ? m_connection->handle() : nullptr;
    if (!db)
        throw DatabaseError(QStringLiteral("Veritabanı bağlantısı yok."));

    qint64 rowId = m_rowIds[size_t(m_current)];
    const QString quotedTable = QLatin1Char('"') + m_table + QLatin1Char('"');
    if (m_state == State::Insert) {
        QStringList names, marks;
        for (const QString &c : columns) {
            names << QLatin1Char('"') + c + QLatin1Char('"');
            marks << QStringLiteral("?");
        }
        const QString sql = columns.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quotedTable)
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(quotedTable, names.join(','), marks.join(','));
        m_connection->exec(sql, values);
        rowId = sqlite3_last_insert_rowid(db);
    } else if (!columns.isEmpty()) {
        QStringList sets;
        for (const QString &c : columns)
            sets << QLatin1Char('"') + c + QStringLiteral("\"=?");
        values << rowId;
        m_connection->exec(QStringLiteral("UPDATE %1 SET %2 WHERE rowid=?").arg(quotedTable, sets.join(',')), values);
    }

    // Read the row back as the database holds it (assigned key, defaults, conversions).
    QStringList names;
    for (const FieldDef &f : std::as_const(m_fields))
        names << QLatin1Char('"') + f.name + QLatin1Char('"');
    Statement s;
    const QByteArray sql = QStringLiteral("SELECT %1 FROM %2 WHERE rowid=?").arg(names.join(','), quotedTable).toUtf8();
    m_connection->check(sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &s.stmt, nullptr));
    sqlite3_bind_int64(s.stmt, 1, rowId);
    const int rc = sqlite3_step(s.stmt);
    m_connection->check(rc);
    if (rc == SQLITE_ROW)
        m_rows[size_t(m_current)] = readRow(s.stmt);
    m_rowIds[size_t(m_current)] = rowId;
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    m_pending.clear();
    m_modified = false;
    if (m_state == State::Insert) {
        const int row = m_insertRow;
        m_insertRow = -1;
        m_rows.erase(m_rows.begin() + row);
        m_rowIds.erase(m_rowIds.begin() + row);
        emit rowRemoved(row);
        setState(State::Browse);
        const int n = int(m_rows.size());
        m_bof = n == 0;
        m_eof = n == 0;
        setCurrent(n == 0 ? -1 : std::min(row, n - 1));
        return;
    }
    setState(State::Browse);
    emit rowUpdated(m_current);
    emit currentChanged(m_current);
}

void Dataset::remove()
{
    requireOpen("delete");
    settleDetails();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_rows.empty())
        throw DatabaseError(QStringLiteral("Boş bir veri kümesinde bu işlem yapılamaz."));
    if (m_state == State::Edit)
        cancel();
    const int row = m_current;
    const qint64 id = m_rowIds[size_t(row)];
    if (id < 0)
        throw DatabaseError(QStringLiteral("%1: Bu veri kümesi değiştirilemez.").arg(objectName()));
    m_connection->exec(QStringLiteral("DELETE FROM \"%1\" WHERE rowid=?").arg(m_table), {id});
    m_rows.erase(m_rows.begin() + row);
    m_rowIds.erase(m_rowIds.begin() + row);
    emit rowRemoved(row);
    emit tableWritten();
    const int n = int(m_rows.size());
    m_bof = n == 0;
    m_eof = n == 0;
    setCurrent(n == 0 ? -1 : std::min(row, n - 1));
}

void Dataset::settleDetails()
{
    // Details save or drop their own edits here, before the master moves, so
    // that an error surfaces from this call rather than from inside a signal.
    for (const QPointer<Dataset> &d : std::as_const(m_details))
        if (d)
            d->checkBrowseMode();
}

void Dataset::checkBrowseMode()
{
    if (!isEditing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void Dataset::setMaster(Dataset *master, const QString &linkField)
{
    if (m_masterLink)
        disconnect(m_masterLink);
    m_master = master;
    m_linkField = linkField;
    if (master) {
        master->m_details.append(this);
        m_masterLink = connect(master, &Dataset::currentChanged, this, [this] { masterMoved(); });
    }
}

void Dataset::masterMoved()
{
    if (!m_master || !m_connection)
        return;
    if (!m_master->isOpen()) {
        close();
        return;
    }
    checkBrowseMode();
    m_params = {m_master->value(m_linkField)};
    load();
}

} // namespace tk
