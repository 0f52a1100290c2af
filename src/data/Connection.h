#pragma once
// The program's one connection to its database file. SQLite is opened through
// Qt SQL (so another engine stays possible) and the raw handle is used for the
// fast paths: reading rows, the Turkish LIKE, the online backup.
#include "core/Error.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

struct sqlite3;
struct sqlite3_stmt;

namespace tk {

class DatabaseError : public Error {
public:
    using Error::Error;
};

class Connection {
public:
    // Opens `path` (relative paths resolve against the current folder). A
    // missing or unreadable file is a DatabaseError naming its full path:
    // the program never creates a database here.
    explicit Connection(const QString &path);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QString filePath() const { return m_path; }
    sqlite3 *handle() const { return m_handle; }
    QSqlDatabase database() const;

    // Runs one statement with positional parameters; returns the rows changed.
    int exec(const QString &sql, const QVariantList &params = {});

    // Throws DatabaseError with the engine's text for a failed return code.
    void check(int rc, const char *what = nullptr) const;

private:
    QString m_path;
    QString m_name;
    sqlite3 *m_handle = nullptr;
};

// Binds a value to a statement parameter the way the program stores it
// (booleans and whole numbers as integers, dates as ISO text).
namespace detail {
void bindSqliteValue(sqlite3_stmt *stmt, int index, const QVariant &v);
}

// How long a connection waits for another desk's lock on the file (a write
// of its in progress) before the statement fails.
inline constexpr int busyTimeoutMs = 5000;

// Registers what the program's statements need on a raw handle: the Turkish
// case-insensitive LIKE (İ/i, I/ı), and the wait for another desk's lock.
// Every connection the program or its tools open goes through here; the file
// itself needs none of it (TurkishOrder.h).
void registerStatementFunctions(sqlite3 *db);
// Turkish lower case of a whole text, used by LIKE and by searches.
QString turkishLower(const QString &text);

} // namespace tk
