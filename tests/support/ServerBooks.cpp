#include "ServerBooks.h"

#include "PgCluster.h"
#include "data/StoreOpener.h"
#include "server/PgStatement.h"
#include "server/PgStore.h"
#include "server/ServerCopy.h"
#include "server/ServerSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <libpq-fe.h>

#include <memory>

namespace tk::test {

namespace {

// One server for the whole test process, started with its first books.
PgCluster &server()
{
    static std::unique_ptr<PgCluster> cluster = std::make_unique<PgCluster>();
    return *cluster;
}

QString absolute(const QString &path) { return QFileInfo(path).absoluteFilePath(); }

} // namespace

bool testsOnServer() { return qEnvironmentVariable("TK_TEST_ENGINE") == QLatin1String("postgresql"); }

ServerBooks::ServerBooks(const QString &path)
{
    static int made = 0;
    m_address = server().createDatabase(QStringLiteral("defter%1").arg(++made));
    {
        PgConnection db(m_address);
        db.inTransaction([&] {
            createServerSchema(db);
            copyDataFileToServer(path, db);
        });
    }
    const QString file = absolute(path);
    const QString address = m_address;
    m_registration = registerStoreOpener([file](const QString &where) { return absolute(where) == file; },
                                         [address](const QString &) -> std::unique_ptr<Store> {
                                             return std::make_unique<PgStore>(address);
                                         });
}

ServerBooks::~ServerBooks() { unregisterStoreOpener(m_registration); }

QString serverCheckStatement(const QString &sql)
{
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression rowid(QStringLiteral("\\browid\\b"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression typeOf(QStringLiteral("\\btypeof\\((\\w+)\\)"), QRegularExpression::CaseInsensitiveOption);
    // the file's printf('K%05d', x) and date('…', '-' || x || ' days') of the tests' sample rows
    static const QRegularExpression padded(QStringLiteral("printf\\('([^'%]*)%0(\\d+)d',\\s*(\\w+)\\)"));
    static const QRegularExpression daysBefore(
        QStringLiteral("date\\('([0-9-]+)',\\s*'-'\\s*\\|\\|\\s*(\\w+)\\s*\\|\\|\\s*' days'\\)"));
    // a single table read without an order comes in key order, as on the file
    static const QRegularExpression unordered(
        QStringLiteral("^\\s*SELECT\\s+(?!.*\\b(ORDER|GROUP|JOIN|UNION|count|sum|min|max|avg|total)\\b)[^;]*\\bFROM\\s+\\w+(\\s+WHERE\\s+[^;]*?)?(?=\\s+LIMIT\\b|\\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression character(QStringLiteral("\\bchar\\("), QRegularExpression::CaseInsensitiveOption);
    QString out = sql;
    out.replace(character, QStringLiteral("chr("));
    out.replace(padded, QStringLiteral("('\\1' || lpad((\\3)::text, \\2, '0'))"));
    out.replace(daysBefore, QStringLiteral("(date '\\1' - \\2)"));
    const ServerTable *t = serverTable(from.match(out).captured(1));
    if (t) {
        out.replace(rowid, t->key);
        const auto m = unordered.match(out);
        if (m.hasMatch())
            out.insert(m.capturedEnd(0), QStringLiteral(" ORDER BY ") + t->key);
    }
    if (out.contains(QLatin1String("||")) && out.trimmed().startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive)) {
        QSet<QString> reals;
        for (const ServerTable &table : serverTables())
            for (const ServerColumn &c : table.columns)
                if (c.field().kind == FieldKind::Real)
                    reals.insert(c.name);
        for (const QString &name : std::as_const(reals))
            out.replace(QRegularExpression(QStringLiteral("(?<![\\w.'])(?<!FROM )(?<!JOIN )(\\w+\\.)?%1\\b(?!\\s*\\()").arg(name)),
                        QStringLiteral("(CASE WHEN \\1%1 = trunc(\\1%1) THEN \\1%1::bigint::text || '.0' "
                                       "ELSE \\1%1::text END)").arg(name));
    }
    out = serverStatement(out);
    out.replace(typeOf, QStringLiteral("(CASE WHEN \\1 IS NULL THEN 'null' WHEN pg_typeof(\\1)::text IN "
                                       "('bigint', 'integer', 'smallint') THEN 'integer' WHEN "
                                       "pg_typeof(\\1)::text = 'double precision' THEN 'real' ELSE 'text' END)"));
    return out;
}

QVariantList ServerBooks::column(const QString &sql) const
{
    QVariantList out;
    PgConnection db(m_address);
    PgResult r;
    try {
        r = db.exec(serverCheckStatement(sql));
    } catch (const DatabaseError &e) {
        qWarning("query failed: %s", qPrintable(e.text()));
        return out;
    }
    const Oid type = PQftype(r.get(), 0);
    for (int i = 0; i < r.rows(); ++i) {
        if (r.isNull(i, 0)) {
            out << QVariant();
            continue;
        }
        const QByteArray v(r.value(i, 0), r.length(i, 0));
        switch (type) {
        case 20: case 21: case 23: // integers
            out << QVariant(v.toLongLong());
            break;
        case 700: case 701: case 1700: // reals, sums
            out << QVariant(v.toDouble());
            break;
        case 16:
            out << QVariant(qlonglong(v == "t"));
            break;
        default:
            out << QVariant(QString::fromUtf8(v));
        }
    }
    return out;
}

void ServerBooks::exec(const QString &sql) const
{
    // as on the file: a failed statement is a warning; the checks after it tell
    try {
        PgConnection db(m_address);
        db.run(serverCheckStatement(sql));
    } catch (const DatabaseError &e) {
        qWarning("exec failed: %s", qPrintable(e.text()));
    }
}

} // namespace tk::test
