// The store on a real PostgreSQL server, started privately by the test:
// the server's tables against the file's, keys and windows of rows, writes
// with the database-assigned SiraNo, optimistic updates, cascading deletes,
// Turkish order, and searches matching exactly what they match on the file.
#include "data/Connection.h"
#include "data/PackedRow.h"
#include "data/TurkishOrder.h"
#include "server/PgStatement.h"
#include "server/PgStore.h"
#include "server/ServerCopy.h"
#include "server/ServerSchema.h"
#include "support/PgCluster.h"
#include "support/TestSupport.h"

#include <QProcess>
#include <QSqlQuery>
#include <QSet>
#include <QtTest>

#include <memory>

using namespace tk;
using tk::test::PgCluster;
using tk::test::TempDatabase;

namespace {

QString cell(const QByteArray &row, int columns, int column)
{
    return packedCell(row, columns, column).toString();
}

int indexOf(const QVector<FieldDef> &fields, const char *name)
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name == QLatin1String(name))
            return i;
    return -1;
}

// One column of every row a statement gives, in its order.
QStringList columnOf(Store &store, const QString &table, const QString &sql, const char *name,
                     const QVariantList &params = {})
{
    const KeyedResult r = store.openKeys(table, sql, params);
    const int column = indexOf(r.fields, name);
    std::vector<QByteArray> rows = r.rows;
    if (r.writable)
        rows = store.readRows(table, r.fields, r.keys.data(), int(r.keys.size()));
    QStringList out;
    for (const QByteArray &row : rows)
        out << cell(row, int(r.fields.size()), column);
    return out;
}

} // namespace

class PgStoreTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_server.reset(); }
    void init();
    void cleanup() { m_store.reset(); }

    void statementsInTheServersWords();
    void serverTablesFollowTheFile();
    void unknownVersionRefused();
    void keysInOrderAndWindowsOfRows();
    void insertGivesKeyAndSiraNo();
    void updateWithExpectedValues();
    void statementsPreparedOncePerConnection();
    void deleteTakesTheDetailsAlong();
    void refusedValuesReadAsOnTheFile();
    void turkishOrder();
    void searchesMatchAsOnTheFile();
    void bookCopiedKeepsKeysAndSums();
    void initdbMakesServerBooks();

private:
    std::unique_ptr<PgCluster> m_server;
    std::unique_ptr<PgStore> m_store;
    QString m_address;
    int m_databases = 0;
};

void PgStoreTest::initTestCase()
{
    if (PgCluster::serverPrograms().isEmpty())
        QSKIP("No PostgreSQL server installed (./build.sh test installs one)");
    m_server = std::make_unique<PgCluster>();
}

// Every test gets new, empty books on the server.
void PgStoreTest::init()
{
    m_address = m_server->createDatabase(QStringLiteral("defter%1").arg(++m_databases));
    PgConnection db(m_address);
    createServerSchema(db);
    m_store = std::make_unique<PgStore>(m_address);
}

void PgStoreTest::statementsInTheServersWords()
{
    QCOMPARE(serverPlaceholders(QStringLiteral("a=? and b=:SiraNo and c='?' and d=?::text")),
             QStringLiteral("a=$1 and b=$2 and c='?' and d=$3::text"));
    QCOMPARE(serverStatement(QStringLiteral("Select * From FatTakip Order By Yil desc, Aylar")),
             QStringLiteral("Select * From FatTakip ORDER BY Yil desc NULLS LAST, Aylar NULLS FIRST"));
    // The file's Turkish order key becomes the server's Turkish collation.
    const StarSelect s = parseStarSelect(QStringLiteral("Select * From Cari Order By ") + turkishKey(QStringLiteral("Firma")));
    QCOMPARE(s.table, QStringLiteral("Cari"));
    QCOMPARE(s.order, QStringLiteral("Firma NULLS FIRST"));
    // a title click's term names its column in quotes
    QCOMPARE(serverStatement(QStringLiteral("Select * From Stok Order By ") + turkishKey(QStringLiteral("\"StokAdi\"")) + QStringLiteral(" DESC")),
             QStringLiteral("Select * From Stok ORDER BY StokAdi DESC NULLS LAST"));
    QCOMPARE(serverStatement(QStringLiteral("SELECT Tarih FROM Odeme1 ORDER BY Tarih LIMIT 1")),
             QStringLiteral("SELECT Tarih FROM Odeme1 ORDER BY Tarih NULLS FIRST LIMIT 1"));
    // the program's own LIKE matches as on the file
    QCOMPARE(serverStatement(QStringLiteral("SELECT * FROM Stok WHERE StokAdi LIKE ?")),
             QStringLiteral("SELECT * FROM Stok WHERE lower(StokAdi COLLATE \"tr-TR-x-icu\") LIKE "
                            "lower($1::text COLLATE \"tr-TR-x-icu\") ESCAPE ''"));
    const StarSelect detail = parseStarSelect(QStringLiteral("Select * From Cari1 where SiraNo=:SiraNo"));
    QCOMPARE(serverKeysStatement(detail, *serverTable(detail.table)),
             QStringLiteral("SELECT Anahtar FROM Cari1 where SiraNo=$1 ORDER BY Anahtar"));
}

