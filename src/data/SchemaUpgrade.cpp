// Refusing files of unknown versions and bringing older ones forward.
#include "SchemaVersion.h"

#include "Connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

#include <memory>

namespace tk {

namespace {

QString shown(const QString &path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

struct CloseHandle {
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Handle = std::unique_ptr<sqlite3, CloseHandle>;

QString engineText(sqlite3 *db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

// Opens an existing file without creating one; the engine's complaint names the file.
Handle openExisting(const QString &path, int flags)
{
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Handle db(raw);
    if (rc != SQLITE_OK)
        throw DatabaseError(QStringLiteral("%1\n%2").arg(raw ? engineText(raw) : QString::fromUtf8(sqlite3_errstr(rc)),
                                                         shown(path)));
    registerStatementFunctions(db.get());
    return db;
}

// Runs one statement; every row's cells joined by '|'. Throws the engine's text.
QStringList rowsOf(sqlite3 *db, const QString &sql)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK)
        throw DatabaseError(engineText(db));
    QStringList rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QStringList cells;
        for (int c = 0; c < sqlite3_column_count(stmt); ++c)
            cells << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)));
        rows << cells.join(QLatin1Char('|'));
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        throw DatabaseError(engineText(db));
    return rows;
}

// The first free name of the form Data-v1-yedek.dat, Data-v1-yedek-2.dat, …
// beside `path`: a copy left by an earlier attempt is never overwritten.
QString copyPathFor(const QString &path, int version)
{
    const QFileInfo info(path);
    const QString stem = QStringLiteral("%1-v%2-yedek").arg(info.completeBaseName()).arg(version);
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString candidate = info.dir().filePath(stem + suffix);
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n)
        candidate = info.dir().filePath(QStringLiteral("%1-%2%3").arg(stem).arg(n).arg(suffix));
    return candidate;
}

// A page-for-page copy of the open file, under the engine's read lock.
void copyDatabase(sqlite3 *from, const QString &target)
{
    Handle to = openExisting(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3_backup *backup = sqlite3_backup_init(to.get(), "main", from, "main");
    if (!backup)
        throw DatabaseError(engineText(to.get()));
    const int rc = sqlite3_backup_step(backup, -1);
    const int finished = sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE || finished != SQLITE_OK)
        throw DatabaseError(QString::fromUtf8(sqlite3_errstr(rc != SQLITE_DONE ? rc : finished)));
}

void refuseUnknownVersion(int version, int newest, const QString &path)
{
    if (version <= 0)
        throw DatabaseError(QStringLiteral("'%1' bu programın veritabanı değil (şema sürümü %2). "
                                           "Dosyaya dokunulmadı.")
                                .arg(shown(path))
                                .arg(version));
    if (version > newest)
        throw DatabaseError(QStringLiteral("'%1' programın daha yeni bir sürümüyle oluşturulmuş: dosyanın şema "
                                           "sürümü %2, bu programınki %3. Dosyaya dokunulmadı; programın yeni "
                                           "sürümünü kullanın.")
                                .arg(shown(path))
                                .arg(version)
                                .arg(newest));
}

void runStep(sqlite3 *db, const SchemaStep &step)
{
    // The pragma does nothing inside a transaction; with foreign keys on,
    // making a master table anew would delete its detail rows by cascade.
    rowsOf(db, QStringLiteral("PRAGMA foreign_keys = OFF"));
    rowsOf(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        // Broken links the file already had are not the step's to mend.
        const QStringList before = rowsOf(db, QStringLiteral("PRAGMA foreign_key_check"));
        for (const QString &statement : step.statements)
            rowsOf(db, statement);
        const QSet<QString> known(before.cbegin(), before.cend());
        for (const QString &broken : rowsOf(db, QStringLiteral("PRAGMA foreign_key_check")))
            if (!known.contains(broken))
                throw DatabaseError(QStringLiteral("ana kaydı olmayan ayrıntı satırı kalırdı (%1)").arg(broken));
        rowsOf(db, QStringLiteral("PRAGMA user_version = %1").arg(step.toVersion));
        rowsOf(db, QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_exec(db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
        throw;
    }
    rowsOf(db, QStringLiteral("PRAGMA foreign_keys = ON"));
}

} // namespace

int schemaVersionOf(sqlite3 *db)
{
    const QStringList rows = rowsOf(db, QStringLiteral("PRAGMA user_version"));
    return rows.isEmpty() ? 0 : rows.first().toInt();
}

void requireKnownSchemaVersion(int version, const QString &path)
{
    refuseUnknownVersion(version, newestSchemaVersion(), path);
}

void upgradeDataFile(const QString &path) { upgradeDataFile(path, schemaSteps()); }

void upgradeDataFile(const QString &path, const QVector<SchemaStep> &steps)
{
    if (!QFileInfo(path).isFile())
        return;
    Handle db = openExisting(path, SQLITE_OPEN_READWRITE);
    int version;
    try {
        version = schemaVersionOf(db.get());
    } catch (const DatabaseError &e) {
        throw DatabaseError(QStringLiteral("%1\n%2").arg(e.text(), shown(path)));
    }
    const int newest = steps.isEmpty() ? newestSchemaVersion() : steps.last().toVersion;
    refuseUnknownVersion(version, newest, path);
    if (version == newest)
        return;

    const QStringList problems = rowsOf(db.get(), QStringLiteral("PRAGMA integrity_check(5)"));
    if (problems != QStringList{QStringLiteral("ok")})
        throw DatabaseError(QStringLiteral("'%1' veritabanında bozukluk var; %2. sürümden yükseltilmedi ve dosyaya "
                                           "dokunulmadı.\n%3")
                                .arg(shown(path))
                                .arg(version)
                                .arg(problems.join(QLatin1Char('\n'))));

    const QString copy = copyPathFor(path, version);
    try {
        copyDatabase(db.get(), copy);
    } catch (const DatabaseError &e) {
        QFile::remove(copy);
        throw DatabaseError(QStringLiteral("'%1' yükseltilmeden önce kopyalanamadı (%2): %3")
                                .arg(shown(path), shown(copy), e.text()));
    }
    for (const SchemaStep &step : steps) {
        if (step.toVersion <= version)
            continue;
        try {
            runStep(db.get(), step);
        } catch (const DatabaseError &e) {
            throw DatabaseError(QStringLiteral("'%1' veritabanı %2. sürümden %3. sürüme yükseltilemedi: %4\n"
                                               "Dosya %2. sürümde kaldı; yükseltmeden önceki kopyası: %5")
                                    .arg(shown(path))
                                    .arg(step.toVersion - 1)
                                    .arg(step.toVersion)
                                    .arg(e.text(), shown(copy)));
        }
    }
    db.reset();
    QFile::remove(copy);
}

} // namespace tk
