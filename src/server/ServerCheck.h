#pragma once
// Trying a server's books before working on them, for the settings page's
// "Bağlantıyı sına" and for the start: what failed, in the user's words.
#include <QString>

namespace tk {

enum class ServerProblem {
    None,
    Unreachable,     // nothing answers at the host and port
    NeedsPassword,   // the server asks a password that was not given
    WrongPassword,
    NoDatabase,
    NoSchema,        // the database has none of the program's tables
    OtherVersion,    // made by a newer program
    Other,
};

struct ServerCheck {
    ServerProblem problem = ServerProblem::None;
    QString message; // Turkish, naming the server; a success says so too
    bool ok() const { return problem == ServerProblem::None; }
};

// Connects to `address`, reads the schema version and lets go.
ServerCheck checkServer(const QString &address);

// `address` with the password added for this run only (never written anywhere).
QString withPassword(const QString &address, const QString &password);

} // namespace tk