void PgStoreTest::serverTablesFollowTheFile()
{
    TempDatabase file;
    PgConnection &db = m_store->connection();
    QCOMPARE(serverSchemaVersion(db), newestSchemaVersion());
    for (const ServerTable &t : serverTables()) {
        // the file's columns, in its order, plus a primary key of the server's own
        const QVariantList fileColumns = file.column(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(t.name));
        const PgResult r = db.exec(QStringLiteral("SELECT attname FROM pg_attribute WHERE attrelid = $1::regclass "
                                                  "AND attnum > 0 AND NOT attisdropped ORDER BY attnum"),
                                   {t.name.toLower()});
        QStringList serverColumns;
        for (int i = 0; i < r.rows(); ++i)
            serverColumns << QString::fromUtf8(r.value(i, 0));
        if (!t.keyIsColumn())
            QCOMPARE(serverColumns.takeFirst(), QStringLiteral("anahtar"));
        QStringList expected;
        for (const QVariant &c : fileColumns)
            expected << c.toString().toLower();
        QCOMPARE(serverColumns, expected);
        const PgResult key = db.exec(QStringLiteral("SELECT count(*) FROM pg_index WHERE indrelid = $1::regclass AND indisprimary"),
                                     {t.name.toLower()});
        QCOMPARE(QByteArray(key.value(0, 0)), QByteArray("1"));
    }
    // Every file step after the first server version has its server step.
    for (const SchemaStep &step : schemaSteps())
        if (step.toVersion > firstServerSchemaVersion)
            QVERIFY2(std::any_of(serverSchemaSteps().begin(), serverSchemaSteps().end(),
                                 [&](const SchemaStep &s) { return s.toVersion == step.toVersion; }),
                     qPrintable(step.what));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, createServerSchema(db));
}

void PgStoreTest::unknownVersionRefused()
{
    m_store->exec(QStringLiteral("UPDATE SemaSurumu SET Surum = ?"), {newestSchemaVersion() + 1});
    QVERIFY_THROWS_EXCEPTION(DatabaseError, PgStore{m_address});
    const QString empty = m_server->createDatabase(QStringLiteral("bos%1").arg(m_databases));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, PgStore{empty});
}

