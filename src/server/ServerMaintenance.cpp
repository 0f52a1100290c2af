#include "ServerMaintenance.h"

#include "PgConnection.h"

namespace tk {

qint64 serverBooksSize(PgConnection &db)
{
    return QByteArray(db.exec(QStringLiteral("SELECT pg_database_size(current_database())")).value(0, 0)).toLongLong();
}

void vacuumAnalyze(PgConnection &db)
{
    // VACUUM refuses to run inside a transaction block.
    db.run(QStringLiteral("VACUUM ANALYZE"));
}

} // namespace tk
