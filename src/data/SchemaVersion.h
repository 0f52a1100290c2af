#pragma once
// Versions of the program's tables. A file carries its version in
// PRAGMA user_version; new files are made at the newest version, and one list
// of steps brings an older file forward when it is opened. A store on another
// engine carries the same numbers and takes the same steps.
#include <QString>
#include <QStringList>
#include <QVector>

struct sqlite3;

namespace tk {

struct SchemaStep {
    int toVersion;          // brings a file from toVersion - 1 to toVersion
    QString what;           // what changes, for people reading the list
    QStringList statements; // in SQLite's words, run in one transaction
};

// Every step, in order; the last one's target is the newest version.
const QVector<SchemaStep> &schemaSteps();
int newestSchemaVersion();

// The version written in an open file (0 for a file this program did not make).
int schemaVersionOf(sqlite3 *db);

// Throws DatabaseError naming `path` (shown to the user) when this program
// cannot work on a file of `version`: 0, or newer than it knows.
void requireKnownSchemaVersion(int version, const QString &path);

// Brings the database file at `path` to the newest version, when it is older:
// checks its integrity, keeps a copy beside it until every step has
// succeeded, and runs each step in one transaction with foreign keys off and
// checked before the commit. A file at 0 or at a newer version is refused and
// left as it was. A missing file is left to the opener to report.
void upgradeDataFile(const QString &path);
// The same with a given list of steps.
void upgradeDataFile(const QString &path, const QVector<SchemaStep> &steps);

} // namespace tk
