#pragma once
// A private PostgreSQL server for the tests and the benchmark: a cluster made
// with initdb in a temporary folder, reached only through a Unix socket in
// that folder (no TCP), stopped and removed when the object goes, and also
// when the process that started it dies. The server refuses to run as root,
// so under root (as CI runs) it runs as "nobody", who is given the 0700
// folder. Its programs come from Debian's place, not from PATH.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace tk::test {

class PgCluster {
public:
    // The newest /usr/lib/postgresql/<version>/bin holding initdb and
    // postgres; empty when no server is installed.
    static QString serverPrograms();

    // Starts the server; throws tk::Error with the server's log when it
    // cannot. `durable` keeps the server's own defaults (fsync, synchronous
    // commit) for measurements; tests run without them.
    explicit PgCluster(bool durable = false);
    ~PgCluster();
    PgCluster(const PgCluster &) = delete;
    PgCluster &operator=(const PgCluster &) = delete;

    // A fast shutdown (open connections are ended), and the start again on
    // the same data, for tests of a server that goes away.
    void stop();
    void start();

    // The folder of the server's socket: its "host".
    QString socketFolder() const;
    // The address of `database` on this server.
    QString address(const QString &database = QStringLiteral("postgres")) const;
    // A new, empty database; returns its address.
    QString createDatabase(const QString &name);

private:
    QStringList asServerUser(const QString &program, const QStringList &args) const;
    void runToEnd(const QString &program, const QStringList &args) const;
    QTemporaryDir m_dir;
    QString m_bin;
    QProcess m_server;
    unsigned m_uid = 0, m_gid = 0;
    bool m_asOther = false;
    bool m_durable = false;
};

} // namespace tk::test
