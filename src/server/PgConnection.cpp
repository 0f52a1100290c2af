#include "PgConnection.h"

#include <QDate>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QRegularExpression>

#include <libpq-fe.h>
#include <poll.h>

#include <cmath>
#include <vector>

namespace tk {

namespace {

// The texts SQLite gives for the refusals both engines make, so that a
// message reads the same whichever holds the books.
QString fileEngineText(const char *sqlState, const QString &serverText)
{
    static const struct {
        const char *state;
        const char *text;
    } same[] = {
        {"23503", "FOREIGN KEY constraint failed"},
        {"23505", "UNIQUE constraint failed"},
        {"23502", "NOT NULL constraint failed"},
        {"23514", "CHECK constraint failed"},
    };
    if (sqlState)
        for (const auto &s : same)
            if (qstrcmp(sqlState, s.state) == 0)
                return QString::fromLatin1(s.text);
    // A name the statement used that the books do not have: the file names it so.
    static const struct {
        const char *state;
        const char *text;
    } named[] = {{"42703", "no such column: %1"}, {"42P01", "no such table: %1"}};
    static const QRegularExpression quotedName(QStringLiteral("\"([^\"]+)\""));
    if (sqlState)
        for (const auto &n : named)
            if (qstrcmp(sqlState, n.state) == 0)
                return QString::fromLatin1(n.text).arg(quotedName.match(serverText).captured(1));
    return serverText;
}

// The parameters as the server's text input reads them; a null is a null pointer.
class ParameterTexts {
public:
    explicit ParameterTexts(const QVariantList &params) : m_texts(size_t(params.size())), m_values(size_t(params.size()))
    {
        for (qsizetype i = 0; i < params.size(); ++i) {
            bool null = false;
            m_texts[size_t(i)] = pgParameterText(params[i], &null);
            m_values[size_t(i)] = null ? nullptr : m_texts[size_t(i)].constData();
        }
    }
    int count() const { return int(m_values.size()); }
    const char *const *values() const { return m_values.data(); }

private:
    std::vector<QByteArray> m_texts;
    std::vector<const char *> m_values;
};

} // namespace

int PgResult::rows() const { return PQntuples(m_result.get()); }
int PgResult::columns() const { return PQnfields(m_result.get()); }
bool PgResult::isNull(int row, int column) const { return PQgetisnull(m_result.get(), row, column); }
const char *PgResult::value(int row, int column) const { return PQgetvalue(m_result.get(), row, column); }
int PgResult::length(int row, int column) const { return PQgetlength(m_result.get(), row, column); }
int PgResult::changed() const { return QByteArray(PQcmdTuples(m_result.get())).toInt(); }
void PgResult::clear(pg_result *r)
{
    if (r)
        PQclear(r);
}

bool isServerAddress(const QString &address)
{
    return address.startsWith(QLatin1String("postgresql://")) || address.startsWith(QLatin1String("postgres://"));
}

QByteArray pgParameterText(const QVariant &v, bool *isNull)
{
    *isNull = !v.isValid() || v.isNull();
    if (*isNull)
        return {};
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? "1" : "0";
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QByteArray::number(v.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (std::isnan(d)) {
            // SQLite keeps no NaN: it stores null.
            *isNull = true;
            return {};
        }
        if (std::isinf(d))
            return d > 0 ? "Infinity" : "-Infinity";
        return QByteArray::number(d, 'g', 17);
    }
    case QMetaType::QDate:
        return v.toDate().toString(Qt::ISODate).toUtf8();
    case QMetaType::QDateTime:
        return v.toDateTime().toString(Qt::ISODate).toUtf8();
    default:
        return v.toString().toUtf8();
    }
}

namespace {

// The address's own settings come after the default, so they win over it.
struct BoundedAddress {
    explicit BoundedAddress(const QString &address) : uri(address.toUtf8()), seconds(QByteArray::number(kConnectSeconds)) {}
    QByteArray uri, seconds;
    const char *const keys[3] = {"connect_timeout", "dbname", nullptr};
    const char *values[3] = {seconds.constData(), uri.constData(), nullptr};
};

} // namespace

pg_conn *connectToServer(const QString &address)
{
    const BoundedAddress a(address);
    return PQconnectdbParams(a.keys, a.values, 1);
}

int pingServer(const QString &address)
{
    const BoundedAddress a(address);
    return PQpingParams(a.keys, a.values, 1);
}

PgConnection::PgConnection(const QString &address)
{
    m_conn = connectToServer(address);
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString why = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        PQfinish(m_conn);
        m_conn = nullptr;
        throw DatabaseError(QStringLiteral("PostgreSQL sunucusuna bağlanılamadı: %1\n%2").arg(why, address));
    }
    startSession();
}

void PgConnection::startSession()
{
    PQsetClientEncoding(m_conn, "UTF8");
    // Dates travel as ISO text, as the file keeps them; no notices on the terminal.
    run(QStringLiteral("SET DateStyle = ISO; SET client_min_messages = warning"));
}

// A connection the server dropped (a restart, a network gone) is opened
// anew at the next statement; what was not committed is gone with it.
void PgConnection::reconnectIfLost()
{
    if (PQstatus(m_conn) == CONNECTION_OK)
        return;
    m_resetting = false; // made anew here, waiting as long as it takes
    PQreset(m_conn);
    if (PQstatus(m_conn) != CONNECTION_OK)
        unreachable();
    madeAnew();
}

