// Two desks on one PostgreSQL server, started privately by the test: the
// cases both engines share, each desk over a connection of its own, and the
// notifications the server's tables send.
#include "server/PgStore.h"
#include "server/ServerNotify.h"
#include "server/ServerSchema.h"
#include "support/DeskScenarios.h"
#include "support/PgCluster.h"

#include <QtTest>

#include <memory>

using namespace tk;
using tk::test::PgCluster;

class PgDesksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (PgCluster::serverPrograms().isEmpty())
            QSKIP("No PostgreSQL server installed (./build.sh test installs one)");
        m_server = std::make_unique<PgCluster>();
    }
    void cleanupTestCase() { m_server.reset(); }
    // Every test gets new books on the server.
    void init()
    {
        m_address = m_server->createDatabase(QStringLiteral("masalar%1").arg(++m_databases));
        PgConnection db(m_address);
        createServerSchema(db);
    }

    void bothEditOneRow() { test::bothEditOneRow(desk()); }
    void everyKindReadsBackUnchanged() { test::everyKindReadsBackUnchanged(desk()); }
    void bothInsertAtOnce() { test::bothInsertAtOnce(desk()); }
    void deleteUnderEdit() { test::deleteUnderEdit(desk()); }
    void detailUnderDeletedMaster() { test::detailUnderDeletedMaster(desk()); }
    void refreshKeepsCurrentRow() { test::refreshKeepsCurrentRow(desk()); }

    void everyTableNamesItselfWhenWritten()
    {
        PgStore watching(m_address), writing(m_address);
        everyTableHeard(watching, writing);
        // A desk's own writes are no news to it.
        watching.exec(QStringLiteral("DELETE FROM Stok"));
        QTest::qWait(100);
        QCOMPARE(watching.changedElsewhere(), QStringList{});
    }

    // Books made before the desks heard of each other: the same version,
    // no triggers. Opening them adds the triggers, once.
    void booksWithoutTriggersGetThem()
    {
        const auto triggers = [&] {
            PgConnection db(m_address);
            return QByteArray(db.exec(QStringLiteral("SELECT count(*) FROM pg_trigger WHERE tgname LIKE '%\\_degisti'"))
                                  .value(0, 0))
                .toInt();
        };
        QCOMPARE(triggers(), int(serverTables().size()));
        {
            PgConnection db(m_address);
            db.run(QStringLiteral("DROP FUNCTION tekvanis_degisti() CASCADE"));
        }
        QCOMPARE(triggers(), 0);
        PgStore watching(m_address), writing(m_address);
        QCOMPARE(triggers(), int(serverTables().size()));
        QCOMPARE(serverSchemaVersion(writing.connection()), newestSchemaVersion());
        everyTableHeard(watching, writing);
    }

private:
    // Every table written at one desk is named to the other.
    static void everyTableHeard(PgStore &watching, PgStore &writing)
    {
        QVERIFY(watching.changedElsewhere().isEmpty()); // starts listening
        for (const ServerTable &t : serverTables())
            writing.exec(QStringLiteral("DELETE FROM %1").arg(t.name));
        QStringList heard;
        QTRY_VERIFY_WITH_TIMEOUT((heard += watching.changedElsewhere()).size() == serverTables().size(), 5000);
        for (const ServerTable &t : serverTables())
            QVERIFY2(heard.contains(t.name, Qt::CaseInsensitive), qPrintable(t.name));
    }
    test::DeskConnector desk() const
    {
        return [address = m_address] { return std::unique_ptr<Store>(std::make_unique<PgStore>(address)); };
    }
    std::unique_ptr<PgCluster> m_server;
    QString m_address;
    int m_databases = 0;
};

QTEST_MAIN(PgDesksTest)
#include "tst_pgdesks.moc"
