#pragma once
// One libpq connection to a PostgreSQL server, opened from a
// "postgresql://…" address. Statements take positional "$n" parameters,
// sent as text so that the server gives them the type of their column.
#include "data/Connection.h" // DatabaseError

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

struct pg_conn;
struct pg_result;

namespace tk {

// A result the server gave; frees itself.
class PgResult {
public:
    PgResult() = default;
    explicit PgResult(pg_result *r) : m_result(r, &clear) {}
    pg_result *get() const { return m_result.get(); }
    int rows() const;
    int columns() const;
    bool isNull(int row, int column) const;
    const char *value(int row, int column) const;
    int length(int row, int column) const;
    // Rows a write changed.
    int changed() const;

private:
    static void clear(pg_result *r);
    std::unique_ptr<pg_result, void (*)(pg_result *)> m_result{nullptr, &clear};
};

// True for an address this connection opens rather than a database file.
bool isServerAddress(const QString &address);

// How long a connection waits for the server, unless its address says
// otherwise: a server machine switched off is named in seconds, not after
// the network's own minutes.
constexpr int kConnectSeconds = 10;
// libpq's connection to `address`, and its ping, within that time.
pg_conn *connectToServer(const QString &address);
int pingServer(const QString &address);

class PgConnection {
public:
    // Throws DatabaseError naming the server when it cannot be reached.
    explicit PgConnection(const QString &address);
    ~PgConnection();
    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;

    pg_conn *handle() const { return m_conn; }
    // "database on host" for messages.
    QString place() const;

    enum Format { Text = 0, Binary = 1 };
    // Runs one statement; the engine's complaint becomes a DatabaseError with
    // the texts the file gives for the same refusal.
    PgResult exec(const QString &sql, const QVariantList &params = {}, Format results = Text);
    // The same for a statement the program runs again and again: the server
    // parses and plans it once per connection, and runs it by name after.
    PgResult execPrepared(const QString &sql, const QVariantList &params = {}, Format results = Text);
    // Several statements without parameters (a script).
    void run(const QString &script);
    // Runs `work` in one transaction, or inside the one already open;
    // `begin` may name the isolation ("BEGIN ISOLATION LEVEL REPEATABLE READ").
    void inTransaction(const std::function<void()> &work, const QString &begin = QStringLiteral("BEGIN"));
    // Sends `data` (COPY's text format) to "COPY … FROM STDIN".
    void copyIn(const QString &copyStatement, const QByteArray &data);

    // A connection the server dropped (a restart, a network gone) opened
    // anew; every statement does this first. Throws while the server is away.
    void reconnectIfLost();
    // The same without holding the caller longer than `ms`: a server host
    // that does not answer at all would otherwise hold it for minutes. Throws
    // while not connected; the attempt goes on at the next call.
    void reconnectIfLostWithin(int ms);

private:
    void startSession();
    void madeAnew(); // a connection reset: a new session, nothing prepared
    [[noreturn]] void unreachable() const;
    [[noreturn]] void fail(pg_result *r) const;
    PgResult checked(pg_result *r) const;
    const QByteArray &preparedName(const QString &sql);
    pg_conn *m_conn = nullptr;
    // The statements prepared on this connection, by their text. A
    // connection made anew has none: the server forgot them with the old one.
    QHash<QString, QByteArray> m_prepared;
    int m_preparedSerial = 0;
    // A connection being made anew in steps (reconnectIfLostWithin), and
    // what its socket is waited on for next: 1 reading, 2 writing.
    bool m_resetting = false;
    int m_resetWaitsFor = 0;
};

// A parameter as the server's text input reads it; null stays null.
QByteArray pgParameterText(const QVariant &v, bool *isNull);

} // namespace tk
