#pragma once
// The server's own upkeep of the books, for the maintenance dialog: the
// space they take on the server, and VACUUM ANALYZE, which frees the room of
// deleted and replaced rows and renews the planner's figures. The server
// does it while other desks go on working; nothing is restarted.
#include <QtGlobal>

namespace tk {

class PgConnection;

// Bytes the connected database takes on the server.
qint64 serverBooksSize(PgConnection &db);
// Throws DatabaseError with the server's reason.
void vacuumAnalyze(PgConnection &db);

} // namespace tk
