#include "DatabaseChoice.h"

#include "core/ProfileFile.h"

#include <QDir>
#include <QUrl>

namespace tk {

namespace {

const QString section = QStringLiteral("Veritabani");

QString encoded(const QString &text) { return QString::fromLatin1(QUrl::toPercentEncoding(text)); }

} // namespace

QString DatabaseChoice::address() const
{
    // Joined, not formatted: the encoded texts hold "%2F" and the like.
    QString out = QStringLiteral("postgresql:///") + encoded(database) + QStringLiteral("?host=") + encoded(host)
                  + QStringLiteral("&port=") + QString::number(port);
    if (!user.isEmpty())
        out += QStringLiteral("&user=") + encoded(user);
    return out;
}

DatabaseChoice DatabaseChoice::read(const QString &configFolder)
{
    const ProfileSnapshot ini(QDir(configFolder).filePath(fileName()));
    DatabaseChoice c;
    c.onServer = ini.readString(section, QStringLiteral("Tur"), QStringLiteral("Dosya")) == QLatin1String("Sunucu");
    c.host = ini.readString(section, QStringLiteral("Sunucu"), c.host);
    c.port = ini.readInteger(section, QStringLiteral("Kapi"), c.port);
    c.database = ini.readString(section, QStringLiteral("Veritabani"), c.database);
    c.user = ini.readString(section, QStringLiteral("Kullanici"), c.user);
    return c;
}

void DatabaseChoice::write(const QString &configFolder) const
{
    QDir().mkpath(configFolder);
    ProfileSnapshot ini(QDir(configFolder).filePath(fileName()));
    ini.writeString(section, QStringLiteral("Tur"), onServer ? QStringLiteral("Sunucu") : QStringLiteral("Dosya"));
    ini.writeString(section, QStringLiteral("Sunucu"), host);
    ini.writeInteger(section, QStringLiteral("Kapi"), port);
    ini.writeString(section, QStringLiteral("Veritabani"), database);
    ini.writeString(section, QStringLiteral("Kullanici"), user);
    ini.save();
}

} // namespace tk
