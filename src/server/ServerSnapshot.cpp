#include "ServerSnapshot.h"

#include "PgConnection.h"
#include "ServerSchema.h"
#include "data/Connection.h"
#include "data/Schema.h"

#include <QFile>

#include <sqlite3.h>

#include <cmath>
#include <limits>

namespace tk {

namespace {

struct Insert {
    sqlite3_stmt *stmt = nullptr;
    ~Insert() { sqlite3_finalize(stmt); }
};

double realFromServer(const QByteArray &text)
{
    if (text == "Infinity")
        return std::numeric_limits<double>::infinity();
    if (text == "-Infinity")
        return -std::numeric_limits<double>::infinity();
    return text.toDouble();
}

// One server cell bound as the file keeps its column's kind.
void bindCell(Connection &file, sqlite3_stmt *stmt, int index, const PgResult &r, int row, int column, FieldKind kind)
{
    if (r.isNull(row, column)) {
        file.check(sqlite3_bind_null(stmt, index));
        return;
    }
    const QByteArray text(r.value(row, column), r.length(row, column));
    switch (kind) {
    case FieldKind::Integer:
    case FieldKind::Boolean:
        file.check(sqlite3_bind_int64(stmt, index, text.toLongLong()));
        return;
    case FieldKind::Real:
        file.check(sqlite3_bind_double(stmt, index, realFromServer(text)));
        return;
    default:
        file.check(sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT));
    }
}

qint64 copyTable(PgConnection &db, Connection &file, const ServerTable &t)
{
    QStringList names;
    for (const ServerColumn &c : t.columns)
        names << c.name;
    // The key first where the file keeps it as the hidden row id.
    const bool rowIdKey = !t.keyIsColumn();
    const QString selected = (rowIdKey ? t.key + QLatin1Char(',') : QString()) + names.join(QLatin1Char(','));
    const QString target = (rowIdKey ? QStringLiteral("rowid,") : QString()) + names.join(QLatin1Char(','));
    QStringList marks;
    for (int i = 0; i < names.size() + (rowIdKey ? 1 : 0); ++i)
        marks << QStringLiteral("?");
    Insert insert;
    const QByteArray sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(t.name, target, marks.join(QLatin1Char(','))).toUtf8();
    file.check(sqlite3_prepare_v2(file.handle(), sql.constData(), int(sql.size()), &insert.stmt, nullptr));

    const QVector<FieldDef> fields = t.fields();
    db.exec(QStringLiteral("DECLARE tk_snapshot NO SCROLL CURSOR FOR SELECT %1 FROM %2 ORDER BY %3")
                .arg(selected, t.name, t.key));
    qint64 rows = 0;
    for (;;) {
        const PgResult r = db.exec(QStringLiteral("FETCH FORWARD 5000 FROM tk_snapshot"));
        if (r.rows() == 0)
            break;
        for (int row = 0; row < r.rows(); ++row) {
            int column = 0;
            if (rowIdKey) {
                bindCell(file, insert.stmt, 1, r, row, 0, FieldKind::Integer);
                column = 1;
            }
            for (int c = 0; c < fields.size(); ++c)
                bindCell(file, insert.stmt, column + c + 1, r, row, column + c, fields[c].kind);
            const int rc = sqlite3_step(insert.stmt);
            if (rc != SQLITE_DONE)
                file.check(rc);
            file.check(sqlite3_reset(insert.stmt));
            ++rows;
        }
    }
    db.exec(QStringLiteral("CLOSE tk_snapshot"));
    return rows;
}

void removeDatabaseFile(const QString &path)
{
    for (const char *suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

void copyServerToDataFile(PgConnection &db, const QString &path, const CopyProgress &progress)
{
    createDatabaseFile(path);
    try {
        Connection file(path);
        file.exec(QStringLiteral("BEGIN"));
        try {
            db.inTransaction(
                [&] {
                    for (const ServerTable &t : serverTables()) {
                        const qint64 rows = copyTable(db, file, t);
                        if (progress)
                            progress(t.name, rows);
                    }
                },
                QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
            file.exec(QStringLiteral("COMMIT"));
        } catch (...) {
            sqlite3_exec(file.handle(), "ROLLBACK", nullptr, nullptr, nullptr); // the first error is the one to report
            throw;
        }
    } catch (...) {
        removeDatabaseFile(path);
        throw;
    }
}

} // namespace tk
