#include "ServerCheck.h"

#include "PgConnection.h"
#include "ServerSchema.h"
#include "data/SchemaVersion.h"

#include <QUrl>

#include <libpq-fe.h>

#include <memory>

namespace tk {

namespace {

struct Conninfo {
    PQconninfoOption *options = nullptr;
    ~Conninfo() { PQconninfoFree(options); }
    QString value(const char *keyword) const
    {
        for (PQconninfoOption *o = options; o && o->keyword; ++o)
            if (qstrcmp(o->keyword, keyword) == 0 && o->val)
                return QString::fromUtf8(o->val);
        return {};
    }
};

// "defter, /run/postgresql:5432" whatever form the address was written in.
QString serverName(const QString &address)
{
    Conninfo c;
    c.options = PQconninfoParse(address.toUtf8().constData(), nullptr);
    const QString host = c.value("host").isEmpty() ? QStringLiteral("localhost") : c.value("host");
    const QString port = c.value("port").isEmpty() ? QStringLiteral("5432") : c.value("port");
    const QString database = c.value("dbname").isEmpty() ? c.value("user") : c.value("dbname");
    return QStringLiteral("\"%1\" veritabanı (%2, kapı %3)").arg(database, host, port);
}

ServerCheck failure(ServerProblem p, const QString &text) { return {p, text}; }

} // namespace

ServerCheck checkServer(const QString &address)
{
    const QString name = serverName(address);
    if (pingServer(address) == PQPING_NO_RESPONSE)
        return failure(ServerProblem::Unreachable,
                       QStringLiteral("Sunucuya ulaşılamadı: %1.\nSunucu çalışıyor mu, makine adı ve kapı doğru mu?").arg(name));
    std::unique_ptr<pg_conn, void (*)(pg_conn *)> conn(connectToServer(address), &PQfinish);
    if (PQstatus(conn.get()) != CONNECTION_OK) {
        const QString why = QString::fromUtf8(PQerrorMessage(conn.get())).trimmed();
        if (PQconnectionNeedsPassword(conn.get()))
            return failure(ServerProblem::NeedsPassword,
                           QStringLiteral("Sunucu şifre istiyor: %1.\nŞifreyi parola dosyasına (~/.pgpass) yazın ya da "
                                          "program açılırken girin.").arg(name));
        if (why.contains(QLatin1String("password authentication failed")) || why.contains(QLatin1String("authentication failed")))
            return failure(ServerProblem::WrongPassword,
                           QStringLiteral("Şifre yanlış: sunucu %1 için kullanıcıyı ya da şifreyi kabul etmedi.").arg(name));
        if (why.contains(QLatin1String("does not exist")) && why.contains(QLatin1String("database")))
            return failure(ServerProblem::NoDatabase, QStringLiteral("Sunucuda böyle bir veritabanı yok: %1.").arg(name));
        return failure(ServerProblem::Other, QStringLiteral("Sunucuya bağlanılamadı: %1.\n%2").arg(name, why));
    }
    try {
        PgConnection db(address);
        const int version = serverSchemaVersion(db);
        if (version == 0)
            return failure(ServerProblem::NoSchema,
                           QStringLiteral("%1 içinde programın tabloları yok.\nÖnce tekvanis-initdb ile oluşturun.").arg(name));
        if (version > newestSchemaVersion() || version < firstServerSchemaVersion)
            return failure(ServerProblem::OtherVersion,
                           QStringLiteral("%1 bu programın tanımadığı bir sürümde (%2; bu program %3 sürümünü kullanıyor).")
                               .arg(name)
                               .arg(version)
                               .arg(newestSchemaVersion()));
        if (version < newestSchemaVersion())
            return {ServerProblem::None,
                    QStringLiteral("Bağlantı kuruldu: %1.\nTablolar eski bir sürümde (%2); program açılırken güncellenecek.")
                        .arg(name)
                        .arg(version)};
    } catch (const DatabaseError &e) {
        return failure(ServerProblem::Other, QStringLiteral("Sunucuya bağlanılamadı: %1.\n%2").arg(name, e.text()));
    }
    return {ServerProblem::None, QStringLiteral("Bağlantı kuruldu: %1.").arg(name)};
}

QString withPassword(const QString &address, const QString &password)
{
    return address + QLatin1Char(address.contains(QLatin1Char('?')) ? '&' : '?') + QStringLiteral("password=")
           + QString::fromLatin1(QUrl::toPercentEncoding(password));
}

} // namespace tk
