// The database file as tekvanis-initdb makes it: tables, column kinds, the
// master/detail cascade, refusing existing files, demo and bulk records.
#include "core/Error.h"
#include "data/Schema.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <cmath>

namespace {

// The tables the pages bind to, with each column's declared kind.
const QMap<QString, QString> expectedTables = {
    {"MusTakip", "SiraNo:INTEGER MusteriKodu:TEXT AdiSoyadi:TEXT AracPlaka:TEXT AracCinsi:TEXT "
                 "Model:TEXT Km:TEXT Tarih:DATE TelefonCep:TEXT TelefonEv:TEXT TelefonIs:TEXT "
                 "Sikayet:MEMO Aciklama:MEMO"},
    {"MusTakip1", "SiraNo:INTEGER Islem:TEXT Tutar:REAL"},
    {"HasTakip", "SiraNo:INTEGER DosyaNo:TEXT Plaka:TEXT AracTipi:TEXT AracModeli:TEXT "
                 "AracSahibi:TEXT AracSahibiTC:TEXT KazaTarihi:DATE SigortaFirma:TEXT PoliceNo:TEXT "
                 "KazaNedeni:TEXT KarsiAracPlaka:TEXT KarsiAracTipi:TEXT Kusur:TEXT Exper:TEXT "
                 "ExperTel:TEXT Vekalet:TEXT OdemeTarihi:DATE Odeme:TEXT FatNo:TEXT "
                 "TahminiHasar:TEXT Aciklama:MEMO"},
    {"FatTakip", "SiraNo:INTEGER Yil:INTEGER Aylar:TEXT"},
    {"FatTakip1", "SiraNo:INTEGER FaturaNo:TEXT FaturaTarihi:DATE IrsaliyeNo:TEXT "
                  "IrsaliyeTarihi:DATE Firma:TEXT Tutar:REAL Iskonto:REAL Kdv_Onay:BOOLEAN "
                  "Kdv:REAL Toplam:REAL"},
    {"Cari", "SiraNo:INTEGER Firma:TEXT"},
    {"Cari1", "SiraNo:INTEGER FatNo:TEXT FatTarihi:DATE Tipi:TEXT Tutar:REAL Iskonto:REAL "
              "KdvOnay:BOOLEAN Kdv:REAL Toplam:REAL Odenen:REAL Kalan:REAL"},
    {"IrsaliyeUst", "SiraNo:INTEGER Yil:INTEGER Aylar:TEXT"},
    {"Irsaliye", "SiraNo:INTEGER FaturaNo:TEXT FatTarihi:DATE FirmaAdi:TEXT MalzemeKodu:TEXT "
                 "MalzemeAdi:TEXT IrsNo:TEXT MalAdet:REAL MalFiyat:REAL Tutar:REAL"},
    {"Kasa", "SiraNo:INTEGER Aylar:TEXT"},
    {"Kasa1", "SiraNo:INTEGER Tarih:DATE KKTahsis:REAL KKTediye:REAL Tahsilat:REAL Tediye:REAL "
              "Cari:TEXT Aciklama:TEXT"},
    {"Odeme", "SiraNo:INTEGER Aylar:TEXT"},
    {"Odeme1", "SiraNo:INTEGER Tarih:DATE Tutar:REAL Aciklama:TEXT"},
    {"SenetVer", "SiraNo:INTEGER SenetNo:TEXT VadeTarihi:DATE Banka:TEXT V_Firma:TEXT Tutar:REAL"},
    {"SenetAl", "SiraNo:INTEGER SenetNo:TEXT VadeTarihi:DATE Banka:TEXT A_Firma:TEXT Tutar:REAL"},
    {"Stok", "SiraNo:INTEGER StokKodu:TEXT StokAdi:TEXT Adet:REAL Raf:TEXT Alis:REAL Satis:REAL"},
    {"Maas", "SiraNo:INTEGER Aylar:TEXT"},
    {"Maas1", "SiraNo:INTEGER Personel:TEXT Maas:REAL Yol:REAL Mesai:REAL Toplam:REAL Avans:REAL "
              "Kesinti:REAL K_Toplam:REAL O_Tutar:REAL O_Tutari:REAL Kalan:REAL"},
};

const QMap<QString, QString> masterOf = {
    {"MusTakip1", "MusTakip"}, {"FatTakip1", "FatTakip"}, {"Cari1", "Cari"},
    {"Irsaliye", "IrsaliyeUst"}, {"Kasa1", "Kasa"}, {"Odeme1", "Odeme"}, {"Maas1", "Maas"},
};

// A raw handle on a file; every call fails the test with the engine's text.
class Db {
public:
    explicit Db(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            qFatal("cannot open %s", qPrintable(path));
    }
    ~Db() { sqlite3_close(m_db); }

