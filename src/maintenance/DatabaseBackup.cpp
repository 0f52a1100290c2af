#include "DatabaseBackup.h"

#include "EngineFile.h"
#include "FileOps.h"
#include "core/Error.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include <sqlite3.h>

#include <cerrno>

namespace tk {

namespace {

constexpr int busyPatienceMs = 5000;

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

QString withSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool isConnectionTo(sqlite3 *db, const QString &path)
{
    if (!db)
        return false;
    const char *name = sqlite3_db_filename(db, "main");
    if (!name || !*name)
        return false;
    const QString open = QFileInfo(QString::fromUtf8(name)).canonicalFilePath();
    return !open.isEmpty() && open == QFileInfo(path).canonicalFilePath();
}

// Copies every page in one step: the snapshot is taken under one read lock.
// A writer of another connection holding its lock makes us wait a while.
void copyAllPages(sqlite3 *from, sqlite3 *to, const QString &source)
{
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throw engineFailure(QStringLiteral("Veritabanı kopyalanamadı"), source, to, SQLITE_ERROR);
    QDeadlineTimer patience(busyPatienceMs);
    int rc;
    for (;;) {
        rc = sqlite3_backup_step(backup, -1);
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && !patience.hasExpired()) {
            sqlite3_sleep(5);
            continue;
        }
        break;
    }
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        throw engineFailure(QStringLiteral("Veritabanı kopyalanamadı"), source, nullptr, rc);
    if (finished != SQLITE_OK)
        throw engineFailure(QStringLiteral("Veritabanı kopyalanamadı"), source, to, finished);
}

const QRegularExpression &datedName()
{
    static const QRegularExpression re(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}_\\d{4}(?:_(\\d+))?$"));
    return re;
}

// Order of the dated folders: by minute, then by the number of the backup
// within the minute (the first has none).
std::pair<QString, int> datedOrder(const QString &name)
{
    const QRegularExpressionMatch m = datedName().match(name);
    return {name.left(15), m.captured(1).isEmpty() ? 1 : m.captured(1).toInt()};
}

} // namespace

QString datedBackupFolder(const QString &backupFolder, const QDateTime &when)
{
    const QString base = withSlash(backupFolder) + when.toString(QStringLiteral("yyyy-MM-dd_HHmm"));
    QString folder = base;
    for (int n = 2; QFileInfo::exists(folder); ++n)
        folder = base + QStringLiteral("_%1").arg(n);
    return folder + QLatin1Char('/');
}

QStringList datedBackups(const QString &backupFolder)
{
    QStringList names;
    for (const QString &name : QDir(backupFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (datedName().match(name).hasMatch())
            names << name;
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return datedOrder(a) < datedOrder(b); });
    QStringList folders;
    for (const QString &name : names)
        folders << withSlash(backupFolder) + name + QLatin1Char('/');
    return folders;
}

QStringList pruneDatedBackups(const QString &backupFolder, int keep, const QString &written)
{
    QStringList folders = datedBackups(backupFolder);
    const int others = std::max(keep, 1) - (folders.removeAll(withSlash(written)) > 0 ? 1 : 0);
    QStringList removed;
    for (qsizetype i = 0; i + others < folders.size(); ++i) {
        if (!QDir(folders[i]).removeRecursively())
            throw Error(QStringLiteral("Eski yedek silinemedi: %1").arg(native(folders[i])));
        removed << folders[i];
    }
    return removed;
}

QString backupFolderPath(const QString &location, const QString &folderName)
{
    QString folder = QDir::cleanPath(location + QLatin1Char('/') + folderName);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

void backupDatabase(sqlite3 *live, const QString &source, const QString &target)
{
    if (!QFileInfo(source).isFile())
        throw Error(QStringLiteral("Kaynak dosya bulunamadı: %1\n%2")
                        .arg(native(source), systemErrorText(ENOENT)));

    EngineConnection own;
    sqlite3 *from = live;
    if (!isConnectionTo(live, source)) {
        own = openEngineFile(source, SQLITE_OPEN_READONLY, QStringLiteral("Veritabanı açılamadı"), source);
        from = own.get();
    }

    // The snapshot goes to a file of its own first, so an earlier backup
    // stays whole until the new one is complete.
    const QString temporary = temporaryFor(target);
    removeTemporariesOf(target);
    try {
        {
            EngineConnection to = openEngineFile(temporary, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                                QStringLiteral("Yedek dosyası yazılamadı"), target);
            copyAllPages(from, to.get(), source);
            const int rc = sqlite3_close(to.release());
            if (rc != SQLITE_OK)
                throw engineFailure(QStringLiteral("Yedek dosyası yazılamadı"), target, nullptr, rc);
        }
        takeOwnershipOf(source, temporary); // a private database makes a private copy
        syncFile(temporary);
        replaceFile(temporary, target);
    } catch (...) {
        QFile::remove(temporary);
        QFile::remove(temporary + QStringLiteral("-journal"));
        throw;
    }
}

} // namespace tk
