#include "ServerTransfer.h"

#include "core/Error.h"
#include "data/DeskLock.h"
#include "data/SchemaVersion.h"
#include "maintenance/FileOps.h"
#include "server/PgConnection.h"
#include "server/ServerCopy.h"
#include "server/ServerSchema.h"
#include "server/ServerSnapshot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <memory>

namespace tk {

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

Error notEmpty(const QString &where)
{
    return Error(QStringLiteral("Hedefte kayıtlar var: %1\nÜzerine yazmak için --replace verin.").arg(where));
}

void requireAgreement(const ServerTransferResult &r)
{
    const QStringList differ = r.from.differences(r.to);
    if (!differ.isEmpty())
        throw Error(QStringLiteral("Aktarılan kayıtların sayısı ya da toplamları kaynaktakilerle aynı değil (%1); "
                                   "aktarım geri alındı.\n%2")
                        .arg(differ.join(QStringLiteral(", ")), r.comparison));
}

// The server's books, at the version this program works on.
void requireServerBooks(PgConnection &db)
{
    if (serverSchemaVersion(db) == 0)
        throw Error(QStringLiteral("%1 veritabanında programın tabloları yok; önce tekvanis-initdb ile oluşturun.")
                        .arg(db.place()));
    upgradeServerSchema(db);
}

ServerTransferResult fileToServer(const QString &path, const QString &address, bool replace, const CopyProgress &progress)
{
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("Kaynak dosya bulunamadı: %1").arg(shown(path)));
    upgradeDataFile(path);
    PgConnection db(address);
    requireServerBooks(db);
    ServerTransferResult r;
    db.inTransaction([&] {
        // No other desk writes between the check and the copy.
        QStringList tables;
        for (const ServerTable &t : serverTables())
            tables << t.name;
        db.run(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(tables.join(QStringLiteral(", "))));
        if (!tallyServer(db).empty()) {
            if (!replace)
                throw notEmpty(db.place());
            db.run(QStringLiteral("TRUNCATE %1 RESTART IDENTITY CASCADE").arg(tables.join(QStringLiteral(", "))));
        }
        copyDataFileToServer(path, db, progress);
        r.from = tallyDataFile(path);
        r.to = tallyServer(db);
        r.comparison = tallyComparison(r.from, r.to, QStringLiteral("dosya"), QStringLiteral("sunucu"));
        requireAgreement(r);
    });
    return r;
}

ServerTransferResult serverToFile(const QString &address, const QString &path, bool replace, const CopyProgress &progress)
{
    PgConnection db(address);
    requireServerBooks(db);
    const bool exists = QFileInfo::exists(path);
    if (exists && !replace && !tallyDataFile(path).empty())
        throw notEmpty(shown(path));
    // A desk with the file open would go on writing to the replaced one, and
    // a journal beside it would be played into the new one.
    std::unique_ptr<DeskLock> alone;
    if (exists) {
        alone = DeskLock::exclusive(path, QStringLiteral("Aktarım"));
        requireNoJournalBeside(path);
    }
    // Written beside the target and put in its place only when whole and checked.
    const QString fresh = path + QStringLiteral(".aktarim");
    if (QFileInfo::exists(fresh) && !QFile::remove(fresh))
        throw Error(QStringLiteral("Yarım kalmış bir aktarımın dosyası silinemedi: %1").arg(shown(fresh)));
    ServerTransferResult r;
    try {
        db.inTransaction(
            [&] {
                r.from = tallyServer(db);
                copyServerToDataFile(db, fresh, progress);
            },
            QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY"));
        r.to = tallyDataFile(fresh);
        r.comparison = tallyComparison(r.from, r.to, QStringLiteral("sunucu"), QStringLiteral("dosya"));
        requireAgreement(r);
        // The old file keeps its name until the new one, whole and flushed,
        // takes it in one step, and the new one is no less private.
        if (exists)
            takeOwnershipOf(path, fresh);
        syncFile(fresh);
        replaceFile(fresh, path);
    } catch (...) {
        QFile::remove(fresh);
        throw;
    }
    return r;
}

} // namespace

ServerTransferResult transferServerBooks(const QString &from, const QString &to, bool replace,
                                         const std::function<void(const QString &table, qint64 rows)> &progress)
{
    const bool fromServer = isServerAddress(from), toServer = isServerAddress(to);
    if (fromServer == toServer)
        throw Error(QStringLiteral("Aktarımın bir ucu Data.dat dosyası, öbür ucu postgresql://… adresi olmalı."));
    return toServer ? fileToServer(from, to, replace, progress) : serverToFile(from, to, replace, progress);
}

} // namespace tk
