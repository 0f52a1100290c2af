#include "Schema.h"

#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

// Q_INIT_RESOURCE must not be called inside a namespace.
static void initSchemaResource() { Q_INIT_RESOURCE(schema); }

namespace tk {

QString databaseSchema()
{
    initSchemaResource();
    QFile file(QStringLiteral(":/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Veritabanı tanımı okunamadı (%1).").arg(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

namespace {

QString shownPath(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

// Runs the whole script in one transaction; returns the engine's error text,
// empty on success.
QString runScript(sqlite3 *db, const QByteArray &script)
{
    char *message = nullptr;
    const QByteArray transaction = "BEGIN;\n" + script + "\nCOMMIT;";
    if (sqlite3_exec(db, transaction.constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return {};
    const QString text = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return text;
}

} // namespace

void createDatabaseFile(const QString &path)
{
    const QString schema = databaseSchema();

    // NewOnly claims the name atomically: an existing file (or one made by
    // someone else meanwhile) is never opened for writing.
    QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        throw Error(QStringLiteral("'%1' dosyası zaten var; var olan bir veritabanının üzerine yazılmaz.")
                        .arg(shownPath(path)));
    {
        QFile claim(path);
        if (!claim.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFileInfo::exists(path))
                throw Error(QStringLiteral("'%1' dosyası zaten var; var olan bir veritabanının üzerine yazılmaz.")
                                .arg(shownPath(path)));
            throw Error(QStringLiteral("'%1' veritabanı oluşturulamadı: %2")
                            .arg(shownPath(path), claim.errorString()));
        }
    }

    sqlite3 *db = nullptr;
    const QByteArray nativePath = QFile::encodeName(path);
    int rc = sqlite3_open_v2(nativePath.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    QString failure;
    if (rc != SQLITE_OK)
        failure = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    else
        failure = runScript(db, schema.toUtf8());
    if (sqlite3_close(db) != SQLITE_OK && failure.isEmpty())
        failure = QString::fromUtf8(sqlite3_errmsg(db));

    if (!failure.isEmpty()) {
        QFile::remove(path); // the file is ours: we made it empty a moment ago
        throw Error(QStringLiteral("'%1' veritabanı oluşturulamadı: %2").arg(shownPath(path), failure));
    }
}

} // namespace tk
