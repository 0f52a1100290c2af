#pragma once
// Short-lived connections of the maintenance work to a database file, opened
// with the raw engine interface and closed when they go out of scope.
#include "core/Error.h"

#include <QString>
#include <memory>

struct sqlite3;

namespace tk {

struct CloseEngineConnection {
    void operator()(sqlite3 *db) const;
};
using EngineConnection = std::unique_ptr<sqlite3, CloseEngineConnection>;

// Opens `path` with the engine's open flags; a failure is an Error starting
// with `what` and naming `shownPath`.
EngineConnection openEngineFile(const QString &path, int flags, const QString &what, const QString &shownPath);

// An Error with `what`, the file and the engine's reason (from `db` when
// given, otherwise from the return code).
Error engineFailure(const QString &what, const QString &path, sqlite3 *db, int rc);

// Runs PRAGMA integrity_check; the empty text means the database is sound,
// otherwise the engine's first complaint.
QString integrityProblem(sqlite3 *db);

} // namespace tk