void PgConnection::reconnectIfLostWithin(int ms)
{
    if (!m_resetting) {
        if (PQstatus(m_conn) == CONNECTION_OK)
            return;
        if (!PQresetStart(m_conn))
            unreachable();
        m_resetting = true;
        m_resetWaitsFor = PGRES_POLLING_WRITING;
    }
    // libpq's steps of a connection, each taken once its socket is ready.
    const QDeadlineTimer deadline(ms);
    for (;;) {
        pollfd ready{PQsocket(m_conn), short(m_resetWaitsFor == PGRES_POLLING_READING ? POLLIN : POLLOUT), 0};
        if (ready.fd >= 0 && ::poll(&ready, 1, int(deadline.remainingTime())) <= 0)
            unreachable(); // not yet: the attempt goes on at the next call
        const PostgresPollingStatusType step = PQresetPoll(m_conn);
        if (step == PGRES_POLLING_FAILED) {
            m_resetting = false;
            unreachable();
        }
        if (step == PGRES_POLLING_OK)
            break;
        m_resetWaitsFor = step;
    }
    m_resetting = false;
    madeAnew();
}

void PgConnection::madeAnew()
{
    m_prepared.clear(); // the server forgot them with the old connection
    startSession();
}

void PgConnection::unreachable() const
{
    throw DatabaseError(QStringLiteral("Sunucuya ulaşılamıyor: %1.\n%2")
                            .arg(place(), QString::fromUtf8(PQerrorMessage(m_conn)).trimmed()));
}

PgConnection::~PgConnection()
{
    if (m_conn)
        PQfinish(m_conn);
}

QString PgConnection::place() const
{
    return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(PQdb(m_conn)), QString::fromUtf8(PQhost(m_conn)));
}

void PgConnection::fail(pg_result *r) const
{
    if (PQstatus(m_conn) != CONNECTION_OK) {
        PQclear(r);
        throw DatabaseError(QStringLiteral("Sunucuyla bağlantı kesildi: %1.\nYazdıklarınız kaydedilmedi, kutularda "
                                           "duruyor. Sunucuya yeniden ulaşılınca bir sonraki işlemde bağlantı "
                                           "kendiliğinden kurulur; kaydı o zaman yeniden kaydedin.")
                                .arg(place()));
    }
    QString text;
    if (r) {
        text = fileEngineText(PQresultErrorField(r, PG_DIAG_SQLSTATE),
                              QString::fromUtf8(PQresultErrorField(r, PG_DIAG_MESSAGE_PRIMARY)));
        PQclear(r);
    }
    if (text.isEmpty())
        text = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
    throw DatabaseError(text);
}

PgResult PgConnection::exec(const QString &sql, const QVariantList &params, Format results)
{
    reconnectIfLost();
    const ParameterTexts p(params);
    return checked(PQexecParams(m_conn, sql.toUtf8().constData(), p.count(), nullptr, p.values(), nullptr, nullptr,
                                int(results)));
}

PgResult PgConnection::execPrepared(const QString &sql, const QVariantList &params, Format results)
{
    reconnectIfLost();
    const QByteArray &name = preparedName(sql);
    const ParameterTexts p(params);
    return checked(PQexecPrepared(m_conn, name.constData(), p.count(), p.values(), nullptr, nullptr, int(results)));
}

const QByteArray &PgConnection::preparedName(const QString &sql)
{
    if (const auto at = m_prepared.constFind(sql); at != m_prepared.cend())
        return *at;
    // Statements differ by table and columns, not by the values typed, so
    // there are few; a bound keeps a long session's server memory small all
    // the same.
    constexpr int kept = 256;
    if (m_prepared.size() >= kept) {
        run(QStringLiteral("DEALLOCATE ALL"));
        m_prepared.clear();
    }
    const QByteArray name = "tk" + QByteArray::number(++m_preparedSerial);
    checked(PQprepare(m_conn, name.constData(), sql.toUtf8().constData(), 0, nullptr));
    return *m_prepared.insert(sql, name);
}

PgResult PgConnection::checked(pg_result *r) const
{
    const ExecStatusType status = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(r);
    return PgResult(r);
}

void PgConnection::run(const QString &script)
{
    reconnectIfLost();
    checked(PQexec(m_conn, script.toUtf8().constData()));
}

void PgConnection::inTransaction(const std::function<void()> &work, const QString &begin)
{
    // A lost connection knows no transaction: made anew first, or its work
    // would run statement by statement on the new one, each kept alone.
    reconnectIfLost();
    if (PQtransactionStatus(m_conn) != PQTRANS_IDLE) {
        work();
        return;
    }
    run(begin);
    try {
        work();
        run(QStringLiteral("COMMIT"));
    } catch (...) {
        PQclear(PQexec(m_conn, "ROLLBACK")); // the first error is the one to report
        throw;
    }
}

void PgConnection::copyIn(const QString &copyStatement, const QByteArray &data)
{
    reconnectIfLost();
    pg_result *r = PQexec(m_conn, copyStatement.toUtf8().constData());
    if (!r || PQresultStatus(r) != PGRES_COPY_IN)
        fail(r);
    PQclear(r);
    constexpr qsizetype chunk = 1 << 20;
    for (qsizetype at = 0; at < data.size(); at += chunk)
        if (PQputCopyData(m_conn, data.constData() + at, int(std::min(chunk, data.size() - at))) != 1)
            fail(nullptr);
    if (PQputCopyEnd(m_conn, nullptr) != 1)
        fail(nullptr);
    while ((r = PQgetResult(m_conn))) {
        if (PQresultStatus(r) != PGRES_COMMAND_OK) {
            // drain the rest before reporting
            while (pg_result *rest = PQgetResult(m_conn))
                PQclear(rest);
            fail(r);
        }
        PQclear(r);
    }
}

} // namespace tk
