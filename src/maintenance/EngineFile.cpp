#include "EngineFile.h"

#include "data/Connection.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

namespace tk {

void CloseEngineConnection::operator()(sqlite3 *db) const { sqlite3_close_v2(db); }

Error engineFailure(const QString &what, const QString &path, sqlite3 *db, int rc)
{
    const QString reason = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    return Error(QStringLiteral("%1: %2\n%3").arg(what, QDir::toNativeSeparators(path), reason));
}

EngineConnection openEngineFile(const QString &path, int flags, const QString &what, const QString &shownPath)
{
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    EngineConnection db(raw);
    if (rc != SQLITE_OK)
        throw engineFailure(what, shownPath, db.get(), rc);
    registerStatementFunctions(db.get());
    return db;
}

namespace {

bool lockedByAnother(int rc)
{
    const int primary = rc & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

Error inUse(sqlite3 *db)
{
    const char *name = sqlite3_db_filename(db, "main");
    return Error(QStringLiteral("Veritabanı kullanımda: %1\n%2")
                     .arg(QDir::toNativeSeparators(QString::fromUtf8(name ? name : "")),
                          QStringLiteral("Başka bir program dosyayı kilitlemiş; o program kapandıktan sonra yeniden deneyin.")));
}

} // namespace

QString integrityProblem(sqlite3 *db)
{
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check(1)", -1, &statement, nullptr);
    if (lockedByAnother(rc))
        throw inUse(db);
    if (rc != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(db));
    QString problem;
    rc = sqlite3_step(statement);
    if (rc == SQLITE_ROW) {
        const auto *answer = reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        const QString text = QString::fromUtf8(answer ? answer : "");
        if (text != QLatin1String("ok"))
            problem = text.isEmpty() ? QStringLiteral("?") : text;
    } else if (!lockedByAnother(rc)) {
        problem = QString::fromUtf8(sqlite3_errmsg(db));
    }
    sqlite3_finalize(statement);
    if (lockedByAnother(rc))
        throw inUse(db);
    return problem;
}

} // namespace tk
