#include "DatabaseRestore.h"

#include "EngineFile.h"
#include "FileOps.h"
#include "core/Error.h"
#include "data/SchemaVersion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

#include <cerrno>
#include <unistd.h>

namespace tk {

namespace {

const QString databaseFile = QStringLiteral("Data.dat");

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

Error refused(const QString &path, const QString &reason)
{
    return Error(QStringLiteral("Bu yedek geri yüklenemez: %1\n%2").arg(native(path), reason));
}

QVector<QPair<QString, qint64>> tableRows(sqlite3 *db, const QString &path)
{
    QVector<QPair<QString, qint64>> tables;
    sqlite3_stmt *list = nullptr;
    int rc = sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"
                                    " ORDER BY rowid", -1, &list, nullptr);
    while (rc == SQLITE_OK && sqlite3_step(list) == SQLITE_ROW)
        tables.append({QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(list, 0))), 0});
    sqlite3_finalize(list);
    if (rc != SQLITE_OK)
        throw engineFailure(QStringLiteral("Yedek okunamadı"), path, db, rc);
    for (auto &table : tables) {
        const QByteArray sql = "SELECT count(*) FROM \"" + table.first.toUtf8().replace('"', "\"\"") + '"';
        sqlite3_stmt *count = nullptr;
        rc = sqlite3_prepare_v2(db, sql.constData(), -1, &count, nullptr);
        if (rc == SQLITE_OK && (rc = sqlite3_step(count)) == SQLITE_ROW)
            table.second = sqlite3_column_int64(count, 0);
        sqlite3_finalize(count);
        if (rc != SQLITE_ROW)
            throw engineFailure(QStringLiteral("Yedek okunamadı"), path, db, rc);
    }
    return tables;
}

// A copy through the file system, flushed, with the permissions of `model`.
void copyBytes(const QString &source, const QString &target, const QString &model)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Dosya okunamadı: %1\n%2").arg(native(source), in.errorString()));
    const auto cannotWrite = [&target](const QString &reason) {
        return Error(QStringLiteral("Dosya yazılamadı: %1\n%2").arg(native(target), reason));
    };
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw cannotWrite(out.errorString());
    QByteArray block;
    while (!(block = in.read(1 << 20)).isEmpty())
        if (out.write(block) != block.size())
            throw cannotWrite(out.errorString());
    if (in.error() != QFile::NoError)
        throw Error(QStringLiteral("Dosya okunamadı: %1\n%2").arg(native(source), in.errorString()));
    // The last block may still wait in the buffer, and a full disk may be
    // told only at the flush or the sync: a copy cut there is no copy.
    if (!out.flush())
        throw cannotWrite(out.errorString());
    if (::fsync(out.handle()) != 0)
        throw cannotWrite(systemErrorText(errno));
    out.close();
    if (out.error() != QFile::NoError)
        throw cannotWrite(out.errorString());
    takeOwnershipOf(model, target);
    syncFile(target);
}

} // namespace

qint64 BackupSummary::rows(const QString &table) const
{
    for (const auto &t : tables)
        if (t.first.compare(table, Qt::CaseInsensitive) == 0)
            return t.second;
    return -1;
}

BackupSummary inspectBackup(const QString &folder)
{
    BackupSummary summary;
    summary.database = QDir(folder).filePath(databaseFile);
    const QFileInfo file(summary.database);
    if (!file.isFile())
        throw refused(folder, QStringLiteral("Klasörde Data.dat yok."));
    summary.written = file.lastModified();

    EngineConnection db = openEngineFile(summary.database, SQLITE_OPEN_READONLY,
                                         QStringLiteral("Bu yedek geri yüklenemez"), summary.database);
    QString problem;
    try {
        problem = integrityProblem(db.get());
    } catch (const Error &e) {
        throw refused(summary.database, QString::fromUtf8(e.what()));
    }
    if (!problem.isEmpty())
        throw refused(summary.database, QStringLiteral("Dosya bozuk: %1").arg(problem));
    summary.schemaVersion = schemaVersionOf(db.get());
    if (summary.schemaVersion <= 0)
        throw refused(summary.database, QStringLiteral("Dosya bu programın veritabanı değil."));
    if (summary.schemaVersion > newestSchemaVersion())
        throw refused(summary.database, QStringLiteral("Dosya programın daha yeni bir sürümüyle yazılmış (sürüm %1; bu "
                                                       "program en çok %2 sürümünü tanır).")
                                            .arg(summary.schemaVersion)
                                            .arg(newestSchemaVersion()));
    summary.tables = tableRows(db.get(), summary.database);
    return summary;
}

