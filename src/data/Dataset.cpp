#include "Dataset.h"

#include "ListOrder.h"
#include "PackedRow.h"
#include "SaveConflict.h"
#include "SqliteStore.h"

#include <algorithm>
#include <utility>

namespace tk {

Dataset::Dataset(Store *store, const QString &name, const QString &table, const QString &sql, QObject *parent)
    : QObject(parent), m_store(store), m_table(table), m_sql(sql)
{
    setObjectName(name);
}

Dataset::Dataset(Connection *connection, const QString &name, const QString &table, const QString &sql,
                 QObject *parent)
    : Dataset(static_cast<Store *>(nullptr), name, table, sql, parent)
{
    if (connection) {
        m_ownStore = std::make_unique<SqliteStore>(*connection);
        m_store = m_ownStore.get();
    }
}

Dataset::~Dataset() = default;

void Dataset::forgetRows()
{
    m_keys.clear();
    m_whole.clear();
    m_kept.clear();
    m_windows.clear();
    m_lastWindowRead = -1;
}

void Dataset::detachConnection()
{
    m_pending.clear();
    m_conflict = Conflict::None;
    forgetRows();
    m_current = -1;
    m_insertRow = -1;
    m_modified = false;
    m_keysLater = false;
    m_store = nullptr;
    m_ownStore.reset();
    m_bof = m_eof = true;
    setState(State::Inactive);
    emit rowsReset();
    emit currentChanged(-1);
}

void Dataset::setSql(const QString &sql, const QVariantList &params)
{
    if (isOpen() && !m_keysLater) {
        // As leaving the row: a changed row, here or in a detail, is saved
        // first; then the rows are read once, with no closed list between.
        settleDetails();
        checkBrowseMode();
        m_sql = sql;
        m_params = params;
        try {
            load();
        } catch (...) {
            close(); // a statement refused leaves the dataset closed, as opening it would
            throw;
        }
        return;
    }
    close();
    m_sql = sql;
    m_params = params;
    open();
}

void Dataset::setSortOrder(const QString &orderByTerm)
{
    if (orderByTerm == m_sortOrder)
        return;
    if (isOpen() && !m_keysLater) {
        settleDetails();
        checkBrowseMode();
        m_keepKey = currentKey(); // the same row, in its new place
        // A term the engine refuses leaves the rows and their order as they were.
        const QString previous = std::exchange(m_sortOrder, orderByTerm);
        try {
            load();
        } catch (...) {
            m_sortOrder = previous;
            throw;
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

void Dataset::openOnFirstRead()
{
    if (isOpen())
        return;
    if (!m_store)
        throw DatabaseError(QStringLiteral("Veritabanı bağlantısı yok."));
    m_fields = m_store->describe(m_table, withOrderBy(m_sql, m_sortOrder));
    m_keysLater = true;
    setState(State::Browse);
}

void Dataset::readKeys() const
{
    if (!m_keysLater)
        return;
    // Reading is not a change anyone asked for: the keys come as if they had
    // been read at open, and the views bound to the dataset catch up.
    auto *self = const_cast<Dataset *>(this);
    if (m_master && !m_master->keysRead()) {
        m_master->readKeys(); // its first row re-queries this dataset
        if (!m_keysLater)
            return;
    }
    if (m_master)
        self->masterMoved();
    else
        self->load();
}

void Dataset::close()
{
    if (!isOpen())
        return;
    m_pending.clear();
    m_conflict = Conflict::None;
    m_modified = false;
    m_insertRow = -1;
    m_keysLater = false;
    forgetRows();
    m_current = -1;
    m_bof = m_eof = true;
    setState(State::Inactive);
    emit rowsReset();
    emit currentChanged(-1);
}

void Dataset::refresh()
{
    requireOpen("refresh");
    if (m_keysLater) {
        readKeys(); // asked for: the rows as they are now
        return;
    }
    settleDetails();
    checkBrowseMode();
    const int keep = m_current;
    load();
    if (keep > 0 && !m_keys.empty()) {
        m_current = std::min<int>(keep, int(m_keys.size()) - 1);
        emit currentChanged(m_current);
    }
}

void Dataset::reload()
{
    requireOpen("reload");
    if (m_keysLater)
        return;
    settleDetails();
    checkBrowseMode();
    for (const QPointer<Dataset> &d : std::as_const(m_details))
        if (d)
            d->m_keepKey = d->currentKey();
    m_keepKey = currentKey();
    load();
    for (const QPointer<Dataset> &d : std::as_const(m_details))
        if (d)
            d->m_keepKey = -1; // a detail not reloaded with its master keeps nothing for later
}

void Dataset::load()
{
    const qint64 keep = std::exchange(m_keepKey, -1);
    if (!m_store)
        throw DatabaseError(QStringLiteral("Veritabanı bağlantısı yok."));
    KeyedResult result = m_store->openKeys(m_table, withOrderBy(m_sql, m_sortOrder), m_params);

    forgetRows(); // the rows may have changed since they were read
    m_keysLater = false;
    m_fields = result.fields;
    m_keys = std::move(result.keys);
    m_keys.shrink_to_fit(); // a store fills them as they come: up to twice the room
    m_whole = std::move(result.rows);
    m_writable = result.writable;
    m_pending.clear();
    m_conflict = Conflict::None;
    m_modified = false;
    m_insertRow = -1;
    m_current = m_keys.empty() ? -1 : 0;
    if (keep >= 0) {
        const auto at = std::find(m_keys.begin(), m_keys.end(), keep);
        if (at != m_keys.end())
            m_current = int(at - m_keys.begin());
    }
    m_bof = m_current <= 0;
    m_eof = m_keys.empty();
    // As setState: only a change is told (a search reloads a browsing dataset
    // on every key, and each bound box would show its row once more).
    const bool stateChanges = std::exchange(m_state, State::Browse) != State::Browse;
    emit rowsReset();
    if (stateChanges)
        emit stateChanged(m_state);
    emit currentChanged(m_current);
}

const QByteArray &Dataset::packedRow(int row) const
{
    if (row == m_insertRow)
        return m_newRow;
    if (!m_writable)
        return m_whole[size_t(row)];
    const qint64 key = m_keys[size_t(row)];
    auto it = m_kept.find(key);
    if (it == m_kept.end()) {
        readWindow(row);
        it = m_kept.find(key);
        if (it == m_kept.end())
            return m_newRow; // only when a store answers without the row's place
    } else if (m_windows.back().serial != it->second.window) {
        // Used again: its window is the last to go.
        const auto w = std::find_if(m_windows.begin(), m_windows.end(),
                                    [&](const Window &x) { return x.serial == it->second.window; });
        if (w != m_windows.end())
            std::rotate(w, w + 1, m_windows.end());
    }
    return it->second.row;
}

void Dataset::readWindow(int row) const
{
    // The window of `row`, and the next one in the direction of travel
    // when it is not kept yet, in one lookup.
    const int n = int(m_keys.size());
    const int window = row / kWindowRows;
    // The first read after opening has no direction yet: it reads only its window.
    const bool travelling = m_lastWindowRead >= 0 && window != m_lastWindowRead;
    const bool backwards = travelling && window < m_lastWindowRead;
    m_lastWindowRead = window;
    int from = window * kWindowRows;
    int to = std::min(n, from + kWindowRows);
    const auto kept = [&](int r) { return m_keys[size_t(r)] < 0 || m_kept.count(m_keys[size_t(r)]) > 0; };
    if (backwards && from > 0 && !kept(from - 1))
        from -= kWindowRows;
    else if (travelling && !backwards && to < n && !kept(to))
        to = std::min(n, to + kWindowRows);

    // The new row has no key yet: it is read from nowhere.
    std::vector<qint64> keys;
    keys.reserve(size_t(to - from));
    for (int r = from; r < to; ++r)
        if (m_keys[size_t(r)] >= 0)
            keys.push_back(m_keys[size_t(r)]);
    std::vector<QByteArray> rows = m_store->readRows(m_table, m_fields, keys.data(), int(keys.size()));
    for (size_t at = 0; at < keys.size(); at += kWindowRows) {
        const int count = int(std::min<size_t>(kWindowRows, keys.size() - at));
        std::vector<QByteArray> part(std::make_move_iterator(rows.begin() + qsizetype(at)),
                                     std::make_move_iterator(rows.begin() + qsizetype(at) + count));
        keepWindow(keys.data() + at, part, count);
    }
}

void Dataset::keepWindow(const qint64 *keys, std::vector<QByteArray> &rows, int count) const
{
    const quint32 serial = m_nextWindow++;
    m_windows.push_back({serial, std::vector<qint64>(keys, keys + count)});
    for (int i = 0; i < count; ++i)
        m_kept[keys[i]] = Kept{std::move(rows[size_t(i)]), serial};
    while (int(m_windows.size()) > kWindowsKept) {
        const Window &oldest = m_windows.front();
        for (qint64 key : oldest.keys) {
            const auto it = m_kept.find(key);
            if (it != m_kept.end() && it->second.window == oldest.serial)
                m_kept.erase(it);
        }
        m_windows.erase(m_windows.begin());
    }
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

int Dataset::rowCount() const
{
    readKeys();
    return int(m_keys.size());
}

int Dataset::currentRow() const
{
    readKeys();
    return m_current;
}

int Dataset::recNo() const { return currentRow() + 1; }

bool Dataset::bof() const
{
    readKeys();
    return m_bof;
}

bool Dataset::eof() const
{
    readKeys();
    return m_eof;
}

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
    readKeys();
    requireOpen("first");
    settleDetails();
    checkBrowseMode();
    m_bof = true;
    m_eof = m_keys.empty();
    setCurrent(m_keys.empty() ? -1 : 0);
}

void Dataset::last()
{
    readKeys();
    requireOpen("last");
    settleDetails();
    checkBrowseMode();
    m_eof = true;
    m_bof = m_keys.empty();
    setCurrent(int(m_keys.size()) - 1);
}

void Dataset::next() { moveBy(1); }
void Dataset::prior() { moveBy(-1); }

int Dataset::moveBy(int distance)
{
    readKeys();
    requireOpen("move");
    if (distance == 0)
        return 0;
    settleDetails();
    checkBrowseMode();
    const int n = int(m_keys.size());
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

void Dataset::moveTo(int row) { moveBy(row - currentRow()); }

QVariant Dataset::storedValue(int row, int column) const
{
    if (row < 0 || row >= int(m_keys.size()) || column < 0 || column >= m_fields.size())
        return {};
    const QByteArray &packed = packedRow(row);
    if (packed.isEmpty()) // deleted elsewhere since the keys were read
        return {};
    return packedCell(packed, int(m_fields.size()), column);
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
    readKeys();
    const int c = fieldIndex(field);
    if (c < 0 || m_current < 0)
        return {};
    if (isEditing() && c < m_pending.size() && m_pending[c])
        return pendingValue(c);
    return storedValue(m_current, c);
}

QString Dataset::text(const QString &field) const
{
    readKeys();
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
    readKeys();
    if (row == m_current && isEditing() && column >= 0 && column < m_pending.size() && m_pending[column])
        return pendingValue(column);
    return storedValue(row, column);
}

QString Dataset::textAt(int row, int column) const
{
    readKeys();
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
    readKeys();
    requireOpen("edit");
    if (isEditing())
        return;
    if (m_keys.empty()) {
        append();
        return;
    }
    if (m_keys[size_t(m_current)] < 0)
        throw DatabaseError(QStringLiteral("%1: Bu veri kümesi değiştirilemez.").arg(objectName()));
    m_pending = QVector<std::optional<Pending>>(m_fields.size());
    m_modified = false;
    m_editBase = packedRow(m_current);
    m_conflict = Conflict::None;
    setState(State::Edit);
}

void Dataset::append()
{
    readKeys();
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
    m_newRow = packedNullRow(columns);
    m_insertRow = int(m_keys.size());
    m_keys.push_back(-1);
    if (!m_writable)
        m_whole.push_back(m_newRow);
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
    readKeys();
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
    readKeys();
    requireOpen("set");
    const int c = checkedField(field);
    if (!isEditing())
        edit();
    m_pending[c] = Pending{true, text, {}};
    m_modified = true;
    emit fieldChanged(m_fields[c].name);
    emit rowUpdated(m_current);
}

void Dataset::post() { postRow(false); }

void Dataset::overwrite() { postRow(m_conflict == Conflict::Changed); }

void Dataset::postRow(bool overwrite)
{
    requireOpen("post");
    if (!isEditing())
        return;
    settleDetails();
    if (beforePost)
        beforePost(*this);
    writeRow(overwrite);
    const int row = m_current;
    m_pending.clear();
    m_conflict = Conflict::None;
    m_modified = false;
    m_insertRow = -1;
    setState(State::Browse);
    emit rowUpdated(row);
    emit currentChanged(row);
    emit tableWritten();
    if (afterPost)
        afterPost(*this);
}

QVector<ExpectedValue> Dataset::expectedValues(const QByteArray &row) const
{
    QVector<ExpectedValue> expected;
    expected.reserve(m_fields.size());
    for (int c = 0; c < m_fields.size(); ++c)
        expected.append({m_fields[c].name, packedCell(row, int(m_fields.size()), c)});
    return expected;
}

bool Dataset::masterGone() const
{
    const qint64 key = m_master ? m_master->currentKey() : -1;
    if (key < 0)
        return false;
    return m_store->readRows(m_master->table(), m_master->fields(), &key, 1).front().isEmpty();
}

void Dataset::writeRow(bool overwrite)
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
    if (!m_store)
        throw DatabaseError(QStringLiteral("Veritabanı bağlantısı yok."));

    qint64 key = m_keys[size_t(m_current)];
    if (m_state == State::Insert) {
        try {
            key = m_store->insertRow(m_table, columns, values);
        } catch (const DatabaseError &) {
            // The foreign key refused a detail whose master another desk deleted.
            if (masterGone())
                throw SaveConflict(masterDeletedElsewhereText());
            throw;
        }
    } else {
        // Written only while the row holds what it was read with; an overwrite
        // expects what the refusal found, so a third desk's change still counts.
        const QByteArray &base = overwrite ? m_conflictRow : m_editBase;
        const QVector<ExpectedValue> expected = expectedValues(base);
        if (!m_store->updateRow(m_table, key, columns, values, base.isEmpty() ? nullptr : &expected))
            refuseSave(key);
    }

    // Read the row back as the database holds it (assigned key, defaults, conversions).
    std::vector<QByteArray> back = m_store->readRows(m_table, m_fields, &key, 1);
    m_keys[size_t(m_current)] = key;
    if (back.front().isEmpty())
        return; // deleted elsewhere meanwhile: its saved values stay as they were read
    if (!m_writable)
        m_whole[size_t(m_current)] = std::move(back.front());
    else
        keepWindow(&key, back, 1);
}

void Dataset::refuseSave(qint64 key)
{
    std::vector<QByteArray> now = m_store->readRows(m_table, m_fields, &key, 1);
    if (now.front().isEmpty()) {
        m_conflict = Conflict::Deleted;
        m_conflictRow.clear();
        throw SaveConflict(deletedElsewhereText());
    }
    // The other desk's values show in every box not typed in, the typed ones stay.
    m_conflict = Conflict::Changed;
    m_conflictRow = now.front();
    keepWindow(&key, now, 1);
    emit rowUpdated(m_current);
    throw SaveConflict(changedElsewhereText());
}

QVariant Dataset::valueElsewhere(const QString &field) const
{
    const int c = fieldIndex(field);
    if (c < 0 || m_conflict != Conflict::Changed)
        return {};
    return packedCell(m_conflictRow, int(m_fields.size()), c);
}

QStringList Dataset::fieldsChangedElsewhere() const
{
    QStringList changed;
    if (m_conflict != Conflict::Changed || m_editBase.isEmpty())
        return changed;
    const int n = int(m_fields.size());
    for (int c = 0; c < n; ++c)
        if (packedCell(m_editBase, n, c) != packedCell(m_conflictRow, n, c))
            changed << m_fields[c].name;
    return changed;
}

qint64 Dataset::currentKey() const
{
    readKeys();
    if (m_current < 0 || m_current >= int(m_keys.size()))
        return -1;
    return m_keys[size_t(m_current)];
}

bool Dataset::isEditingHereOrBelow() const
{
    if (isEditing())
        return true;
    for (const QPointer<Dataset> &d : m_details)
        if (d && d->isEditingHereOrBelow())
            return true;
    return false;
}

void Dataset::cancel()
{
    if (!isEditing())
        return;
    m_pending.clear();
    m_conflict = Conflict::None;
    m_modified = false;
    if (m_state == State::Insert) {
        const int row = m_insertRow;
        m_insertRow = -1;
        m_keys.erase(m_keys.begin() + row);
        if (!m_writable)
            m_whole.erase(m_whole.begin() + row);
        emit rowRemoved(row);
        setState(State::Browse);
        const int n = int(m_keys.size());
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
    readKeys();
    requireOpen("delete");
    settleDetails();
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_keys.empty())
        throw DatabaseError(QStringLiteral("Boş bir veri kümesinde bu işlem yapılamaz."));
    if (m_state == State::Edit)
        cancel();
    const int row = m_current;
    const qint64 id = m_keys[size_t(row)];
    if (id < 0)
        throw DatabaseError(QStringLiteral("%1: Bu veri kümesi değiştirilemez.").arg(objectName()));
    m_store->deleteRow(m_table, id);
    m_keys.erase(m_keys.begin() + row);
    m_kept.erase(id); // its window forgets it when it goes
    emit rowRemoved(row);
    emit tableWritten();
    const int n = int(m_keys.size());
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
    // A row refused as changed elsewhere asks before it is written over,
    // as its save button does.
    if (m_modified)
        saveBeforeLeaving(*this, nullptr);
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
    if (!m_master || !m_store)
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