void PgStoreTest::keysInOrderAndWindowsOfRows()
{
    const QStringList cols = {QStringLiteral("Yil"), QStringLiteral("Aylar")};
    const qint64 a = m_store->insertRow(QStringLiteral("FatTakip"), cols, {2024, QStringLiteral("Ocak")});
    const qint64 b = m_store->insertRow(QStringLiteral("FatTakip"), cols, {2023, QStringLiteral("Şubat")});
    const qint64 c = m_store->insertRow(QStringLiteral("FatTakip"), cols, {2024, QStringLiteral("Mart")});
    const qint64 d = m_store->insertRow(QStringLiteral("FatTakip"), cols, {QVariant(), QStringLiteral("Boş")});
    // an update moves a row in the server's heap, never in the list
    m_store->updateRow(QStringLiteral("FatTakip"), a, {QStringLiteral("Aylar")}, {QStringLiteral("Ocak ayı")});

    const KeyedResult r = m_store->openKeys(QStringLiteral("FatTakip"), QStringLiteral("Select * From FatTakip Order By Yil"), {});
    QVERIFY(r.writable);
    QCOMPARE(r.keys, (std::vector<qint64>{d, b, a, c})); // empty first as on the file, then by key
    QCOMPARE(r.fields.size(), 3);
    QCOMPARE(r.fields[1].name, QStringLiteral("Yil"));
    QCOMPARE(r.fields[1].kind, FieldKind::Integer);

    const qint64 window[] = {c, 999, a, c};
    const std::vector<QByteArray> rows = m_store->readRows(QStringLiteral("FatTakip"), r.fields, window, 4);
    QCOMPARE(rows.size(), size_t(4));
    QCOMPARE(cell(rows[0], 3, 2), QStringLiteral("Mart"));
    QVERIFY(rows[1].isEmpty()); // no longer in the table
    QCOMPARE(cell(rows[2], 3, 2), QStringLiteral("Ocak ayı"));
    QCOMPARE(packedCell(rows[2], 3, 0), QVariant(qlonglong(a)));
    QCOMPARE(packedCell(rows[2], 3, 1), QVariant(qlonglong(2024)));
    QCOMPARE(rows[3], rows[0]);

    // Values of every kind come back as the file gives them.
    const qint64 m = m_store->insertRow(QStringLiteral("FatTakip"), {QStringLiteral("Yil")}, {2024});
    m_store->insertRow(QStringLiteral("FatTakip1"),
                       {QStringLiteral("SiraNo"), QStringLiteral("FaturaTarihi"), QStringLiteral("Tutar"), QStringLiteral("Kdv_Onay"),
                        QStringLiteral("FaturaNo")},
                       {m, QStringLiteral("2024-02-29"), 1500.5, true, QStringLiteral("0123\tçizgi\\")});
    const KeyedResult d1 = m_store->openKeys(QStringLiteral("FatTakip1"),
                                             QStringLiteral("Select * From FatTakip1 where SiraNo=:SiraNo"), {m});
    QCOMPARE(d1.keys.size(), size_t(1));
    const QByteArray row = m_store->readRows(QStringLiteral("FatTakip1"), d1.fields, d1.keys.data(), 1)[0];
    const int n = int(d1.fields.size());
    QCOMPARE(packedCell(row, n, indexOf(d1.fields, "FaturaTarihi")), QVariant(QStringLiteral("2024-02-29")));
    QCOMPARE(packedCell(row, n, indexOf(d1.fields, "Tutar")), QVariant(1500.5));
    QCOMPARE(packedCell(row, n, indexOf(d1.fields, "Kdv_Onay")), QVariant(qlonglong(1)));
    QCOMPARE(packedCell(row, n, indexOf(d1.fields, "FaturaNo")), QVariant(QStringLiteral("0123\tçizgi\\")));
    QVERIFY(packedCell(row, n, indexOf(d1.fields, "Iskonto")).isNull());
    QCOMPARE(d1.fields[indexOf(d1.fields, "FaturaTarihi")].kind, FieldKind::Date);

    // A statement of another form is read whole.
    const KeyedResult sum = m_store->openKeys(QStringLiteral("FatTakip"),
                                              QStringLiteral("SELECT Yil, count(*) AS Adet FROM FatTakip WHERE Yil = ? GROUP BY Yil"),
                                              {2024});
    QVERIFY(!sum.writable);
    QCOMPARE(sum.fields[0].name, QStringLiteral("Yil"));
    QCOMPARE(sum.rows.size(), size_t(1));
    QCOMPARE(packedCell(sum.rows[0], 2, 1), QVariant(qlonglong(3)));
}

