#pragma once
// Which books this desk works on: the Data.dat in the program folder, or a
// database on a PostgreSQL server. The choice is the desk's own and lives in
// sunucu.ini in the configuration folder, apart from S-Veri.ini (which the
// program folder may share with other desks). No password is ever kept here:
// libpq's password file holds it, or the program asks at start.
#include <QString>

namespace tk {

struct DatabaseChoice {
    bool onServer = false;
    QString host = QStringLiteral("localhost"); // a name, an address, or a socket folder ("/run/postgresql")
    int port = 5432;
    QString database = QStringLiteral("tekvanis");
    QString user;

    // "postgresql:///tekvanis?host=localhost&port=5432&user=kasa"
    QString address() const;
    bool operator==(const DatabaseChoice &) const = default;

    static QString fileName() { return QStringLiteral("sunucu.ini"); }
    // The choice kept in `configFolder`; a desk without the file works on Data.dat.
    static DatabaseChoice read(const QString &configFolder);
    // Throws tk::Error when the file cannot be written.
    void write(const QString &configFolder) const;
};

} // namespace tk
