#include "DatabaseCompaction.h"

#include "EngineFile.h"
#include "FileOps.h"
#include "core/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>
#include <unistd.h>

namespace tk {

namespace {

QString native(const QString &path) { return QDir::toNativeSeparators(path); }

void vacuumInto(sqlite3 *db, const QString &database, const QString &copy)
{
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, "VACUUM INTO ?", -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        const QByteArray name = QFile::encodeName(copy);
        rc = sqlite3_bind_text(statement, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        if (rc == SQLITE_OK)
            rc = sqlite3_step(statement);
    }
    const QString reason = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        throw Error(QStringLiteral("Veritabanı sıkıştırılamadı: %1\n%2").arg(native(database), reason));
}

void requireSound(const QString &path, const QString &what)
{
    EngineConnection db = openEngineFile(path, SQLITE_OPEN_READONLY, what, path);
    const QString problem = integrityProblem(db.get());
    if (!problem.isEmpty())
        throw Error(QStringLiteral("%1: %2\n%3").arg(what, native(path), problem));
}

} // namespace

DatabaseCompaction::DatabaseCompaction(const QString &databasePath)
    : m_database(QFileInfo(databasePath).absoluteFilePath())
    , m_compacted(QFileInfo(m_database).absolutePath() + QStringLiteral("/Yedek.dat"))
    , m_replaceStep(&replaceFile)
{
}

void DatabaseCompaction::compact()
{
    // The hold on the books is ours alone from the check until the copy has
    // taken the database's place, and no longer.
    if (m_deskLock)
        m_deskLock->makeExclusive(QStringLiteral("Sıkıştırma"));
    else if (!m_ownLock)
        m_ownLock = DeskLock::exclusive(m_database, QStringLiteral("Sıkıştırma"));
    try {
        compactAlone();
    } catch (...) {
        releaseHold();
        throw;
    }
}

void DatabaseCompaction::releaseHold()
{
    if (m_deskLock)
        m_deskLock->makeShared();
    m_ownLock.reset();
}

void DatabaseCompaction::compactAlone()
{
    if (!QFileInfo(m_database).isFile())
        throw Error(QStringLiteral("Veritabanı bulunamadı: %1\n%2").arg(native(m_database), systemErrorText(ENOENT)));
    // Read-write, so a journal left by a broken write is rolled back first.
    EngineConnection db = openEngineFile(m_database, SQLITE_OPEN_READWRITE,
                                         QStringLiteral("Veritabanı açılamadı"), m_database);
    const QString problem = integrityProblem(db.get());
    if (!problem.isEmpty())
        throw Error(QStringLiteral("Veritabanı bozuk: %1\n%2").arg(native(m_database), problem));
    // The database is sound, so a copy left by a run that was cut short is
    // nobody's last good one: it goes. Beside a damaged database it stays.
    if (QFileInfo::exists(m_compacted) && ::unlink(QFile::encodeName(m_compacted).constData()) != 0)
        throw Error(QStringLiteral("Önceki bir bakımdan kalan dosya silinemedi: %1\n%2")
                        .arg(native(m_compacted), systemErrorText(errno)));
    // From here on a copy on disk is this run's own, so a failure removes it.
    try {
        vacuumInto(db.get(), m_database, m_compacted);
        const int rc = sqlite3_close(db.release());
        if (rc != SQLITE_OK)
            throw engineFailure(QStringLiteral("Veritabanı kapatılamadı"), m_database, nullptr, rc);
        // The new file must not open the database to more eyes than the old one did.
        takeOwnershipOf(m_database, m_compacted);
        syncFile(m_compacted);
        requireSound(m_compacted, QStringLiteral("Sıkıştırılmış kopya bozuk"));
    } catch (...) {
        QFile::remove(m_compacted);
        throw;
    }
}

void DatabaseCompaction::replace()
{
    // The hold goes back on every way out, but not from a destructor: taking
    // the shared hold again can fail, and that is said, not swallowed.
    try {
        requireNoJournalBeside(m_database);
        m_replaceStep(m_compacted, m_database);
    } catch (...) {
        QFile::remove(m_compacted);
        releaseHold();
        throw;
    }
    releaseHold();
}

} // namespace tk
