#pragma once
// Making a new, empty database file with the program's tables.
#include <QString>

namespace tk {

// Creates the database file `path` with every table of the program, in one
// transaction. Refuses (tk::Error naming the path) when the file already
// exists, and leaves no file behind when it fails.
void createDatabaseFile(const QString &path);

// The table definitions the file is made from (the compiled-in schema.sql).
QString databaseSchema();
// All a new file is made from: the tables, the indexes on Turkish order keys
// and the newest schema version.
QString newestSchemaScript();

} // namespace tk
