#include "ServerCopy.h"

#include "PgConnection.h"
#include "ServerSchema.h"
#include "data/Connection.h"

#include <QFile>

#include <sqlite3.h>

#include <cmath>

namespace tk {

namespace {

struct Handle {
    sqlite3 *db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
};
struct Statement {
    sqlite3_stmt *stmt = nullptr;
    ~Statement() { sqlite3_finalize(stmt); }
};

// A cell in COPY's text form: \N for null, the four special characters escaped.
void appendCopyText(QByteArray &out, const char *text, int size)
{
    for (int i = 0; i < size; ++i) {
        switch (text[i]) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += text[i];
        }
    }
}

void appendCell(QByteArray &out, sqlite3_stmt *stmt, int c, FieldKind kind)
{
    if (sqlite3_column_type(stmt, c) == SQLITE_NULL) {
        out += "\\N";
        return;
    }
    if (kind == FieldKind::Real) {
        const double d = sqlite3_column_double(stmt, c);
        out += std::isinf(d) ? QByteArray(d > 0 ? "Infinity" : "-Infinity") : QByteArray::number(d, 'g', 17);
        return;
    }
    appendCopyText(out, reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)), sqlite3_column_bytes(stmt, c));
}

qint64 copyTable(sqlite3 *file, PgConnection &db, const ServerTable &t)
{
    QStringList names;
    for (const ServerColumn &c : t.columns)
        names << c.name;
    Statement s;
    const QByteArray select =
        QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid").arg(names.join(QLatin1Char(',')), t.name).toUtf8();
    if (sqlite3_prepare_v2(file, select.constData(), -1, &s.stmt, nullptr) != SQLITE_OK)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(file)));
    QByteArray data;
    qint64 rows = 0;
    int rc;
    while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        ++rows;
        if (!t.keyIsColumn()) {
            data += QByteArray::number(sqlite3_column_int64(s.stmt, 0));
            data += '\t';
        }
        for (int c = 0; c < t.columns.size(); ++c) {
            if (c)
                data += '\t';
            appendCell(data, s.stmt, c + 1, t.columns[c].field().kind);
        }
        data += '\n';
    }
    if (rc != SQLITE_DONE)
        throw DatabaseError(QString::fromUtf8(sqlite3_errmsg(file)));
    if (!t.keyIsColumn())
        names.prepend(t.key);
    db.copyIn(QStringLiteral("COPY %1 (%2) FROM STDIN").arg(t.name, names.join(QLatin1Char(','))), data);
    db.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), max(%2)) FROM %1 HAVING count(*) > 0")
                .arg(t.name.toLower(), t.key.toLower()));
    return rows;
}

} // namespace

void copyDataFileToServer(const QString &path, PgConnection &db, const CopyProgress &progress)
{
    Handle file;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &file.db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw DatabaseError(QStringLiteral("%1\n%2").arg(QString::fromUtf8(sqlite3_errmsg(file.db)), path));
    registerStatementFunctions(file.db); // waits while a desk writes to the file
    db.inTransaction([&] {
        for (const ServerTable &t : serverTables()) {
            const qint64 rows = copyTable(file.db, db, t);
            if (progress)
                progress(t.name, rows);
        }
    });
}

} // namespace tk