QString rowCountsText(const BackupSummary &backup, const QVector<PageTables> &pages)
{
    QStringList lines;
    QSet<QString> shown;
    for (const PageTables &page : pages) {
        QStringList counts;
        for (const QString &table : page.tables) {
            const qint64 rows = backup.rows(table);
            counts << QStringLiteral("%1 %2").arg(table, rows < 0 ? QStringLiteral("(yok)") : QString::number(rows));
            shown.insert(table.toLower());
        }
        lines << page.caption + QStringLiteral(": ") + counts.join(QStringLiteral(", "));
    }
    for (const auto &table : backup.tables)
        if (!shown.contains(table.first.toLower()))
            lines << QStringLiteral("%1: %2").arg(table.first).arg(table.second);
    return lines.join(QLatin1Char('\n'));
}

DatabaseRestore::DatabaseRestore(const QString &databasePath) : m_database(QFileInfo(databasePath).absoluteFilePath()) {}

QString DatabaseRestore::previousPath() const
{
    return QFileInfo(m_database).absolutePath() + QStringLiteral("/Data-önceki.dat");
}

void DatabaseRestore::step(const char *name) const
{
    if (m_hook)
        m_hook(name);
}

void DatabaseRestore::restore(const BackupSummary &backup, DeskLock *lock)
{
    std::unique_ptr<DeskLock> own;
    if (lock)
        lock->makeExclusive(QStringLiteral("Geri yükleme"));
    else
        own = DeskLock::exclusive(m_database, QStringLiteral("Geri yükleme"));

    if (!QFileInfo(m_database).isFile())
        throw Error(QStringLiteral("Veritabanı bulunamadı: %1\n%2").arg(native(m_database), systemErrorText(ENOENT)));
    if (QFileInfo(backup.database).canonicalFilePath() == QFileInfo(m_database).canonicalFilePath())
        throw Error(QStringLiteral("Yedek, programın kullandığı veritabanının kendisi: %1").arg(native(m_database)));
    requireNoJournalBeside(m_database);

    // The current books kept aside: a second name for the same file where
    // the disk allows one, otherwise a copy. Data.dat itself never goes away.
    step("önceki");
    const QString previous = previousPath();
    const QByteArray previousName = QFile::encodeName(previous);
    if (::unlink(previousName.constData()) != 0 && errno != ENOENT)
        throw Error(QStringLiteral("Önceki veritabanı silinemedi: %1\n%2").arg(native(previous), systemErrorText(errno)));
    if (::link(QFile::encodeName(m_database).constData(), previousName.constData()) != 0)
        copyFileReplacing(m_database, previous);

    // The backup copied beside the database, flushed and checked, then put in
    // its place in one step.
    step("kopya");
    const QString temporary = temporaryFor(m_database);
    removeTemporariesOf(m_database);
    try {
        copyBytes(backup.database, temporary, m_database);
        {
            EngineConnection copy = openEngineFile(temporary, SQLITE_OPEN_READONLY,
                                                   QStringLiteral("Yedeğin kopyası açılamadı"), temporary);
            const QString problem = integrityProblem(copy.get());
            if (!problem.isEmpty())
                throw Error(QStringLiteral("Yedeğin kopyası bozuk: %1\n%2").arg(native(temporary), problem));
        }
        step("yerine");
        replaceFile(temporary, m_database);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

} // namespace tk
