// Datasets that keep only their keys and read rows in windows: every row read
// through a window must be the row the file holds at that place, however the
// user got there, and whatever was evicted, inserted or deleted meanwhile.
#include "app/PageTable.h"
#include "support/TestSupport.h"
#include "support/ServerBooks.h"

#include "data/DataModule.h"
#include "data/PackedRow.h"
#include "data/SearchBoxes.h"
#include "data/SqliteStore.h"

#include <QSignalSpy>
#include <QTest>

using namespace tk;
using tk::test::TempDatabase;

namespace {

constexpr int W = Dataset::kWindowRows;
// More rows than the kept windows hold, so that walking the list evicts.
constexpr int kRows = W * (Dataset::kWindowsKept + 8) + 5;

// Stock rows K00001… (Adet = the number), inserted in one statement.
void addStock(const TempDatabase &db, int count)
{
    db.exec(QStringLiteral("INSERT INTO Stok (StokKodu, StokAdi, Adet) "
                           "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
                           "SELECT printf('K%05d', x), 'Parça ' || x, x FROM n")
                .arg(count));
}

QStringList texts(const Dataset &ds, const QString &field)
{
    QStringList out;
    const int c = ds.fieldIndex(field);
    for (int r = 0; r < ds.rowCount(); ++r)
        out << ds.textAt(r, c);
    return out;
}

QStringList fileColumn(const TempDatabase &db, const QString &sql)
{
    QStringList out;
    for (const QVariant &v : db.column(sql))
        out << v.toString();
    return out;
}

} // namespace

