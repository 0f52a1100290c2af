#include "JetSource.h"

#include "TransferReport.h"
#include "core/Error.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

// glib first: mdbtools.h includes it inside extern "C", where its C++ parts cannot go.
#include <glib.h>
#include <mdbtools.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace tk {

namespace {

// libmdb writes each value as text into a buffer of the handle's bind size.
// Long texts are the reason to start above its 16 KiB default; a value that
// fills the buffer is read again with a larger one.
constexpr size_t initialBindSize = 64 * 1024;
constexpr size_t largestBindSize = 256 * 1024 * 1024;

// Jet keeps a date as days since 30.12.1899, the fraction being the time of
// day; before that day the whole part counts back and the fraction still
// counts forward. Read here rather than through libmdb's text form, which
// covers the years 1900 to 2700 only.
QDateTime jetDateTime(double days)
{
    const double whole = std::trunc(days);
    qint64 seconds = std::llround(std::fabs(days - whole) * 86400.0);
    QDate date = QDate(1899, 12, 30).addDays(qint64(whole));
    if (seconds >= 86400) {
        date = date.addDays(1);
        seconds -= 86400;
    }
    return QDateTime(date, QTime(0, 0).addSecs(int(seconds)));
}

QString text(const char *utf8) { return QString::fromUtf8(utf8); }

// libmdb turns a memo into text without saying when its long-value pages
// were missing or cut: walk them and compare their length with the one the
// row gives. Memos kept inside the row need no walk.
bool longValueWhole(MdbHandle *mdb, MdbColumn *col)
{
    if (col->cur_value_len < MDB_MEMO_OVERHEAD)
        return true; // null
    char header[MDB_MEMO_OVERHEAD];
    std::memcpy(header, mdb->pg_buf + col->cur_value_start, MDB_MEMO_OVERHEAD);
    const quint32 flags = quint32(mdb_get_int32(header, 0));
    if (flags & 0x80000000u)
        return true;
    const size_t expected = flags & 0x3fffffffu;
    // The walk reads each piece into the column's buffer, which holds the text
    // already taken: lend it a page-sized one meanwhile.
    std::vector<char> piece(size_t(mdb->fmt->pg_size));
    void *const text = col->bind_ptr;
    col->bind_ptr = piece.data();
    size_t length = mdb_ole_read(mdb, col, header, piece.size());
    for (size_t more = 0; length <= expected && (more = mdb_ole_read_next(mdb, col, header)) > 0;)
        length += more;
    col->bind_ptr = text;
    return length == expected;
}

struct BoundColumn {
    MdbColumn *column;
    std::vector<char> buffer; // libmdb's text of the value
    int length = 0;
};

// The value of a bound column in the row just read, as the column's type holds it.
QVariant boundValue(MdbHandle *mdb, const BoundColumn &b, const QString &table)
{
    MdbColumn *col = b.column;
    const QByteArray bytes(b.buffer.data(), b.length);
    if (col->col_type == MDB_BOOL)
        return bytes == "1";
    if (col->col_type == MDB_MEMO && !longValueWhole(mdb, col))
        throw Error(QStringLiteral("'%1' tablosunun '%2' sütunundaki uzun metin okunamadı; dosya hasarlı.")
                        .arg(table, text(col->name)));
    if (b.length == 0)
        return {};
    switch (col->col_type) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
    case MDB_COMPLEX:
        return bytes.toLongLong();
    case MDB_FLOAT:   // a single written with 8 digits reads back as the number typed
    case MDB_MONEY:   // four exact decimals
    case MDB_NUMERIC: // exact decimal text
        return bytes.toDouble();
    case MDB_DOUBLE: // every bit of the stored number
        return mdb_get_double(mdb->pg_buf, col->cur_value_start);
    case MDB_DATETIME:
        return jetDateTime(mdb_get_double(mdb->pg_buf, col->cur_value_start));
    case MDB_BINARY:
        return QByteArray(reinterpret_cast<const char *>(mdb->pg_buf) + col->cur_value_start, col->cur_value_len);
    case MDB_OLE: {
        size_t size = 0;
        void *data = mdb_ole_read_full(mdb, col, &size);
        const QByteArray object(static_cast<const char *>(data), qsizetype(size));
        free(data);
        return object;
    }
    default: // text, memo, replication id
        return QString::fromUtf8(bytes);
    }
}

} // namespace

struct JetSource::Handle {
    MdbHandle *mdb = nullptr;
    QHash<QString, MdbCatalogEntry *> entries; // user tables by name
    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }
};

