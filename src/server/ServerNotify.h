#pragma once
// Desks on one server hear of each other's writes: a trigger on every table
// notifies the channel with the table's name after each statement that
// changed it, and a desk listening on the channel reloads what shows it.
#include <QString>
#include <QStringList>

namespace tk {

// The channel every desk listens on.
inline constexpr const char *changeChannel = "tekvanis_degisiklik";

class PgConnection;

// The trigger function and one trigger per table, made with the schema.
QStringList serverNotifyStatements();

// Books made on a server before desks heard of each other carry the same
// schema version without the triggers: they get the missing ones.
void addMissingNotifyTriggers(PgConnection &db);

} // namespace tk