void PgStoreTest::insertGivesKeyAndSiraNo()
{
    const qint64 first = m_store->insertRow(QStringLiteral("Cari"), {QStringLiteral("SiraNo"), QStringLiteral("Firma")},
                                            {QVariant(), QStringLiteral("Ak Oto")});
    const qint64 second = m_store->insertRow(QStringLiteral("Cari"), {QStringLiteral("Firma")}, {QStringLiteral("Bey Oto")});
    QVERIFY(second > first);
    QCOMPARE(columnOf(*m_store, QStringLiteral("Cari"), QStringLiteral("Select * From Cari"), "SiraNo"),
             (QStringList{QString::number(first), QString::number(second)}));
    // A detail row has a key of its own, apart from its master's SiraNo.
    const qint64 d1 = m_store->insertRow(QStringLiteral("Cari1"), {QStringLiteral("SiraNo"), QStringLiteral("FatNo")},
                                         {second, QStringLiteral("F1")});
    const qint64 d2 = m_store->insertRow(QStringLiteral("Cari1"), {QStringLiteral("SiraNo"), QStringLiteral("FatNo")},
                                         {second, QStringLiteral("F2")});
    QVERIFY(d1 != d2);
    const KeyedResult r = m_store->openKeys(QStringLiteral("Cari1"), QStringLiteral("Select * From Cari1 where SiraNo=:SiraNo"), {second});
    QCOMPARE(r.keys, (std::vector<qint64>{d1, d2}));
    QCOMPARE(indexOf(r.fields, "Anahtar"), -1);
}

void PgStoreTest::updateWithExpectedValues()
{
    const QString t = QStringLiteral("Stok");
    const qint64 k = m_store->insertRow(t, {QStringLiteral("StokKodu"), QStringLiteral("Adet")}, {QStringLiteral("A1"), 5.0});
    const QVector<ExpectedValue> asRead = {{QStringLiteral("StokKodu"), QStringLiteral("A1")},
                                           {QStringLiteral("Raf"), QVariant()}}; // empty matches empty
    QVERIFY(m_store->updateRow(t, k, {QStringLiteral("Adet")}, {7.0}, &asRead));
    // another desk changed the row meanwhile
    m_store->updateRow(t, k, {QStringLiteral("StokKodu")}, {QStringLiteral("A2")});
    QVERIFY(!m_store->updateRow(t, k, {QStringLiteral("Adet")}, {9.0}, &asRead));
    QCOMPARE(columnOf(*m_store, t, QStringLiteral("Select * From Stok"), "Adet"), QStringList{QStringLiteral("7")});
    QVERIFY(!m_store->updateRow(t, k + 100, {QStringLiteral("Adet")}, {1.0}));
    QVERIFY(m_store->updateRow(t, k, {}, {})); // nothing to write: still there
}