    // Runs a statement and returns its rows, each cell as text ("<null>" for null).
    QList<QStringList> rows(const QString &sql)
    {
        QList<QStringList> result;
        sqlite3_stmt *st = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(m_db, utf8.constData(), -1, &st, nullptr) != SQLITE_OK) {
            m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
            return result;
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            QStringList row;
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                row << (sqlite3_column_type(st, c) == SQLITE_NULL
                            ? QStringLiteral("<null>")
                            : QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, c))));
            result << row;
        }
        m_error = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_finalize(st);
        return result;
    }
    QString value(const QString &sql)
    {
        const auto r = rows(sql);
        return r.isEmpty() ? QString() : r.first().value(0);
    }
    long long number(const QString &sql) { return value(sql).toLongLong(); }
    // Empty when the statement worked, else the engine's text.
    QString exec(const QString &sql)
    {
        rows(sql);
        return m_error;
    }
    QString lastError() const { return m_error; }

private:
    sqlite3 *m_db = nullptr;
    QString m_error;
};

struct Column { QString name, kind; };

QList<Column> declaredColumns(Db &db, const QString &table)
{
    QList<Column> columns;
    for (const QStringList &r : db.rows("PRAGMA table_info(" + table + ")"))
        columns << Column{r.at(1), r.at(2)};
    return columns;
}

QString kindOf(const QString &declared) { return declared.section(' ', 0, 0).toUpper(); }

struct ToolRun { int exitCode; QString output; };

