// A server's books written over an existing Data.dat, on a real private
// server: the file's name never goes away during the swap, the new file is
// as private as the old one, and a Data.dat a desk has open (or one with a
// journal beside it) is refused and left as it was.
#include "core/Error.h"
#include "data/DeskLock.h"
#include "server/BooksTally.h"
#include "server/PgConnection.h"
#include "server/ServerSchema.h"
#include "support/PgCluster.h"
#include "support/TestSupport.h"
#include "transfer/ServerTransfer.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

using namespace tk;
using tk::test::PgCluster;
using tk::test::TempDatabase;

namespace {

// What happened to the names of a folder, as "deleted Data.dat", "moved to Data.dat".
class FolderWatch {
public:
    explicit FolderWatch(const QString &folder) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_DELETE | IN_MOVED_TO);
    }
    ~FolderWatch() { ::close(m_fd); }
    QStringList events() const
    {
        QStringList seen;
        alignas(inotify_event) char buffer[16384];
        ssize_t n;
        while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0)
            for (char *at = buffer; at < buffer + n;) {
                const auto *e = reinterpret_cast<const inotify_event *>(at);
                seen << QStringLiteral("%1 %2").arg((e->mask & IN_DELETE) ? "deleted" : "moved to",
                                                    QString::fromUtf8(e->len ? e->name : ""));
                at += sizeof(inotify_event) + e->len;
            }
        return seen;
    }

private:
    int m_fd;
};

mode_t modeOf(const QString &path)
{
    struct stat s {};
    ::stat(QFile::encodeName(path).constData(), &s);
    return s.st_mode & 07777;
}

} // namespace

class ServerTransferTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_server.reset(); }
    void replacedDataFileKeepsItsNameAndPrivacy();
    void dataFileInUseIsLeftAlone();

private:
    std::unique_ptr<PgCluster> m_server;
    QString m_address;
};

void ServerTransferTest::initTestCase()
{
    if (PgCluster::serverPrograms().isEmpty())
        QSKIP("No PostgreSQL server installed (./build.sh test installs one)");
    m_server = std::make_unique<PgCluster>();
    m_address = m_server->createDatabase(QStringLiteral("kitap"));
    {
        PgConnection db(m_address);
        createServerSchema(db);
    }
    TempDatabase demo(TempDatabase::Demo);
    transferServerBooks(demo.path(), m_address, false);
}

void ServerTransferTest::replacedDataFileKeepsItsNameAndPrivacy()
{
    TempDatabase target;
    target.exec(QStringLiteral("INSERT INTO Cari (Firma) VALUES ('Eski')"));
    QVERIFY(::chmod(QFile::encodeName(target.path()).constData(), 0600) == 0);
    const FolderWatch watch(target.folder());

    transferServerBooks(m_address, target.path(), true);

    const QStringList events = watch.events();
    // Removed and then renamed, a crash in between would leave no Data.dat at all.
    QVERIFY2(!events.contains(QStringLiteral("deleted Data.dat")), qPrintable(events.join(QLatin1String(", "))));
    QVERIFY2(events.contains(QStringLiteral("moved to Data.dat")), qPrintable(events.join(QLatin1String(", "))));
    QCOMPARE(modeOf(target.path()), mode_t(0600));
    PgConnection db(m_address);
    QVERIFY(tallyDataFile(target.path()).differences(tallyServer(db)).isEmpty());
    QVERIFY(!QFile::exists(target.path() + QStringLiteral(".aktarim")));
}

void ServerTransferTest::dataFileInUseIsLeftAlone()
{
    TempDatabase target;
    target.exec(QStringLiteral("INSERT INTO Cari (Firma) VALUES ('Kalsın')"));
    const auto untouched = [&] {
        QCOMPARE(target.scalar(QStringLiteral("SELECT group_concat(Firma) FROM Cari")).toString(), QStringLiteral("Kalsın"));
        QVERIFY(!QFile::exists(target.path() + QStringLiteral(".aktarim")));
    };
    {
        DeskLock desk(target.path()); // a program with these books open
        try {
            transferServerBooks(m_address, target.path(), true);
            QFAIL("a Data.dat open at a desk was replaced");
        } catch (const Error &e) {
            QVERIFY2(e.text().contains(QStringLiteral("başka bir masada açık")), qPrintable(e.text()));
        }
        untouched();
    }
    // A journal left by a desk that stopped mid-write belongs to the old file.
    const QString journal = target.path() + QStringLiteral("-journal");
    QFile file(journal);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("yarım kalmış yazma");
    file.close();
    try {
        transferServerBooks(m_address, target.path(), true);
        QFAIL("a Data.dat with a journal beside it was replaced");
    } catch (const Error &e) {
        QVERIFY2(e.text().contains(QStringLiteral("kullanımda")), qPrintable(e.text()));
    }
    QFile::remove(journal);
    untouched();
}

QTEST_MAIN(ServerTransferTest)
#include "tst_servertransfer.moc"