JetSource::JetSource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Dosya okunamadı: %1").arg(file.errorString()));
    m_version = jetVersionOf(path);
    if (m_version == JetVersion::None)
        throw Error(QStringLiteral("Dosya Jet biçiminde değil."));
    // Jet allocates its file in whole pages; anything else is a cut-off file.
    const qint64 pageSize = m_version == JetVersion::Jet3 ? 2048 : 4096;
    const qint64 size = file.size();
    file.close();
    if (size < 3 * pageSize || size % pageSize != 0)
        throw Error(QStringLiteral("Dosya eksik ya da hasarlı: boyu (%1 bayt) %2 baytlık sayfaların tam katı değil.")
                        .arg(countText(size))
                        .arg(pageSize));

    // Text arrives in UTF-8 unless this variable asks libmdb for another set.
    qunsetenv("MDBICONV");
    m_handle = std::make_unique<Handle>();
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb)
        throw Error(QStringLiteral("Dosyanın ilk sayfası okunamadı; dosya hasarlı."));
    mdb_set_bind_size(m_handle->mdb, initialBindSize);
    mdb_set_boolean_fmt_numbers(m_handle->mdb);

    GPtrArray *catalog = mdb_read_catalog(m_handle->mdb, MDB_ANY);
    if (!catalog || catalog->len == 0)
        throw Error(QStringLiteral("Tablo listesi (MSysObjects) okunamadı; dosya hasarlı."));
    QStringList names;
    for (guint i = 0; i < catalog->len; ++i) {
        auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(catalog, i));
        const QString name = text(entry->object_name);
        if (name == QLatin1String("MSysObjects")) {
            // The list of tables must be whole too, or a table would pass for missing.
            m_handle->entries.insert(name, entry);
            readRows({name, {}, -1}, {}, [](const QVariantList &) {});
            m_handle->entries.remove(name);
        }
        if (!mdb_is_user_table(entry))
            continue;
        m_handle->entries.insert(name, entry);
        names << name;
    }
    for (const QString &name : names) {
        const Table table = openTable(name);
        SourceTable t{name, {}, qint64(table->num_rows)};
        for (guint c = 0; c < table->num_cols; ++c)
            t.columns << text(static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c))->name);
        m_tables << t;
    }
}

JetSource::~JetSource() = default;

QVector<SourceTable> JetSource::tables() { return m_tables; }

JetSource::Table JetSource::openTable(const QString &name) const
{
    MdbCatalogEntry *entry = m_handle->entries.value(name);
    if (!entry)
        throw Error(QStringLiteral("'%1' tablosu eski dosyada yok.").arg(name));
    Table table(mdb_read_table(entry), &mdb_free_tabledef);
    if (!table)
        throw Error(QStringLiteral("'%1' tablosunun tanımı okunamadı; dosya hasarlı.").arg(name));
    if (!mdb_read_columns(table.get()))
        throw Error(QStringLiteral("'%1' tablosunun sütunları okunamadı; dosya hasarlı.").arg(name));
    return table;
}

void JetSource::readRows(const SourceTable &source, const QVector<int> &columns, const RowSink &row)
{
    MdbHandle *mdb = m_handle->mdb;
    const Table opened = openTable(source.name);
    MdbTableDef *table = opened.get();
    std::vector<BoundColumn> bound;
    size_t bindSize = initialBindSize;
    const auto bind = [&] {
        mdb_set_bind_size(mdb, bindSize);
        for (BoundColumn &b : bound) {
            b.buffer.assign(bindSize, 0);
            b.column->bind_ptr = b.buffer.data();
            b.column->len_ptr = &b.length;
        }
    };
    for (int c : columns) {
        if (c < 0 || guint(c) >= table->num_cols)
            throw Error(QStringLiteral("'%1' tablosunda %2. sütun yok.").arg(source.name).arg(c + 1));
        bound.push_back({static_cast<MdbColumn *>(g_ptr_array_index(table->columns, c)), {}, 0});
    }
    bind();
    mdb_rewind_table(table);
    qint64 read = 0;
    QVariantList values;
    while (mdb_fetch_row(table)) {
        // A text that filled its buffer may have been cut: read the row again with more room.
        for (;;) {
            const bool full = std::any_of(bound.begin(), bound.end(), [&](const BoundColumn &b) {
                return (b.column->col_type == MDB_TEXT || b.column->col_type == MDB_MEMO)
                    && size_t(b.length) + 4 >= bindSize;
            });
            if (!full)
                break;
            if (bindSize >= largestBindSize)
                throw Error(QStringLiteral("'%1' tablosunda okunamayacak kadar uzun bir metin var.").arg(source.name));
            bindSize *= 4;
            bind();
            if (!mdb_read_row(table, table->cur_row - 1))
                throw Error(QStringLiteral("'%1' tablosunun bir satırı ikinci kez okunamadı; dosya hasarlı.").arg(source.name));
        }
        values.clear();
        for (const BoundColumn &b : bound)
            values << boundValue(mdb, b, source.name);
        ++read;
        row(values);
    }
    if (qint64(table->num_rows) > read)
        throw Error(QStringLiteral("'%1' tablosunda %2 kayıt olmalı, %3 kayıt okunabildi; dosya hasarlı.")
                        .arg(source.name)
                        .arg(countText(table->num_rows), countText(read)));
}

} // namespace tk
