// Schema versions: a version-1 file (made from the frozen tables of that
// version) brought forward with every row, refusals that leave the file
// byte for byte, the copy kept until the upgrade has succeeded, the foreign
// keys of a step, and a plain SQLite working on the upgraded file.
#include "app/PageTable.h"
#include "data/DataModule.h"
#include "data/Schema.h"
#include "data/SchemaVersion.h"
#include "initdb/DemoData.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

using namespace tk;

namespace {

// A plain handle: no function of the program is registered on it.
class PlainDb {
public:
    explicit PlainDb(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                            nullptr) != SQLITE_OK)
            qFatal("cannot open %s", qPrintable(path));
    }
    ~PlainDb() { sqlite3_close(m_db); }

    // Every row of `sql`, each cell as its type and text.
    QStringList rows(const QString &sql)
    {
        sqlite3_stmt *st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
            qFatal("%s: %s", qPrintable(sql), sqlite3_errmsg(m_db));
        QStringList out;
        while (sqlite3_step(st) == SQLITE_ROW) {
            QStringList cells;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                cells << (sqlite3_column_type(st, c) == SQLITE_NULL
                              ? QStringLiteral("<null>")
                              : QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c))));
            out << cells.join(QLatin1Char('|'));
        }
        sqlite3_finalize(st);
        return out;
    }
    QString value(const QString &sql) { return rows(sql).value(0); }
    void exec(const QString &sql)
    {
        char *message = nullptr;
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK)
            qFatal("%s: %s", qPrintable(sql), message);
    }

private:
    sqlite3 *m_db = nullptr;
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString frozenSchemaV1()
{
    QFile f(QStringLiteral(TK_SOURCE_DIR "/tests/data/schema-v1.sql"));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("schema-v1.sql missing");
    return QString::fromUtf8(f.readAll());
}

const QStringList tables = {"MusTakip", "MusTakip1", "HasTakip", "FatTakip", "FatTakip1", "Cari",
                            "Cari1",    "IrsaliyeUst", "Irsaliye", "Kasa", "Kasa1", "Odeme",
                            "Odeme1",   "SenetVer", "SenetAl", "Stok", "Maas", "Maas1"};

// Every row of every table with its rowid and the key counters, as text.
QMap<QString, QStringList> contents(PlainDb &db)
{
    QMap<QString, QStringList> all;
    for (const QString &t : tables)
        all[t] = db.rows("SELECT rowid, * FROM " + t + " ORDER BY rowid");
    all["sqlite_sequence"] = db.rows("SELECT name, seq FROM sqlite_sequence ORDER BY name");
    return all;
}

// What a file's tables look like to the program: columns with their declared
// types, keys, links and indexes (the text of a renamed table's statement differs).
QStringList shape(PlainDb &db)
{
    QStringList out;
    for (const QString &t : tables) {
        out << t + ": " + db.rows("PRAGMA table_info(" + t + ")").join(' ');
        out << t + " links: " + db.rows("PRAGMA foreign_key_list(" + t + ")").join(' ');
    }
    out << db.rows("SELECT name, tbl_name, sql FROM sqlite_master WHERE type = 'index' ORDER BY name");
    out << db.rows("SELECT name FROM sqlite_master WHERE type NOT IN ('table', 'index') ORDER BY name");
    return out;
}

QStringList leftCopies(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*yedek*")}, QDir::Files);
}

} // namespace

class SchemaVersionTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    // A folder of its own holding a version-1 Data.dat with bulk rows and the
    // damage page's dates in every form a version-1 file may hold.
    QString versionOneFile()
    {
        const QString folder = m_dir.filePath(QString::number(++m_files));
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/Data.dat");
        {
            PlainDb db(path);
            db.exec(frozenSchemaV1());
        }
        fillRows(path, 12);
        PlainDb db(path);
        db.exec("INSERT INTO HasTakip (Plaka, KazaTarihi, OdemeTarihi) VALUES "
                "('34 A 1', '2024-01-22', NULL), ('34 A 2', '', '2023-12-31'), "
                "('34 A 3', '15 MART 2024', '2024-3-5'), ('34 A 4', '2024-02-29', '2024-03-01')");
        // The newest damage file was deleted: its key must not come back.
        db.exec("DELETE FROM HasTakip WHERE SiraNo = (SELECT max(SiraNo) FROM HasTakip)");
        // A detail row without its master, left by some other program.
        db.exec("PRAGMA foreign_keys = OFF; INSERT INTO Kasa1 (SiraNo, Aciklama) VALUES (999, 'SAHİPSİZ')");
        return path;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void versionOneIsBroughtForwardWithEveryRow()
    {
        const QString path = versionOneFile();
        QMap<QString, QStringList> before;
        int lastKey;
        {
            PlainDb db(path);
            QCOMPARE(db.value("PRAGMA user_version"), QStringLiteral("1"));
            before = contents(db);
            lastKey = db.value("SELECT seq FROM sqlite_sequence WHERE name = 'HasTakip'").toInt();
        }
        // ISO dates become dd.MM.yyyy; anything else stays as it was.
        QStringList &damage = before["HasTakip"];
        for (QString &row : damage) {
            QStringList cells = row.split('|');
            for (const int c : {8, 18}) { // rowid, SiraNo, … KazaTarihi, … OdemeTarihi
                const QDate d = QDate::fromString(cells[c], Qt::ISODate);
                if (d.isValid() && cells[c].size() == 10)
                    cells[c] = d.toString(QStringLiteral("dd.MM.yyyy"));
            }
            row = cells.join('|');
        }

        // The program opens the file and finds it at the newest version.
        {
            DataModule data(path, datasetDefs());
            Dataset *files = data.dataset(QStringLiteral("HasTakip"));
            QVERIFY(files->rowCount() >= 15);
            files->last();
            QCOMPARE(files->text(QStringLiteral("KazaTarihi")), QStringLiteral("15 MART 2024"));
            files->prior();
            QCOMPARE(files->text(QStringLiteral("OdemeTarihi")), QStringLiteral("31.12.2023"));
        }
        PlainDb db(path);
        QCOMPARE(db.value("PRAGMA user_version").toInt(), newestSchemaVersion());
        const QMap<QString, QStringList> after = contents(db);
        for (const QString &t : before.keys())
            QCOMPARE(after.value(t), before.value(t));
        QVERIFY(damage.join(' ').contains("|22.01.2024|"));
        QVERIFY(damage.join(' ').contains("|2024-3-5|"));
        QCOMPARE(db.value("PRAGMA integrity_check"), QStringLiteral("ok"));
        QCOMPARE(leftCopies(QFileInfo(path).path()), QStringList());

        // The same tables, indexes and types as a file made new today.
        const QString fresh = QFileInfo(path).path() + QStringLiteral("/fresh.dat");
        createDatabaseFile(fresh);
        PlainDb made(fresh);
        QCOMPARE(shape(db), shape(made));
        QCOMPARE(db.value("SELECT typeof(KazaTarihi) FROM HasTakip WHERE Plaka = '34 A 1'"), QStringLiteral("text"));

        // Keys go on from where they were, not from the highest left.
        db.exec("INSERT INTO HasTakip (Plaka) VALUES ('YENİ')");
        QCOMPARE(db.value("SELECT SiraNo FROM HasTakip WHERE Plaka = 'YENİ'").toInt(), lastKey + 1);
    }

    void unknownVersionsAreRefusedUntouched_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("named");
        QTest::newRow("version 0, with tables") << "CREATE TABLE Cari (SiraNo INTEGER PRIMARY KEY, Firma TEXT)"
                                                << "şema sürümü 0";
        QTest::newRow("version 0, empty file") << QString() << "şema sürümü 0";
        QTest::newRow("newer") << "V1 PRAGMA user_version = %1" << "sürümü %1, bu programınki %2";
    }
    void unknownVersionsAreRefusedUntouched()
    {
        QFETCH(QString, setup);
        QFETCH(QString, named);
        const int newer = newestSchemaVersion() + 1;
        QString path;
        if (setup.startsWith("V1 ")) {
            path = versionOneFile();
            PlainDb(path).exec(setup.mid(3).arg(newer));
            named = named.arg(newer).arg(newestSchemaVersion());
        } else {
            path = m_dir.filePath(QStringLiteral("zero%1.dat").arg(++m_files));
            QFile empty(path);
            QVERIFY(empty.open(QIODevice::WriteOnly));
            empty.close();
            if (!setup.isEmpty())
                PlainDb(path).exec(setup);
        }
        const QByteArray bytes = fileBytes(path);
        try {
            DataModule data(path, datasetDefs());
            QFAIL("the file was opened");
        } catch (const DatabaseError &e) {
            QVERIFY2(e.text().contains(named), qPrintable(e.text()));
            QVERIFY2(e.text().contains(QFileInfo(path).fileName()), qPrintable(e.text()));
            QVERIFY2(e.text().contains("Dosyaya dokunulmadı"), qPrintable(e.text()));
        }
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(leftCopies(QFileInfo(path).path()), QStringList());
    }

    void damagedFileIsRefusedUntouched()
    {
        const QString path = versionOneFile();
        {
            // The index's entries no longer match its definition.
            PlainDb db(path);
            db.exec("PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = "
                    "'CREATE INDEX Kasa1_SiraNo ON Kasa1(Aciklama)' WHERE name = 'Kasa1_SiraNo'");
        }
        const QByteArray bytes = fileBytes(path);
        try {
            upgradeDataFile(path);
            QFAIL("a damaged file was upgraded");
        } catch (const DatabaseError &e) {
            QVERIFY2(e.text().contains("bozukluk") && e.text().contains("Kasa1_SiraNo"), qPrintable(e.text()));
        }
        QCOMPARE(fileBytes(path), bytes);
        QCOMPARE(leftCopies(QFileInfo(path).path()), QStringList());
    }

    void aMasterMadeAnewKeepsItsDetails()
    {
        // With foreign keys on, dropping the old company table would delete
        // every account entry by cascade.
        const QString path = versionOneFile();
        const SchemaStep rebuild{2, QStringLiteral("test"),
                                 {"CREATE TABLE Cari_yeni (SiraNo INTEGER PRIMARY KEY AUTOINCREMENT, Firma TEXT)",
                                  "INSERT INTO Cari_yeni SELECT * FROM Cari", "DROP TABLE Cari",
                                  "ALTER TABLE Cari_yeni RENAME TO Cari"}};
        QStringList entries;
        {
            PlainDb db(path);
            entries = db.rows("SELECT rowid, * FROM Cari1");
            QVERIFY(!entries.isEmpty());
        }
        upgradeDataFile(path, {rebuild});
        PlainDb db(path);
        QCOMPARE(db.value("PRAGMA user_version"), QStringLiteral("2"));
        QCOMPARE(db.rows("SELECT rowid, * FROM Cari1"), entries);
        QCOMPARE(leftCopies(QFileInfo(path).path()), QStringList());
    }

    void aStepLeavingBrokenLinksIsUndoneAndTheCopyKept()
    {
        const QString path = versionOneFile();
        const SchemaStep step2{2, QStringLiteral("test"), {"CREATE TABLE Yeni (A TEXT)"}};
        const SchemaStep losesAMaster{3, QStringLiteral("test"), {"DELETE FROM Maas WHERE SiraNo = 1"}};
        QMap<QString, QStringList> before;
        {
            PlainDb db(path);
            before = contents(db);
        }
        try {
            upgradeDataFile(path, {step2, losesAMaster});
            QFAIL("a step that left detail rows without their master was kept");
        } catch (const DatabaseError &e) {
            QVERIFY2(e.text().contains("2. sürümden 3. sürüme yükseltilemedi") && e.text().contains("Maas1"),
                     qPrintable(e.text()));
            QVERIFY2(e.text().contains("Data-v1-yedek.dat"), qPrintable(e.text()));
        }
        {
            // The first step stays done; the failed one left nothing.
            PlainDb db(path);
            QCOMPARE(db.value("PRAGMA user_version"), QStringLiteral("2"));
            QCOMPARE(contents(db), before);
        }
        // The copy is the file as it was before the upgrade began.
        const QString copy = QFileInfo(path).path() + QStringLiteral("/Data-v1-yedek.dat");
        QCOMPARE(leftCopies(QFileInfo(path).path()), QStringList{QStringLiteral("Data-v1-yedek.dat")});
        PlainDb kept(copy);
        QCOMPARE(kept.value("PRAGMA user_version"), QStringLiteral("1"));
        QCOMPARE(contents(kept), before);

        // A second attempt never overwrites the first copy.
        try {
            upgradeDataFile(path, {step2, losesAMaster});
        } catch (const DatabaseError &e) {
            QVERIFY2(e.text().contains("Data-v2-yedek.dat"), qPrintable(e.text()));
        }
        QCOMPARE(PlainDb(copy).value("PRAGMA user_version"), QStringLiteral("1"));
    }

    void plainSqliteWorksOnTheUpgradedFile()
    {
        const QString path = versionOneFile();
        upgradeDataFile(path);
        {
            PlainDb db(path); // sqlite3 alone: none of the program's functions
            db.exec("PRAGMA foreign_keys = ON");
            db.exec("INSERT INTO Cari (Firma) VALUES ('ÇINAR OTO'), ('cem ticaret'), ('İNCİ AKÜ'), ('ılgın ltd')");
            db.exec("UPDATE Stok SET StokAdi = 'ŞANZIMAN YAĞI' WHERE SiraNo = 1");
            db.exec("DELETE FROM MusTakip WHERE SiraNo = 2");
            db.exec("INSERT INTO HasTakip (Plaka, KazaTarihi) VALUES ('06 ÖZ 61', '3 NİSAN')");
            QCOMPARE(db.value("PRAGMA integrity_check"), QStringLiteral("ok"));
            QCOMPARE(db.rows("PRAGMA foreign_key_check").size(), 1); // the orphan the file came with
            QCOMPARE(db.value("SELECT StokAdi FROM Stok WHERE SiraNo = 1"), QStringLiteral("ŞANZIMAN YAĞI"));
            // The program's ordered statement runs there too.
            const auto cari = std::find_if(datasetDefs().cbegin(), datasetDefs().cend(),
                                           [](const DatasetDef &d) { return qstrcmp(d.name, "Cari") == 0; });
            const QString ordered = cari->sql;
            QVERIFY(ordered.startsWith("Select * From Cari Order By"));
            QCOMPARE(db.rows(ordered).size(), 16);
        }
        // Rows written without the program take their Turkish place in its list.
        DataModule data(path, datasetDefs());
        Dataset *companies = data.dataset(QStringLiteral("Cari"));
        QStringList names;
        for (int i = 0; i < companies->rowCount(); ++i)
            names << companies->textAt(i, companies->fieldIndex(QStringLiteral("Firma")));
        const auto at = [&names](const char *name) { return names.indexOf(QString::fromUtf8(name)); };
        QVERIFY2(at("cem ticaret") < at("ÇINAR OTO") && at("ÇINAR OTO") < at("ılgın ltd")
                     && at("ılgın ltd") < at("İNCİ AKÜ"),
                 qPrintable(names.join(", ")));
    }
};

QTEST_MAIN(SchemaVersionTest)
#include "tst_schemaversion.moc"
