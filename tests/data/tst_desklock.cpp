// The desk lock on a real Data.dat in a temporary folder. The hold belongs to
// the open lock file, so a second holder in this process is a second desk to
// the system as much as another program would be.
#include "support/TestSupport.h"

#include "core/Error.h"
#include "data/DeskLock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTest>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace tk;

namespace {

// A desk that keeps trying to make its hold the only one, as a desk starting
// a restore or a compaction does, and keeps the books once it has them.
class EagerDesk {
public:
    explicit EagerDesk(const QString &database)
        : m_fd(::open(QFile::encodeName(DeskLock::lockFilePath(database)).constData(), O_RDWR | O_CLOEXEC))
    {
        m_thread = std::thread([this] {
            while (!m_stop) {
                // A refused conversion lets the shared hold go: take it again.
                ::flock(m_fd, LOCK_SH | LOCK_NB);
                if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
                    m_alone = true;
                    return;
                }
            }
        });
    }
    ~EagerDesk()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_fd);
    }
    bool opened() const { return m_fd >= 0; }
    bool alone() const { return m_alone; }

private:
    int m_fd;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_alone{false};
    std::thread m_thread;
};

const QString refusal = QStringLiteral("Sıkıştırma yapılamaz: veritabanı başka bir masada açık.");

} // namespace

class DeskLockTest : public QObject {
    Q_OBJECT
private slots:
    // A refused makeExclusive gives the shared hold up for a moment; another
    // desk taking the books alone in that moment would replace them under
    // this one. This desk must then say so, not go on as if it held them.
    void lostHoldIsReported()
    {
        test::TempDatabase db;
        DeskLock here(db.path());
        EagerDesk other(db.path());
        QVERIFY(other.opened());

        int refusals = 0;
        QString lost;
        QDeadlineTimer patience(20000);
        while (!other.alone() && lost.isEmpty() && !patience.hasExpired()) {
            try {
                here.makeExclusive(QStringLiteral("Sıkıştırma"));
                here.makeShared();
            } catch (const Error &e) {
                if (e.text().startsWith(refusal))
                    ++refusals;
                else
                    lost = e.text();
            }
        }
        // Once the other desk holds the books alone, every further try here fails.
        if (other.alone() && lost.isEmpty()) {
            try {
                here.makeExclusive(QStringLiteral("Sıkıştırma"));
            } catch (const Error &e) {
                if (!e.text().startsWith(refusal))
                    lost = e.text();
            }
        }
        if (!other.alone() && lost.isEmpty())
            QSKIP(qPrintable(QStringLiteral("the other desk never found the books free (%1 refusals)").arg(refusals)));
        QVERIFY2(!lost.isEmpty(), qPrintable(QStringLiteral("another desk took the books alone while this one went on "
                                                            "as if it held them (%1 refusals)")
                                                 .arg(refusals)));
        QVERIFY2(lost.contains(QStringLiteral("Programı kapatıp yeniden açın")), qPrintable(lost));
        QVERIFY(!here.isExclusive());
    }

    // Without a race a refusal leaves the shared hold in place: with the
    // other desk gone, nobody else can take the books alone.
    void refusalKeepsTheSharedHold()
    {
        test::TempDatabase db;
        DeskLock here(db.path());
        auto other = std::make_unique<DeskLock>(db.path());
        QVERIFY_THROWS_EXCEPTION(Error, here.makeExclusive(QStringLiteral("Sıkıştırma")));
        QVERIFY(!here.isExclusive());
        other.reset();
        QVERIFY_THROWS_EXCEPTION(Error, DeskLock::exclusive(db.path(), QStringLiteral("Geri yükleme")));
        here.makeExclusive(QStringLiteral("Sıkıştırma"));
        QVERIFY(here.isExclusive());
        here.makeShared();
        QVERIFY_THROWS_EXCEPTION(Error, DeskLock::exclusive(db.path(), QStringLiteral("Geri yükleme")));
    }
};

QTEST_GUILESS_MAIN(DeskLockTest)
#include "tst_desklock.moc"