void PgStoreTest::statementsPreparedOncePerConnection()
{
    PgConnection &db = m_store->connection();
    const auto prepared = [&] {
        return QByteArray(db.exec(QStringLiteral("SELECT count(*) FROM pg_prepared_statements")).value(0, 0)).toInt();
    };
    const int before = prepared();
    const QString t = QStringLiteral("Stok");
    const QVector<FieldDef> fields = serverTable(t)->fields();
    const int adet = indexOf(fields, "Adet");
    const qint64 k = m_store->insertRow(t, {QStringLiteral("StokKodu")}, {QStringLiteral("A1")});
    for (int i = 1; i <= 5; ++i) {
        const QVector<ExpectedValue> asRead = {{QStringLiteral("Adet"), i > 1 ? QVariant(double(i - 1)) : QVariant()}};
        QVERIFY(m_store->updateRow(t, k, {QStringLiteral("Adet")}, {double(i)}, &asRead));
        QCOMPARE(cell(m_store->readRows(t, fields, &k, 1).front(), int(fields.size()), adet), QString::number(i));
    }
    // the insert, the checked update and the row's read: once each
    QCOMPARE(prepared() - before, 3);
    // A search is planned for each typed text, to find its rows through the index: never prepared.
    const Condition typed = m_store->beginsWith(QStringLiteral("StokKodu"), QStringLiteral("a"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(m_store->openKeys(t, QStringLiteral("SELECT * FROM Stok WHERE ") + typed.sql, typed.params).keys,
                 std::vector<qint64>{k});
    QCOMPARE(prepared() - before, 3);
    // A session's many statements stay bounded on the server, and still run right.
    for (int i = 0; i < 300; ++i)
        QCOMPARE(QByteArray(db.execPrepared(QStringLiteral("SELECT %1").arg(i)).value(0, 0)).toInt(), i);
    QVERIFY2(prepared() <= 256, QByteArray::number(prepared()));
    QVERIFY(m_store->updateRow(t, k, {QStringLiteral("Adet")}, {9.0}));
}

void PgStoreTest::deleteTakesTheDetailsAlong()
{
    const qint64 kasa = m_store->insertRow(QStringLiteral("Kasa"), {QStringLiteral("Aylar")}, {QStringLiteral("Ocak")});
    const qint64 other = m_store->insertRow(QStringLiteral("Kasa"), {QStringLiteral("Aylar")}, {QStringLiteral("Şubat")});
    for (qint64 master : {kasa, kasa, other})
        m_store->insertRow(QStringLiteral("Kasa1"), {QStringLiteral("SiraNo"), QStringLiteral("Tahsilat")}, {master, 10.0});
    QVERIFY(m_store->deleteRow(QStringLiteral("Kasa"), kasa));
    QVERIFY(!m_store->deleteRow(QStringLiteral("Kasa"), kasa));
    const KeyedResult left = m_store->openKeys(QStringLiteral("Kasa1"), QStringLiteral("Select * From Kasa1"), {});
    QCOMPARE(left.keys.size(), size_t(1));
    QCOMPARE(columnOf(*m_store, QStringLiteral("Kasa1"), QStringLiteral("Select * From Kasa1"), "SiraNo"),
             QStringList{QString::number(other)});
    QCOMPARE(m_store->exec(QStringLiteral("DELETE FROM Kasa1 WHERE SiraNo = ?"), {other}), 1);
}

void PgStoreTest::refusedValuesReadAsOnTheFile()
{
    // A detail row under a master that is not there: the file's text.
    TempDatabase file;
    QString fileText, serverText;
    try {
        Connection c(file.path());
        c.exec(QStringLiteral("INSERT INTO Odeme1 (SiraNo, Tutar) VALUES (?, ?)"), {4711, 1.0});
    } catch (const DatabaseError &e) {
        fileText = e.text();
    }
    try {
        m_store->insertRow(QStringLiteral("Odeme1"), {QStringLiteral("SiraNo"), QStringLiteral("Tutar")}, {4711, 1.0});
    } catch (const DatabaseError &e) {
        serverText = e.text();
    }
    QVERIFY(!fileText.isEmpty());
    QCOMPARE(serverText, fileText);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, m_store->readRows(QStringLiteral("Yok"), {}, nullptr, 0));
    // A name the books do not have: the file's words.
    for (const char *sql : {"SELECT * FROM Stok WHERE NoSuchColumn = 1", "SELECT * FROM NoSuchTable"}) {
        QString onFile, onServer;
        try {
            Connection(file.path()).exec(QLatin1String(sql));
        } catch (const DatabaseError &e) {
            onFile = e.text();
        }
        try {
            m_store->exec(QLatin1String(sql));
        } catch (const DatabaseError &e) {
            onServer = e.text();
        }
        QCOMPARE(onServer.toLower(), onFile.toLower());
    }
}

void PgStoreTest::turkishOrder()
{
    const QStringList names = {QStringLiteral("Zeki"), QStringLiteral("çelik"), QStringLiteral("Can"), QStringLiteral("Dursun"),
                               QStringLiteral("ılgaz"), QStringLiteral("İnci"), QStringLiteral("Işık"), QStringLiteral("ozan"),
                               QStringLiteral("Ömer"), QStringLiteral("şahin"), QStringLiteral("Sarp"), QStringLiteral("Ümit"),
                               QStringLiteral("Uğur"), QStringLiteral("Gül"), QStringLiteral("Ğ")};
    for (const QString &n : names)
        m_store->insertRow(QStringLiteral("Cari"), {QStringLiteral("Firma")}, {n});
    m_store->insertRow(QStringLiteral("Cari"), {QStringLiteral("Firma")}, {QVariant()});
    const QStringList expected = {QString(), QStringLiteral("Can"), QStringLiteral("çelik"), QStringLiteral("Dursun"),
                                  QStringLiteral("Gül"), QStringLiteral("Ğ"), QStringLiteral("ılgaz"), QStringLiteral("Işık"),
                                  QStringLiteral("İnci"), QStringLiteral("ozan"), QStringLiteral("Ömer"), QStringLiteral("Sarp"),
                                  QStringLiteral("şahin"), QStringLiteral("Uğur"), QStringLiteral("Ümit"), QStringLiteral("Zeki")};
    // the page's statement, written with the file's order key
    QCOMPARE(columnOf(*m_store, QStringLiteral("Cari"), QStringLiteral("Select * From Cari Order By ") + turkishKey(QStringLiteral("Firma")),
                      "Firma"),
             expected);
    QCOMPARE(columnOf(*m_store, QStringLiteral("Cari"),
                      QStringLiteral("Select * From Cari Order By ") + m_store->turkishOrder(QStringLiteral("Firma")), "Firma"),
             expected);
}

void PgStoreTest::searchesMatchAsOnTheFile()
{
    const QStringList texts = {
        QStringLiteral("İstanbul"), QStringLiteral("istanbul"), QStringLiteral("ISPARTA"), QStringLiteral("ısparta"),
        QStringLiteral("Irmak"),    QStringLiteral("iğne"),     QStringLiteral("100% pamuk"), QStringLiteral("100 adet"),
        QStringLiteral("a_b"),      QStringLiteral("axb"),      QStringLiteral("c\\d"),       QStringLiteral("c\\\\d"),
        QStringLiteral("ÇAĞ"),      QStringLiteral("çağ"),      QStringLiteral("Şule"),       QStringLiteral("ŞULE"),
        QStringLiteral("Öz"),       QStringLiteral("öZ"),       QStringLiteral(""),           QStringLiteral("KİRAZ")};
    TempDatabase file;
    {
        Connection c(file.path());
        for (const QString &t : texts) {
            c.exec(QStringLiteral("INSERT INTO Stok (StokAdi) VALUES (?)"), {t});
            m_store->insertRow(QStringLiteral("Stok"), {QStringLiteral("StokAdi")}, {t});
        }
    }
    const QStringList typed = {QStringLiteral("i"),    QStringLiteral("I"),   QStringLiteral("İ"),    QStringLiteral("ı"),
                               QStringLiteral("İST"),  QStringLiteral("isp"), QStringLiteral("ISP"),  QStringLiteral("100%"),
                               QStringLiteral("100%p"), QStringLiteral("a_"),  QStringLiteral("_x"),   QStringLiteral("c\\"),
                               QStringLiteral("c\\\\"), QStringLiteral("c\\d"), QStringLiteral("%ğ"),  QStringLiteral("çağ"),
                               QStringLiteral("ÇA"),   QStringLiteral("şu"),  QStringLiteral("öz"),   QStringLiteral("kir"),
                               QStringLiteral("%")};
    Connection c(file.path());
    for (const QString &t : typed) {
        const Condition onFile = beginsWith(QStringLiteral("StokAdi"), t);
        QSqlQuery q(c.database());
        q.prepare(QStringLiteral("SELECT StokAdi FROM Stok WHERE ") + onFile.sql + QStringLiteral(" ORDER BY SiraNo"));
        for (int i = 0; i < onFile.params.size(); ++i)
            q.bindValue(i, onFile.params[i]);
        QVERIFY(q.exec());
        QStringList fileRows;
        while (q.next())
            fileRows << q.value(0).toString();
        const Condition onServer = m_store->beginsWith(QStringLiteral("StokAdi"), t);
        QCOMPARE(columnOf(*m_store, QStringLiteral("Stok"), QStringLiteral("Select * From Stok where ") + onServer.sql,
                          "StokAdi", onServer.params),
                 fileRows);
    }
    // the prefix search is answered by the folded column's index
    m_store->exec(QStringLiteral("ANALYZE Stok"));
    m_store->exec(QStringLiteral("SET enable_seqscan = off"));
    const Condition cond = m_store->beginsWith(QStringLiteral("StokAdi"), QStringLiteral("ist"));
    const PgResult plan = m_store->connection().exec(
        serverStatement(QStringLiteral("EXPLAIN SELECT SiraNo FROM Stok WHERE ") + cond.sql), cond.params);
    QString planText;
    for (int i = 0; i < plan.rows(); ++i)
        planText += QString::fromUtf8(plan.value(i, 0)) + QLatin1Char('\n');
    QVERIFY2(planText.contains(QLatin1String("Stok_StokAdi_Sira_Ara"), Qt::CaseInsensitive), qPrintable(planText));
    // a list in Turkish order is read from its index, not sorted
    const StarSelect list = parseStarSelect(QStringLiteral("Select * From Stok Order By ") + m_store->turkishOrder(QStringLiteral("StokAdi")));
    const PgResult ordered = m_store->connection().exec(QStringLiteral("EXPLAIN ") + serverKeysStatement(list, *serverTable(QStringLiteral("Stok"))));
    planText.clear();
    for (int i = 0; i < ordered.rows(); ++i)
        planText += QString::fromUtf8(ordered.value(i, 0)) + QLatin1Char('\n');
    QVERIFY2(!planText.contains(QLatin1String("Sort")), qPrintable(planText));
}

void PgStoreTest::bookCopiedKeepsKeysAndSums()
{
    TempDatabase file(TempDatabase::Demo);
    file.exec(QStringLiteral("DELETE FROM Kasa1 WHERE rowid = (SELECT min(rowid) FROM Kasa1)")); // a gap in the keys
    copyDataFileToServer(file.path(), m_store->connection());
    for (const ServerTable &t : serverTables()) {
        const QString keyOnFile = t.keyIsColumn() ? t.key : QStringLiteral("rowid");
        const QVariantList fileKeys = file.column(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1").arg(keyOnFile, t.name));
        const KeyedResult r = m_store->openKeys(t.name, QStringLiteral("Select * From ") + t.name, {});
        QCOMPARE(r.keys.size(), size_t(fileKeys.size()));
        for (size_t i = 0; i < r.keys.size(); ++i)
            QCOMPARE(r.keys[i], fileKeys[qsizetype(i)].toLongLong());
        // every value as on the file
        const std::vector<QByteArray> rows = m_store->readRows(t.name, r.fields, r.keys.data(), int(r.keys.size()));
        for (int c = 0; c < r.fields.size(); ++c) {
            const QVariantList fileValues =
                file.column(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(r.fields[c].name, t.name, keyOnFile));
            for (size_t i = 0; i < rows.size(); ++i)
                QCOMPARE(packedCell(rows[i], int(r.fields.size()), c).toString(), fileValues[qsizetype(i)].toString());
        }
    }
    // new rows continue past the copied keys
    const qint64 last = file.scalar(QStringLiteral("SELECT max(SiraNo) FROM Kasa")).toLongLong();
    QCOMPARE(m_store->insertRow(QStringLiteral("Kasa"), {QStringLiteral("Aylar")}, {QStringLiteral("Yeni")}), last + 1);
}

void PgStoreTest::initdbMakesServerBooks()
{
    const QString address = m_server->createDatabase(QStringLiteral("arac%1").arg(m_databases));
    QProcess tool;
    tool.start(QStringLiteral(TK_INITDB), {address, QStringLiteral("--demo")});
    QVERIFY(tool.waitForFinished(120000));
    QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
    PgStore books(address);
    TempDatabase demo(TempDatabase::Demo);
    for (const char *table : {"MusTakip", "MusTakip1", "Cari1", "Stok"})
        QCOMPARE(qlonglong(books.openKeys(QLatin1String(table), QStringLiteral("Select * From ") + QLatin1String(table), {}).keys.size()),
                 demo.scalar(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table)).toLongLong());
    // a second run leaves the books as they are
    tool.start(QStringLiteral(TK_INITDB), {address});
    QVERIFY(tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 1);
}

QTEST_GUILESS_MAIN(PgStoreTest)
#include "tst_pgstore.moc"
