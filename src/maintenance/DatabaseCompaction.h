#pragma once
// Compacting and repairing the database file, without the dialog: the engine
// writes a compacted copy "Yedek.dat" beside the database from a connection
// of its own, and the copy then takes the database's place in one atomic
// step. Nobody else may have the file open meanwhile.
#include "data/DeskLock.h"

#include <QString>
#include <functional>
#include <memory>

namespace tk {

class DatabaseCompaction {
public:
    // Moves the finished copy over the database; throws tk::Error when refused.
    using ReplaceStep = std::function<void(const QString &copy, const QString &database)>;

    explicit DatabaseCompaction(const QString &databasePath);

    QString databasePath() const { return m_database; }
    QString compactedPath() const { return m_compacted; }

    // Checks the database and writes the compacted, flushed copy, with the
    // database's permissions and owner. A missing, damaged or locked database
    // or an engine failure throws tk::Error; the database itself is not
    // touched. A copy left by an earlier run is removed once the database has
    // passed its check; beside a damaged database it may be the only good one
    // and stays.
    void compact();

    // Puts the copy in the database's place. On failure the database stays
    // as it was, the copy is removed, and tk::Error names the reason.
    void replace();

    void setReplaceStep(ReplaceStep step) { m_replaceStep = std::move(step); }
    // The running program's hold on the books (not owned). Without one, the
    // compaction takes a hold of its own. Either is made exclusive before
    // anything is written: another desk with the books open refuses it.
    void setDeskLock(DeskLock *lock) { m_deskLock = lock; }

private:
    void compactAlone();
    void releaseHold();

    QString m_database;
    QString m_compacted;
    ReplaceStep m_replaceStep;
    DeskLock *m_deskLock = nullptr;
    std::unique_ptr<DeskLock> m_ownLock;
};

} // namespace tk
