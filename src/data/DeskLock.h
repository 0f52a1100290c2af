#pragma once
// Desks on one Data.dat: every running program holds a shared advisory lock
// on "<database>.lock" beside the books. Work that puts a new file in the
// database's place (compaction, restore) first makes its hold the only one;
// while another desk has the books open that is refused, because a desk still
// writing to the replaced file would lose its work.
#include <QString>
#include <memory>

namespace tk {

class DeskLock {
public:
    // Takes the shared hold, waiting up to `patienceMs` for a desk that is
    // replacing the file right now (a program restarting after a restore
    // waits for the one that did it to end). Throws tk::Error when refused.
    explicit DeskLock(const QString &databasePath, int patienceMs = 10000);
    ~DeskLock();
    DeskLock(const DeskLock &) = delete;
    DeskLock &operator=(const DeskLock &) = delete;

    static QString lockFilePath(const QString &databasePath);

    // Makes this desk's hold the only one, without waiting. `work` names what
    // is refused ("Sıkıştırma", "Geri yükleme") in the tk::Error thrown when
    // another desk has the books open.
    void makeExclusive(const QString &work);
    // Back to a shared hold, when the work did not happen after all.
    void makeShared();
    // Both give the shared hold up for a moment; when it cannot be taken back
    // they throw tk::Error saying that this desk no longer guards its books.

    bool isExclusive() const { return m_exclusive; }

    // The exclusive hold for a process without a hold of its own (a tool or
    // a dialog used on its own): taken at once, or tk::Error as above.
    static std::unique_ptr<DeskLock> exclusive(const QString &databasePath, const QString &work);

private:
    void retakeShared();

    int m_fd = -1;
    bool m_exclusive = false;
};

} // namespace tk
