#include "PgCluster.h"

#include "core/Error.h"
#include "server/PgConnection.h"

#include <QCollator>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QUrl>

#include <libpq-fe.h>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace tk::test {

namespace {

const char *const superuser = "tk";

bool giveFolder(const QString &path, unsigned uid, unsigned gid)
{
    return ::chown(QFile::encodeName(path).constData(), uid, gid) == 0;
}

} // namespace

QString PgCluster::serverPrograms()
{
    QDir root(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = root.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(versions.begin(), versions.end(), [&](const QString &a, const QString &b) { return numeric.compare(a, b) > 0; });
    for (const QString &v : versions) {
        const QString bin = root.filePath(v + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/postgres")))
            return bin;
    }
    return {};
}

// The command line that runs `program` as the server's user; the server
// itself also gets a signal when this process dies, so it never outlives a
// crashed test.
QStringList PgCluster::asServerUser(const QString &program, const QStringList &args) const
{
    QStringList line = {QStringLiteral("setpriv")};
    if (m_asOther)
        line << QStringLiteral("--reuid=%1").arg(m_uid) << QStringLiteral("--regid=%1").arg(m_gid)
             << QStringLiteral("--clear-groups");
    line << QStringLiteral("--pdeathsig=TERM") << m_bin + QLatin1Char('/') + program;
    return line + args;
}

void PgCluster::runToEnd(const QString &program, const QStringList &args) const
{
    QProcess p;
    const QStringList line = asServerUser(program, args);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(line.first(), line.mid(1));
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        throw Error(QStringLiteral("%1 başarısız: %2").arg(program, QString::fromLocal8Bit(p.readAll())));
}

PgCluster::PgCluster(bool durable) : m_dir(QStringLiteral("/tmp/tk-pg-XXXXXX")), m_bin(serverPrograms())
{
    if (m_bin.isEmpty())
        throw Error(QStringLiteral("PostgreSQL sunucusu kurulu değil (/usr/lib/postgresql/*/bin)."));
    if (!m_dir.isValid())
        throw Error(QStringLiteral("Geçici klasör açılamadı: %1").arg(m_dir.errorString()));
    if (::geteuid() == 0) {
        const passwd *nobody = ::getpwnam("nobody");
        if (!nobody)
            throw Error(QStringLiteral("Sunucuyu root olmadan çalıştıracak 'nobody' kullanıcısı yok."));
        m_asOther = true;
        m_uid = nobody->pw_uid;
        m_gid = nobody->pw_gid;
        if (!giveFolder(m_dir.path(), m_uid, m_gid))
            throw Error(QStringLiteral("%1 klasörü sunucunun kullanıcısına verilemedi.").arg(m_dir.path()));
    }
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString data = m_dir.filePath(QStringLiteral("data"));
    runToEnd(QStringLiteral("initdb"), {QStringLiteral("-D"), data, QStringLiteral("-U"), QLatin1String(superuser),
                                        QStringLiteral("--auth=trust"), QStringLiteral("--encoding=UTF8"),
                                        QStringLiteral("--locale=C.UTF-8"), QStringLiteral("--no-sync")});
    m_durable = durable;
    start();
}

void PgCluster::start()
{
    const QString data = m_dir.filePath(QStringLiteral("data"));
    QStringList options = {QStringLiteral("-D"), data, QStringLiteral("-k"), m_dir.path(),
                           QStringLiteral("-c"), QStringLiteral("listen_addresses="),
                           QStringLiteral("-c"), QStringLiteral("logging_collector=off")};
    if (!m_durable)
        options << QStringLiteral("-c") << QStringLiteral("fsync=off") << QStringLiteral("-c")
                << QStringLiteral("synchronous_commit=off") << QStringLiteral("-c")
                << QStringLiteral("full_page_writes=off");
    const QStringList line = asServerUser(QStringLiteral("postgres"), options);
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.setStandardOutputFile(m_dir.filePath(QStringLiteral("server.log")), QIODevice::Append);
    m_server.start(line.first(), line.mid(1));

    QElapsedTimer waited;
    waited.start();
    const QByteArray conninfo = address().toUtf8();
    while (PQping(conninfo.constData()) != PQPING_OK) {
        if (m_server.state() == QProcess::NotRunning || waited.elapsed() > 60000) {
            QFile log(m_dir.filePath(QStringLiteral("server.log")));
            log.open(QIODevice::ReadOnly);
            throw Error(QStringLiteral("PostgreSQL sunucusu başlamadı:\n%1").arg(QString::fromLocal8Bit(log.readAll())));
        }
        QThread::msleep(50);
    }
}

PgCluster::~PgCluster() { stop(); }

void PgCluster::stop()
{
    if (m_server.state() != QProcess::NotRunning) {
        // A fast shutdown: open connections are ended, nothing is kept.
        ::kill(pid_t(m_server.processId()), SIGINT);
        if (!m_server.waitForFinished(30000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
    }
}

QString PgCluster::socketFolder() const { return m_dir.path(); }

QString PgCluster::address(const QString &database) const
{
    // The socket's folder as the host; no TCP anywhere.
    return QStringLiteral("postgresql://%1@/%2?host=%3")
        .arg(QLatin1String(superuser), database, QString::fromUtf8(QUrl::toPercentEncoding(m_dir.path())));
}

QString PgCluster::createDatabase(const QString &name)
{
    PgConnection db(address());
    db.run(QStringLiteral("CREATE DATABASE \"%1\" TEMPLATE template0 ENCODING 'UTF8'").arg(name));
    return address(name);
}

} // namespace tk::test
