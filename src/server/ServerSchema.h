#pragma once
// The program's tables on a PostgreSQL server, made from the same schema.sql
// the file is made from: the same tables and columns, plus a key column of
// its own on every table (a master's SiraNo; "Anahtar" on the others, which
// the file keys by its hidden row id). Text columns sort and compare with
// the ICU Turkish collation; detail rows go with their master.
#include "data/Field.h"
#include "data/SchemaVersion.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace tk {

class PgConnection;

// The collation of every text column on the server.
inline constexpr const char *serverTextCollation = "\"tr-TR-x-icu\"";

struct ServerColumn {
    QString name;
    QString declared; // the file's declared type ("TEXT", "MEMO TEXT", "DATE", ...)
    FieldDef field() const { return {name, fieldKindFromDeclaredType(declared)}; }
};

struct ServerTable {
    QString name;
    QVector<ServerColumn> columns; // as on the file, without a key of the server's own
    QString master;                // the table whose SiraNo a detail row carries
    QString key;                   // SiraNo, or Anahtar where the file keys by row id
    bool keyIsColumn() const { return key.compare(QLatin1String("SiraNo"), Qt::CaseInsensitive) == 0; }
    QVector<FieldDef> fields() const;
};

// The tables of schema.sql, in its order (masters before their details).
const QVector<ServerTable> &serverTables();
// Matched without regard to case, as the server's unquoted names; null when unknown.
const ServerTable *serverTable(const QString &name);

// Everything a new server database is made from, at the newest version.
QStringList serverSchemaStatements();

// The steps after the first version a server was made at, in the server's
// words; each file step from then on has one here with the same target.
const QVector<SchemaStep> &serverSchemaSteps();
// The version the first servers were made at.
inline constexpr int firstServerSchemaVersion = 3;

// The version the server's books carry (0 when the program's tables are missing).
int serverSchemaVersion(PgConnection &db);
// Makes the tables in the connected (empty) database, in one transaction.
// Refuses a database that already holds them.
void createServerSchema(PgConnection &db);
// Refuses unknown versions as the file does and brings an older one forward,
// the notify triggers included (ServerNotify.h).
void upgradeServerSchema(PgConnection &db);

} // namespace tk
