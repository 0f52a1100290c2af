#pragma once
// Bringing the books back from a backup folder, without the dialog: the
// backup's Data.dat is checked first, and then takes the place of the
// database in one atomic step, the current file kept aside as
// "Data-önceki.dat". At every moment Data.dat is whole: the old books or the
// new ones, whatever stops the program.
#include "data/DeskLock.h"

#include <QDateTime>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

namespace tk {

// What a checked backup holds.
struct BackupSummary {
    QString database;  // the backup's Data.dat
    QDateTime written; // when it was written
    int schemaVersion = 0;
    QVector<QPair<QString, qint64>> tables; // each table and its rows
    qint64 rows(const QString &table) const;
};

// Checks the Data.dat of `folder`: present, a database the engine reads
// without complaint, made by this program at a version it knows. Throws
// tk::Error with the reason; nothing is written.
BackupSummary inspectBackup(const QString &folder);

// A page's title and its tables, for the row counts shown before a restore.
struct PageTables {
    QString caption;
    QStringList tables;
};
// "MÜŞTERİ TAKİP: MusTakip 5, MusTakip1 12" a line, pages in their order;
// tables of no page follow on lines of their own.
QString rowCountsText(const BackupSummary &backup, const QVector<PageTables> &pages);

class DatabaseRestore {
public:
    // Told the name of each step as it starts ("önceki", "kopya", "yerine");
    // tests stop a restore there.
    using StepHook = std::function<void(const char *step)>;

    explicit DatabaseRestore(const QString &databasePath);

    QString databasePath() const { return m_database; }
    // Data-önceki.dat beside the database.
    QString previousPath() const;

    void setStepHook(StepHook hook) { m_hook = std::move(hook); }

    // Puts the backup in the database's place. The caller has closed its
    // connection; `lock` is the program's hold on the books, made exclusive
    // here (nullptr: a hold of its own), so another desk with the books open
    // refuses it. Throws tk::Error; the database is then the old one.
    void restore(const BackupSummary &backup, DeskLock *lock);

private:
    void step(const char *name) const;

    QString m_database;
    StepHook m_hook;
};

} // namespace tk
