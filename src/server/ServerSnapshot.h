#pragma once
// The server's books written out as a new Data.dat, keys kept (a master's
// SiraNo, a detail's Anahtar as its row id), read in one REPEATABLE READ
// transaction so that every table shows the same moment while other desks
// go on writing. The file opens anywhere, as any Data.dat does.
#include "ServerCopy.h" // CopyProgress

#include <QString>

namespace tk {

class PgConnection;

// Makes `path` (which must not exist) from the server's books; on failure no
// file is left behind. Throws tk::Error with the reason.
void copyServerToDataFile(PgConnection &db, const QString &path, const CopyProgress &progress = {});

} // namespace tk