class WindowedRowsTest : public QObject {
    Q_OBJECT
private slots:
    void movingAcrossWindowBordersBothWays()
    {
        TempDatabase db;
        addStock(db, kRows);
        DataModule data(db.path(), datasetDefs());
        Dataset *stok = data.dataset(QStringLiteral("Stok"));
        QCOMPARE(stok->rowCount(), kRows);
        const QStringList want = fileColumn(db, QStringLiteral("SELECT StokKodu FROM Stok"));

        // Row by row to the end and back: every window border crossed both ways.
        for (int r = 0; r < kRows; ++r, stok->next())
            QCOMPARE(stok->text(QStringLiteral("StokKodu")), want[r]);
        QVERIFY(stok->eof());
        for (int r = kRows - 1; r >= 0; --r, stok->prior())
            QCOMPARE(stok->text(QStringLiteral("StokKodu")), want[r]);
        QVERIFY(stok->bof());

        // Jumps, and the rows on either side of a border read without moving.
        const int c = stok->fieldIndex(QStringLiteral("Adet"));
        for (int r : {kRows - 1, 0, W - 1, W, 5 * W, 5 * W - 1, kRows / 2, W + 1})
            QCOMPARE(stok->valueAt(r, c).toInt(), r + 1);
        stok->moveTo(3 * W);
        QCOMPARE(stok->moveBy(-1), -1);
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), want[3 * W - 1]);
        QCOMPARE(stok->moveBy(W * 2), W * 2);
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), want[5 * W - 1]);
    }

    void editingARowEvictedFromTheCache()
    {
        TempDatabase db;
        addStock(db, kRows);
        DataModule data(db.path(), datasetDefs());
        Dataset *stok = data.dataset(QStringLiteral("Stok"));
        QCOMPARE(stok->text(QStringLiteral("StokAdi")), QStringLiteral("Parça 1"));
        const int c = stok->fieldIndex(QStringLiteral("StokAdi"));
        for (int r = 0; r < kRows; ++r) // reads every window: the first is long gone
            stok->textAt(r, c);

        stok->moveTo(10);
        stok->setText(QStringLiteral("StokAdi"), QStringLiteral("FREN BALATASI"));
        stok->post();
        QCOMPARE(db.scalar(QStringLiteral("SELECT StokAdi FROM Stok WHERE Adet=11")).toString(),
                 QStringLiteral("FREN BALATASI"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok WHERE StokAdi='FREN BALATASI'")).toInt(), 1);
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("K00011"));
        QCOMPARE(stok->textAt(9, c), QStringLiteral("Parça 10"));
        QCOMPARE(stok->textAt(11, c), QStringLiteral("Parça 12"));

        // Evicted again, the saved value is what is read back.
        for (int r = kRows - 1; r >= W; --r)
            stok->textAt(r, c);
        for (int r = W; r < kRows; ++r)
            stok->textAt(r, c);
        QCOMPARE(stok->textAt(10, c), QStringLiteral("FREN BALATASI"));
    }

    void deletingTheLastRowOfAWindow()
    {
        TempDatabase db;
        addStock(db, 3 * W);
        DataModule data(db.path(), datasetDefs());
        Dataset *stok = data.dataset(QStringLiteral("Stok"));
        stok->moveTo(W - 1);
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("K%1").arg(W, 5, 10, QLatin1Char('0')));
        stok->remove();
        QCOMPARE(stok->rowCount(), 3 * W - 1);
        QCOMPARE(stok->currentRow(), W - 1);
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("K%1").arg(W + 1, 5, 10, QLatin1Char('0')));
        QCOMPARE(texts(*stok, QStringLiteral("StokKodu")), fileColumn(db, QStringLiteral("SELECT StokKodu FROM Stok")));

        // The very last row of the list, the last of its window too.
        stok->last();
        stok->remove();
        QCOMPARE(stok->rowCount(), 3 * W - 2);
        QCOMPARE(stok->currentRow(), 3 * W - 3);
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("K%1").arg(3 * W - 1, 5, 10, QLatin1Char('0')));
        QCOMPARE(db.scalar(QStringLiteral("SELECT count(*) FROM Stok")).toInt(), 3 * W - 2);
    }

    void insertingThenScrolling()
    {
        TempDatabase db;
        addStock(db, 4 * W - 1);
        DataModule data(db.path(), datasetDefs());
        Dataset *stok = data.dataset(QStringLiteral("Stok"));
        stok->moveTo(2 * W + 3); // its window is read, the last one is not
        stok->append();
        QCOMPARE(stok->currentRow(), 4 * W - 1);
        QVERIFY(stok->text(QStringLiteral("StokKodu")).isEmpty());
        stok->setText(QStringLiteral("StokKodu"), QStringLiteral("YENİ"));
        stok->setText(QStringLiteral("Adet"), QStringLiteral("7"));
        // The rows before the new one read from their window while it is being typed.
        QCOMPARE(stok->textAt(4 * W - 2, stok->fieldIndex(QStringLiteral("StokKodu"))),
                 QStringLiteral("K%1").arg(4 * W - 1, 5, 10, QLatin1Char('0')));
        stok->post();
        QCOMPARE(stok->rowCount(), 4 * W);

        // Up across three borders and down again.
        for (int i = 0; i < 3 * W + 1; ++i)
            stok->prior();
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("K%1").arg(W - 1, 5, 10, QLatin1Char('0')));
        stok->last();
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("YENİ"));
        QCOMPARE(stok->value(QStringLiteral("Adet")).toInt(), 7);
        QVERIFY(!stok->isNull(QStringLiteral("SiraNo")));
        QStringList want = fileColumn(db, QStringLiteral("SELECT StokKodu FROM Stok"));
        QCOMPARE(texts(*stok, QStringLiteral("StokKodu")), want);

        // A second insert while the first window is evicted, then a refresh.
        for (int r = 0; r < kRows && r < stok->rowCount(); ++r)
            stok->textAt(r, 0);
        stok->append();
        stok->setText(QStringLiteral("StokKodu"), QStringLiteral("İKİNCİ"));
        stok->first(); // leaving the new row saves it
        QCOMPARE(stok->rowCount(), 4 * W + 1);
        stok->refresh();
        QCOMPARE(texts(*stok, QStringLiteral("StokKodu")), fileColumn(db, QStringLiteral("SELECT StokKodu FROM Stok")));
        QCOMPARE(stok->textAt(4 * W, stok->fieldIndex(QStringLiteral("StokKodu"))), QStringLiteral("İKİNCİ"));
    }

    void masterMoveRequeriesItsDetail()
    {
        TempDatabase db;
        db.exec(QStringLiteral("INSERT INTO Maas (Aylar) VALUES ('OCAK'), ('ŞUBAT'), ('MART')"));
        // Lines of the two months interleaved, more of them than a window.
        db.exec(QStringLiteral("INSERT INTO Maas1 (SiraNo, Personel, Maas) "
                               "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < %1) "
                               "SELECT 1 + x % 2, 'P' || x, x FROM n")
                    .arg(3 * W));
        DataModule data(db.path(), datasetDefs());
        Dataset *maas = data.dataset(QStringLiteral("Maas"));
        Dataset *lines = data.dataset(QStringLiteral("Maas1"));
        const auto fileLines = [&](int month) {
            return fileColumn(db, QStringLiteral("SELECT Personel FROM Maas1 WHERE SiraNo=%1").arg(month));
        };
        QCOMPARE(texts(*lines, QStringLiteral("Personel")), fileLines(1));
        lines->last();
        maas->next();
        QCOMPARE(lines->currentRow(), 0);
        QCOMPARE(texts(*lines, QStringLiteral("Personel")), fileLines(2));
        QCOMPARE(lines->rowCount(), 3 * W / 2);
        maas->next();
        QCOMPARE(lines->rowCount(), 0);
        QVERIFY(lines->bof() && lines->eof());

        // A line changed elsewhere shows after the master comes back to its month.
        db.exec(QStringLiteral("UPDATE Maas1 SET Personel='DEĞİŞTİ' WHERE Personel='P2'"));
        maas->first();
        QCOMPARE(texts(*lines, QStringLiteral("Personel")), fileLines(1));
        QCOMPARE(lines->text(QStringLiteral("Personel")), QStringLiteral("DEĞİŞTİ"));
    }

    void searchWhileARowIsChanged()
    {
        TempDatabase db;
        addStock(db, 5 * W);
        DataModule data(db.path(), datasetDefs());
        Dataset *stok = data.dataset(QStringLiteral("Stok"));
        stok->moveTo(2 * W + 1); // K00130
        stok->setText(QStringLiteral("StokAdi"), QStringLiteral("DEĞİŞEN"));
        db.exec(QStringLiteral("UPDATE Stok SET StokAdi='BAŞKA MASADA' WHERE StokKodu='K00131'"));

        // What a search box does: the changed row is saved, then the statement replaced.
        stok->checkBrowseMode();
        const SearchStatement s =
            searchStatement(*data.store(), QStringLiteral("Stok"), QStringLiteral("StokKodu"), QStringLiteral("K001"));
        stok->setSql(s.sql, s.params);
        QCOMPARE(stok->rowCount(), 100);
        QCOMPARE(texts(*stok, QStringLiteral("StokKodu")),
                 fileColumn(db, QStringLiteral("SELECT StokKodu FROM Stok WHERE StokKodu LIKE 'K001%'")));
        const int c = stok->fieldIndex(QStringLiteral("StokAdi"));
        QCOMPARE(stok->textAt(30, c), QStringLiteral("DEĞİŞEN"));
        QCOMPARE(stok->textAt(31, c), QStringLiteral("BAŞKA MASADA"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT StokAdi FROM Stok WHERE StokKodu='K00130'")).toString(),
                 QStringLiteral("DEĞİŞEN"));

        // Emptied, every row comes back in the file's order.
        const SearchStatement all =
            searchStatement(*data.store(), QStringLiteral("Stok"), QStringLiteral("StokKodu"), QString());
        stok->setSql(all.sql, all.params);
        QCOMPARE(stok->rowCount(), 5 * W);
        QCOMPARE(texts(*stok, QStringLiteral("StokAdi")), fileColumn(db, QStringLiteral("SELECT StokAdi FROM Stok")));
    }

    // Any index holds every key, so "SELECT rowid" alone may be answered from
    // one in its own order: the keys must come in the whole statement's order.
    void keyOrderIsTheStatementsOrderWithIndexes()
    {
        if (tk::test::testsOnServer())
            QSKIP("a trap of the file's engine; the server's statements end with the key");
        TempDatabase db;
        // Inserted in the reverse order of the summary indexes (date, amount).
        db.exec(QStringLiteral("INSERT INTO SenetVer (SenetNo, VadeTarihi, Tutar) "
                               "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 300) "
                               "SELECT 'S' || x, date('2030-01-01', '-' || x || ' days'), 1000 - x FROM n;"
                               "INSERT INTO Kasa (Aylar) VALUES ('OCAK');"
                               "INSERT INTO Kasa1 (SiraNo, Tarih, Tahsilat) "
                               "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 300) "
                               "SELECT 1, date('2030-01-01', '-' || x || ' days'), x FROM n"));
        db.exec(QStringLiteral("INSERT INTO Cari (Firma) VALUES ('ZEKİ'), ('ÇAĞRI'), ('ahmet'), ('Çağrı'), ('İSMAİL')"));
        const QStringList naive = fileColumn(db, QStringLiteral("SELECT rowid FROM SenetVer"));
        const QStringList whole = fileColumn(db, QStringLiteral("SELECT rowid, * FROM SenetVer"));
        QVERIFY2(naive != whole, "the file must hold the trap this test is about");

        DataModule data(db.path(), datasetDefs());
        for (const DatasetDef &def : datasetDefs()) {
            Dataset *ds = data.dataset(QString::fromLatin1(def.name));
            const int c = ds->fieldIndex(QStringLiteral("SiraNo"));
            if (ds->master() || c < 0)
                continue; // details: below, through the store
            QStringList got;
            for (int r = 0; r < ds->rowCount(); ++r)
                got << QString::number(ds->valueAt(r, c).toLongLong());
            const QString sql = QStringLiteral("SELECT SiraNo, * ") + def.sql.mid(def.sql.indexOf(QLatin1String(" From ")));
            QVERIFY2(got == fileColumn(db, sql), def.name);
        }
        // The same through the store, on a statement of a search and a detail.
        SqliteStore &store = dynamic_cast<SqliteStore &>(*data.store());
        for (const QString &sql : {QStringLiteral("SELECT * FROM Kasa1 WHERE SiraNo=1"),
                                   QStringLiteral("SELECT * FROM SenetVer WHERE Tutar > 800"),
                                   QStringLiteral("SELECT * FROM SenetVer ORDER BY VadeTarihi DESC")}) {
            QStringList keys;
            for (qint64 k : store.openKeys(QString(), sql, {}).keys)
                keys << QString::number(k);
            QCOMPARE(keys, fileColumn(db, QString(sql).replace(QStringLiteral("SELECT *"), QStringLiteral("SELECT rowid, *"))));
        }
    }

    // What every store promises the datasets, on the file's store.
    void storeReadsAndWritesByKey()
    {
        if (tk::test::testsOnServer())
            QSKIP("the file's store; the server's keeps the same promises in server_tst_pgstore");
        TempDatabase db;
        addStock(db, 3);
        Connection connection(db.path());
        SqliteStore store(connection);
        const KeyedResult opened = store.openKeys(QStringLiteral("Stok"), QStringLiteral("SELECT * FROM Stok"), {});
        QVERIFY(opened.writable);
        QCOMPARE(opened.keys, (std::vector<qint64>{1, 2, 3}));
        const int c = 2; // StokAdi
        QCOMPARE(opened.fields[c].name, QStringLiteral("StokAdi"));

        // In the order asked, a key twice, a missing key empty in its place.
        const qint64 keys[] = {3, 99, 1, 3};
        const std::vector<QByteArray> rows = store.readRows(QStringLiteral("Stok"), opened.fields, keys, 4);
        QCOMPARE(packedCell(rows[0], int(opened.fields.size()), c).toString(), QStringLiteral("Parça 3"));
        QVERIFY(rows[1].isEmpty());
        QCOMPARE(packedCell(rows[2], int(opened.fields.size()), c).toString(), QStringLiteral("Parça 1"));
        QCOMPARE(rows[3], rows[0]);

        // A save that expects values writes only while the row still holds them.
        const QVector<ExpectedValue> stale = {{QStringLiteral("StokAdi"), QStringLiteral("eski")}};
        QVERIFY(!store.updateRow(QStringLiteral("Stok"), 2, {QStringLiteral("Raf")}, {QStringLiteral("R1")}, &stale));
        const QVector<ExpectedValue> held = {{QStringLiteral("StokAdi"), QStringLiteral("Parça 2")},
                                             {QStringLiteral("Raf"), QVariant()}};
        QVERIFY(store.updateRow(QStringLiteral("Stok"), 2, {QStringLiteral("Raf")}, {QStringLiteral("R1")}, &held));
        QCOMPARE(db.scalar(QStringLiteral("SELECT Raf FROM Stok WHERE SiraNo=2")).toString(), QStringLiteral("R1"));

        const qint64 added = store.insertRow(QStringLiteral("Stok"), {QStringLiteral("StokKodu")}, {QStringLiteral("YENİ")});
        QCOMPARE(db.scalar(QStringLiteral("SELECT StokKodu FROM Stok WHERE SiraNo=%1").arg(added)).toString(),
                 QStringLiteral("YENİ"));
        QVERIFY(store.deleteRow(QStringLiteral("Stok"), added));
        QVERIFY(!store.deleteRow(QStringLiteral("Stok"), added));
        QVERIFY(!store.updateRow(QStringLiteral("Stok"), added, {QStringLiteral("Raf")}, {QStringLiteral("R2")}));
    }

    void keysReadWhenFirstRead()
    {
        TempDatabase db;
        addStock(db, W + 1);
        db.exec(QStringLiteral("INSERT INTO Maas (Aylar) VALUES ('OCAK'), ('ŞUBAT')"));
        db.exec(QStringLiteral("INSERT INTO Maas1 (SiraNo, Personel) VALUES (1, 'A'), (2, 'B'), (2, 'C')"));
        DataModule data(db.path(), datasetDefs());
        for (const Dataset *ds : data.datasets())
            QVERIFY2(ds->isOpen() && !ds->keysRead(), qPrintable(ds->name()));

        // The columns are known without the keys; rows added before the first
        // read count, and the views bound to the dataset hear of the keys once.
        Dataset *stok = data.dataset(QStringLiteral("Stok"));
        QCOMPARE(stok->fieldKind(QStringLiteral("Adet")), FieldKind::Real);
        db.exec(QStringLiteral("INSERT INTO Stok (StokKodu) VALUES ('ZZZ')"));
        QVERIFY(!stok->keysRead());
        QSignalSpy reset(stok, &Dataset::rowsReset);
        QSignalSpy moved(stok, &Dataset::currentChanged);
        QCOMPARE(stok->rowCount(), W + 2);
        QVERIFY(stok->keysRead());
        QCOMPARE(reset.count(), 1);
        QCOMPARE(moved.count(), 1);
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("K00001"));
        QCOMPARE(stok->rowCount(), W + 2);
        QCOMPARE(reset.count(), 1);
        for (const Dataset *ds : data.datasets())
            QVERIFY2(ds == stok || !ds->keysRead(), qPrintable(ds->name()));

        // A detail read first reads its master and follows its first row.
        Dataset *lines = data.dataset(QStringLiteral("Maas1"));
        QCOMPARE(lines->text(QStringLiteral("Personel")), QStringLiteral("A"));
        QVERIFY(data.dataset(QStringLiteral("Maas"))->keysRead());
        QCOMPARE(lines->rowCount(), 1);
        data.dataset(QStringLiteral("Maas"))->next();
        QCOMPARE(texts(*lines, QStringLiteral("Personel")), (QStringList{QStringLiteral("B"), QStringLiteral("C")}));

        // A reload (another desk's write) and a new order before the first
        // read read nothing; the first read then gives the order asked for.
        // A refresh is asked for: it reads.
        Dataset *kasa = data.dataset(QStringLiteral("Kasa"));
        kasa->reload();
        db.exec(QStringLiteral("INSERT INTO SenetAl (A_Firma) VALUES ('A'), ('B')"));
        Dataset *senet = data.dataset(QStringLiteral("SenetAl"));
        senet->setSortOrder(QStringLiteral("SiraNo DESC"));
        QVERIFY(!kasa->keysRead() && !senet->keysRead());
        QCOMPARE(senet->text(QStringLiteral("A_Firma")), QStringLiteral("B"));
        kasa->refresh();
        QVERIFY(kasa->keysRead());

        // A row added before its dataset was read reaches the file.
        Dataset *plan = data.dataset(QStringLiteral("Odeme"));
        plan->append();
        QVERIFY(plan->keysRead());
        QCOMPARE(plan->rowCount(), 1);
        plan->setText(QStringLiteral("Aylar"), QStringLiteral("YENİ"));
        plan->post();
        QCOMPARE(fileColumn(db, QStringLiteral("SELECT Aylar FROM Odeme")), QStringList{QStringLiteral("YENİ")});
    }

    void aDataModuleOnAStoreHandedIn()
    {
        if (tk::test::testsOnServer())
            QSKIP("hands in the file's store");
        TempDatabase db;
        addStock(db, W + 1);
        DataModule data(std::make_unique<SqliteStore>(std::make_unique<Connection>(db.path())), datasetDefs());
        QCOMPARE(data.store()->engine(), QStringLiteral("SQLite"));
        QVERIFY(data.connection());
        Dataset *stok = data.dataset(QStringLiteral("Stok"));
        QCOMPARE(stok->store(), data.store());
        stok->last();
        QCOMPARE(stok->text(QStringLiteral("StokKodu")), QStringLiteral("K%1").arg(W + 1, 5, 10, QLatin1Char('0')));
        data.releaseConnection();
        QVERIFY(!data.store() && !data.connection());
        QVERIFY(!stok->isOpen());
        QCOMPARE(stok->rowCount(), 0);
    }
};

QTEST_MAIN(WindowedRowsTest)
#include "tst_windowedrows.moc"