ToolRun runTool(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TK_INITDB), args);
    if (!p.waitForFinished(120000))
        return {-1, QStringLiteral("timed out")};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError())};
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSchema : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString freshFile(const QString &name)
    {
        const QString p = path(name);
        tk::createDatabaseFile(p);
        return p;
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void tablesColumnsAndKinds()
    {
        Db db(freshFile("kinds.dat"));
        QStringList tables;
        for (const QStringList &r : db.rows("SELECT name FROM sqlite_master WHERE type = 'table' "
                                            "AND name <> 'sqlite_sequence'"))
            tables << r.first();
        QCOMPARE(tables.size(), 18);
        for (auto it = expectedTables.cbegin(); it != expectedTables.cend(); ++it) {
            QVERIFY2(tables.contains(it.key()), qPrintable(it.key()));
            QStringList got;
            for (const Column &c : declaredColumns(db, it.key()))
                got << c.name + ':' + kindOf(c.kind);
            QCOMPARE(got.join(' '), it.value());
        }
        // Multi-line columns must have text affinity, not the numeric one a bare MEMO gets.
        for (const QString &table : expectedTables.keys())
            for (const Column &c : declaredColumns(db, table))
                if (kindOf(c.kind) == "MEMO")
                    QVERIFY2(c.kind.toUpper().contains("TEXT"), qPrintable(table + '.' + c.name));
    }

    void keysLinksAndIndexes()
    {
        Db db(freshFile("keys.dat"));
        for (const QString &table : expectedTables.keys()) {
            const QStringList siraNo = db.rows("PRAGMA table_info(" + table + ")").first();
            QCOMPARE(siraNo.at(1), QStringLiteral("SiraNo"));
            const auto links = db.rows("PRAGMA foreign_key_list(" + table + ")");
            if (!masterOf.contains(table)) {
                QVERIFY2(siraNo.at(5) == "1", qPrintable(table + " needs SiraNo as its key"));
                QVERIFY(links.isEmpty());
                continue;
            }
            QVERIFY2(siraNo.at(5) == "0", qPrintable(table));
            QCOMPARE(links.size(), 1);
            QCOMPARE(links.first().at(2), masterOf.value(table)); // parent table
            QCOMPARE(links.first().at(3), QStringLiteral("SiraNo"));
            QCOMPARE(links.first().at(6), QStringLiteral("CASCADE")); // on_delete
            const auto planRows = db.rows("EXPLAIN QUERY PLAN SELECT * FROM " + table + " WHERE SiraNo = 1");
            QVERIFY2(!planRows.isEmpty() && planRows.first().last().contains("USING INDEX"),
                     qPrintable(table + ": " + (planRows.isEmpty() ? QString() : planRows.first().last())));
        }
    }

    void textKeepsWhatWasTyped()
    {
        // Every text and memo column keeps leading zeros and stays text;
        // dates stay ISO text.
        Db db(freshFile("text.dat"));
        for (const QString &table : expectedTables.keys()) {
            for (const Column &c : declaredColumns(db, table)) {
                const QString kind = kindOf(c.kind);
                if (kind != "TEXT" && kind != "MEMO" && kind != "DATE")
                    continue;
                const QString typed = kind == "DATE" ? "2024-02-29" : "0123";
                QCOMPARE(db.exec("DELETE FROM " + table), QString());
                QCOMPARE(db.exec("INSERT INTO " + table + " (" + c.name + ") VALUES ('" + typed + "')"), QString());
                const auto r = db.rows("SELECT typeof(" + c.name + "), " + c.name + " FROM " + table);
                QVERIFY2(r.size() == 1 && r.first() == QStringList({"text", typed}),
                         qPrintable(table + '.' + c.name + ": " + r.value(0).join('|')));
            }
        }
        QCOMPARE(db.exec("INSERT INTO MusTakip (Sikayet) VALUES ('Çok satırlı\nŞİKAYET İçerik ğüşıö')"), QString());
        QCOMPARE(db.value("SELECT Sikayet FROM MusTakip WHERE Sikayet LIKE 'Çok%'"),
                 QStringLiteral("Çok satırlı\nŞİKAYET İçerik ğüşıö"));
    }

    void detailRowsGoWithTheirMaster_data()
    {
        QTest::addColumn<QString>("detail");
        for (auto it = masterOf.cbegin(); it != masterOf.cend(); ++it)
            QTest::newRow(qPrintable(it.key())) << it.key();
    }
    void detailRowsGoWithTheirMaster()
    {
        QFETCH(QString, detail);
        const QString master = masterOf.value(detail);
        Db db(freshFile("cascade-" + detail + ".dat"));
        QCOMPARE(db.exec("PRAGMA foreign_keys = ON"), QString());
        QCOMPARE(db.exec("INSERT INTO " + master + " DEFAULT VALUES"), QString());
        QCOMPARE(db.exec("INSERT INTO " + master + " DEFAULT VALUES"), QString());
        QCOMPARE(db.value("SELECT group_concat(SiraNo) FROM " + master), QStringLiteral("1,2"));
        for (int m = 1; m <= 2; ++m)
            for (int k = 0; k < 2; ++k)
                QCOMPARE(db.exec(QStringLiteral("INSERT INTO %1 (SiraNo) VALUES (%2)").arg(detail).arg(m)), QString());
        // A detail row under a master that does not exist is refused.
        QVERIFY(!db.exec("INSERT INTO " + detail + " (SiraNo) VALUES (99)").isEmpty());

        QCOMPARE(db.exec("DELETE FROM " + master + " WHERE SiraNo = 1"), QString());
        QCOMPARE(db.number("SELECT count(*) FROM " + detail + " WHERE SiraNo = 1"), 0LL);
        QCOMPARE(db.number("SELECT count(*) FROM " + detail + " WHERE SiraNo = 2"), 2LL);
        QCOMPARE(db.number("SELECT count(*) FROM " + master), 1LL);
        // Keys are never reused, so a new master cannot inherit old detail rows.
        QCOMPARE(db.exec("DELETE FROM " + master), QString());
        QCOMPARE(db.exec("INSERT INTO " + master + " DEFAULT VALUES"), QString());
        QCOMPARE(db.number("SELECT SiraNo FROM " + master), 3LL);
    }

    void existingFileIsRefusedUntouched()
    {
        const QString p = path("existing.dat");
        const QByteArray content = "not a database, but somebody's file\n";
        {
            QFile f(p);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        try {
            tk::createDatabaseFile(p);
            QFAIL("an existing file was accepted");
        } catch (const tk::Error &e) {
            QVERIFY2(e.text().contains("existing.dat"), qPrintable(e.text()));
        }
        QCOMPARE(fileBytes(p), content);

        const ToolRun run = runTool({p, "--demo"});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.output.contains("existing.dat"), qPrintable(run.output));
        QCOMPARE(fileBytes(p), content);

        // A database made a moment ago is just as safe.
        const QString made = freshFile("made.dat");
        const QByteArray before = fileBytes(made);
        QVERIFY_THROWS_EXCEPTION(tk::Error, tk::createDatabaseFile(made));
        QCOMPARE(fileBytes(made), before);
    }

    void unwritablePlaceLeavesNothing()
    {
        const QString p = path("no-such-folder/Data.dat");
        try {
            tk::createDatabaseFile(p);
            QFAIL("a file in a missing folder was reported as made");
        } catch (const tk::Error &e) {
            QVERIFY2(e.text().contains("Data.dat"), qPrintable(e.text()));
        }
        QVERIFY(!QFile::exists(p));
    }

    void badArgumentsShowUsage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("rows without number") << QStringList({"x.dat", "--rows"});
        QTest::newRow("rows not a number") << QStringList({"x.dat", "--rows", "on"});
        QTest::newRow("negative rows") << QStringList({"x.dat", "--rows", "-5"});
        QTest::newRow("unknown option") << QStringList({"x.dat", "--demos"});
        QTest::newRow("two files") << QStringList({"x.dat", "y.dat"});
        QTest::newRow("no file") << QStringList({"--demo"});
    }
    void badArgumentsShowUsage()
    {
        QFETCH(QStringList, args);
        for (QString &a : args)
            if (a.endsWith(".dat"))
                a = path("usage-" + a);
        const ToolRun run = runTool(args);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.output.contains("--rows N"), qPrintable(run.output));
        QVERIFY(!QFile::exists(path("usage-x.dat")));
        QVERIFY(!QFile::exists(path("usage-y.dat")));
    }

    void demoRecords()
    {
        const QString p = path("demo.dat");
        const ToolRun run = runTool({p, "--demo"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        Db db(p);
        QCOMPARE(db.value("PRAGMA foreign_key_check"), QString());
        for (const QString &table : expectedTables.keys())
            QVERIFY2(db.number("SELECT count(*) FROM " + table) >= 2, qPrintable(table));
        for (auto it = masterOf.cbegin(); it != masterOf.cend(); ++it) {
            QCOMPARE(db.number(QStringLiteral("SELECT count(*) FROM %1 d LEFT JOIN %2 m ON m.SiraNo = d.SiraNo "
                                              "WHERE m.SiraNo IS NULL").arg(it.key(), it.value())),
                     0LL);
            // More than one master has detail rows, so following the master shows a change.
            QVERIFY(db.number("SELECT count(DISTINCT SiraNo) FROM " + it.key()) >= 2);
        }

        // Amounts as the pages would have computed them (VAT 18, rounded to cents).
        auto near = [](double a, double b) { return std::fabs(a - b) < 0.005; };
        for (const char *table : {"FatTakip1", "Cari1"}) {
            const QString flag = QString(table) == "Cari1" ? "KdvOnay" : "Kdv_Onay";
            for (const QStringList &r : db.rows(QStringLiteral("SELECT Tutar, Iskonto, %1, Kdv, Toplam FROM %2")
                                                    .arg(flag, table))) {
                const double net = r[0].toDouble() - r[1].toDouble();
                const double vat = r[2] == "1" ? std::round(18 * net) / 100 : 0;
                QVERIFY2(near(r[3].toDouble(), vat) && near(r[4].toDouble(), vat + net),
                         qPrintable(QString(table) + ": " + r.join('|')));
            }
        }
        for (const QStringList &r : db.rows("SELECT Toplam, Odenen, Kalan FROM Cari1"))
            QVERIFY2(near(r[2].toDouble(), r[0].toDouble() - r[1].toDouble()), qPrintable(r.join('|')));
        for (const QStringList &r : db.rows("SELECT MalAdet, MalFiyat, Tutar FROM Irsaliye"))
            QVERIFY2(near(r[2].toDouble(), r[0].toDouble() * r[1].toDouble()), qPrintable(r.join('|')));
        for (const QStringList &r : db.rows("SELECT Maas, Yol, Mesai, Toplam, Avans, Kesinti, K_Toplam, "
                                            "O_Tutar, O_Tutari, Kalan FROM Maas1")) {
            QVector<double> v;
            for (const QString &s : r)
                v << s.toDouble();
            QVERIFY2(near(v[3], v[0] + v[1] + v[2]) && near(v[6], v[4] + v[5]) && near(v[7], v[3] - v[6])
                         && near(v[9], v[7] - v[8]),
                     qPrintable(r.join('|')));
        }

        // Texts are typed upper case (operations use word capitals); dates are ISO;
        // Turkish letters survive the round trip.
        for (const QString &table : expectedTables.keys()) {
            for (const Column &c : declaredColumns(db, table)) {
                const QString kind = kindOf(c.kind);
                const QString where = c.name + " IS NOT NULL AND " + c.name + " <> ''";
                for (const QStringList &r : db.rows("SELECT " + c.name + " FROM " + table + " WHERE " + where)) {
                    const QString v = r.first();
                    if (kind == "DATE")
                        QVERIFY2(QDate::fromString(v, Qt::ISODate).isValid(), qPrintable(table + '.' + c.name + '=' + v));
                    if (kind == "TEXT" && !(table == "MusTakip1" && c.name == "Islem")) {
                        for (const QChar ch : v)
                            QVERIFY2(!ch.isLower(), qPrintable(table + '.' + c.name + '=' + v));
                    }
                }
            }
        }
        const QString names = db.value("SELECT group_concat(AdiSoyadi, ' ') FROM MusTakip")
                              + db.value("SELECT group_concat(Personel, ' ') FROM Maas1");
        for (const QChar letter : QStringLiteral("ÇĞİÖŞÜ"))
            QVERIFY2(names.contains(letter), qPrintable(QString(letter)));
    }

    void bulkRows()
    {
        const QString p = path("rows.dat");
        const ToolRun run = runTool({p, "--rows", "40"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        Db db(p);
        QCOMPARE(db.value("PRAGMA foreign_key_check"), QString());
        for (const QString &table : expectedTables.keys()) {
            if (masterOf.contains(table))
                continue;
            QVERIFY2(db.number("SELECT count(*) FROM " + table) == 40, qPrintable(table));
        }
        for (auto it = masterOf.cbegin(); it != masterOf.cend(); ++it) {
            const auto counts = db.rows(QStringLiteral("SELECT min(n), max(n), count(*) FROM (SELECT m.SiraNo, "
                                                       "count(d.SiraNo) AS n FROM %2 m LEFT JOIN %1 d "
                                                       "ON d.SiraNo = m.SiraNo GROUP BY m.SiraNo)")
                                            .arg(it.key(), it.value()));
            QCOMPARE(counts.first(), QStringList({"2", "3", "40"}));
        }
    }

    void demoAndRowsTogether()
    {
        const QString p = path("both.dat");
        const ToolRun run = runTool({p, "--rows", "5", "--demo"});
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        Db db(p);
        QCOMPARE(db.value("PRAGMA foreign_key_check"), QString());
        QCOMPARE(db.number("SELECT count(*) FROM Stok WHERE StokKodu NOT LIKE 'YP-%' AND StokKodu NOT LIKE 'YG-%'"), 5LL);
        // Bulk detail rows go only under bulk masters: the demo jobs keep exactly their operations.
        const long long demoOperations = db.number("SELECT count(*) FROM MusTakip1 d JOIN MusTakip m "
                                                   "ON m.SiraNo = d.SiraNo WHERE m.MusteriKodu LIKE 'M-1%'");
        QCOMPARE(db.number("SELECT count(*) FROM MusTakip1"), demoOperations + 2 + 3 + 2 + 3 + 2);
    }
};

QTEST_MAIN(TestSchema)
#include "tst_schema.moc"
