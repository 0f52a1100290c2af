#include "Connection.h"

#include <QDate>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QAtomicInt>
#include <sqlite3.h>

namespace tk {

namespace {

QAtomicInt connectionCounter;

void bindValue(sqlite3_stmt *stmt, int index, const QVariant &v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(stmt, index, v.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, index, v.toDouble());
        break;
    case QMetaType::QDate:
        sqlite3_bind_text(stmt, index, v.toDate().toString(Qt::ISODate).toUtf8().constData(), -1, SQLITE_TRANSIENT);
        break;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray b = v.toString().toUtf8();
        sqlite3_bind_text(stmt, index, b.constData(), int(b.size()), SQLITE_TRANSIENT);
    }
    }
}

QChar turkishLowerChar(QChar c)
{
    if (c == u'I')
        return QChar(0x0131); // ı
    if (c == QChar(0x0130))   // İ
        return u'i';
    return c.toLower();
}

// LIKE with % and _ (and an optional escape character), comparing Turkish lower case.
bool likeMatch(const QString &pattern, const QString &text, QChar escape)
{
    qsizetype p = 0, t = 0, starP = -1, starT = -1;
    const qsizetype pn = pattern.size(), tn = text.size();
    while (t < tn) {
        if (p < pn) {
            QChar pc = pattern[p];
            if (!escape.isNull() && pc == escape && p + 1 < pn) {
                if (turkishLowerChar(pattern[p + 1]) == turkishLowerChar(text[t])) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (pc == u'%') {
                starP = p++;
                starT = t;
                continue;
            } else if (pc == u'_' || turkishLowerChar(pc) == turkishLowerChar(text[t])) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pn && pattern[p] == u'%')
        ++p;
    return p == pn;
}

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    // like(pattern, text [, escape]); NULL in, NULL out as the built-in does.
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    const auto str = [](sqlite3_value *v) {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
    };
    QChar escape;
    if (argc == 3) {
        const QString e = str(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e[0];
    }
    sqlite3_result_int(ctx, likeMatch(str(argv[0]), str(argv[1]), escape) ? 1 : 0);
}

} // namespace

QString turkishLower(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        c = turkishLowerChar(c);
    return out;
}

void registerStatementFunctions(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "like", 3, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_busy_timeout(db, busyTimeoutMs);
}

Connection::Connection(const QString &path)
    : m_name(QStringLiteral("tk-connection-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{
    const QFileInfo info(path);
    m_path = info.absoluteFilePath();
    // Qt's driver would quietly create an empty file; the program never does.
    if (!info.isFile())
        throw DatabaseError(QStringLiteral("Veritabanı dosyası bulunamadı: %1").arg(m_path));

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(m_path);
    if (!db.open()) {
        const QString text = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DatabaseError(QStringLiteral("%1\n%2").arg(text, m_path));
    }
    const QVariant h = db.driver()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3 *const *>(h.constData());
    if (!m_handle) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DatabaseError(QStringLiteral("Veritabanı sürücüsü desteklenmiyor: %1").arg(m_path));
    }
    registerStatementFunctions(m_handle);
    try {
        exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        // Reading the schema proves the file is a database we can read.
        exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (const DatabaseError &e) {
        m_handle = nullptr;
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
        throw DatabaseError(QStringLiteral("%1\n%2").arg(e.text(), m_path));
    }
}

Connection::~Connection()
{
    m_handle = nullptr;
    {
        QSqlDatabase db = QSqlDatabase::database(m_name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase Connection::database() const { return QSqlDatabase::database(m_name, false); }

void Connection::check(int rc, const char *what) const
{
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW)
        return;
    QString text = QString::fromUtf8(m_handle ? sqlite3_errmsg(m_handle) : sqlite3_errstr(rc));
    if (what)
        text = QStringLiteral("%1: %2").arg(QString::fromUtf8(what), text);
    throw DatabaseError(text);
}

int Connection::exec(const QString &sql, const QVariantList &params)
{
    if (!m_handle)
        throw DatabaseError(QStringLiteral("Veritabanı bağlantısı yok."));
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    check(sqlite3_prepare_v2(m_handle, text.constData(), int(text.size()), &stmt, nullptr));
    for (int i = 0; i < params.size(); ++i)
        bindValue(stmt, i + 1, params[i]);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    sqlite3_finalize(stmt);
    check(rc);
    return sqlite3_changes(m_handle);
}

} // namespace tk

// Shared with Dataset, which binds its own statements the same way.
namespace tk::detail {
void bindSqliteValue(sqlite3_stmt *stmt, int index, const QVariant &v) { bindValue(stmt, index, v); }
}
