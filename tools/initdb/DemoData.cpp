#include "DemoData.h"

#include "core/Error.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariant>

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <utility>
#include <vector>

namespace tk {
namespace {

// ---------------------------------------------------------------------------
// A thin layer over the raw handle: errors become tk::Error with the engine's
// text, and everything written happens in one transaction.

class SqliteFile {
public:
    explicit SqliteFile(const QString &path) : m_path(path)
    {
        // No CREATE flag: records go only into a file made with its tables.
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db,
                                       SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) {
            const QString text = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                      : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close(m_db);
            m_db = nullptr;
            throw Error(QStringLiteral("'%1' açılamadı: %2")
                            .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), text));
        }
        exec("PRAGMA foreign_keys = ON"); // a detail row without its master is refused
        exec("BEGIN");
    }
    ~SqliteFile()
    {
        if (!sqlite3_get_autocommit(m_db))
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(m_db);
    }
    SqliteFile(const SqliteFile &) = delete;
    SqliteFile &operator=(const SqliteFile &) = delete;

    sqlite3 *handle() const { return m_db; }
    void commit() { exec("COMMIT"); }

    void exec(const char *sql)
    {
        check(sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr));
    }
    void check(int rc) const
    {
        if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
            throw Error(QStringLiteral("'%1' dosyasına kayıt yazılamadı: %2")
                            .arg(QDir::toNativeSeparators(QFileInfo(m_path).absoluteFilePath()),
                                 QString::fromUtf8(sqlite3_errmsg(m_db))));
    }

private:
    QString m_path;
    sqlite3 *m_db = nullptr;
};

class Statement {
public:
    Statement(SqliteFile &file, const QByteArray &sql) : m_file(file)
    {
        m_file.check(sqlite3_prepare_v2(file.handle(), sql.constData(), int(sql.size()), &m_stmt, nullptr));
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    sqlite3_stmt *get() const { return m_stmt; }
    void check(int rc) const { m_file.check(rc); }
    // Steps once (an INSERT) and makes the statement ready for the next row.
    void run()
    {
        m_file.check(sqlite3_step(m_stmt)); // before the reset, which may clear the message
        sqlite3_reset(m_stmt);
    }
    bool nextRow()
    {
        const int rc = sqlite3_step(m_stmt);
        m_file.check(rc);
        return rc == SQLITE_ROW;
    }
    QString text(int column) const
    {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column)));
    }

private:
    SqliteFile &m_file;
    sqlite3_stmt *m_stmt = nullptr;
};

// ---------------------------------------------------------------------------
// Sample records

using Values = std::initializer_list<std::pair<const char *, QVariant>>;

// Stores a QVariant the way the program does: dates as ISO text, flags as 0/1.
void bindValue(Statement &st, int index, const QVariant &value)
{
    sqlite3_stmt *s = st.get();
    switch (value.typeId()) {
    case QMetaType::UnknownType:
    case QMetaType::Nullptr:
        st.check(sqlite3_bind_null(s, index));
        break;
    case QMetaType::Bool:
        st.check(sqlite3_bind_int(s, index, value.toBool() ? 1 : 0));
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
        st.check(sqlite3_bind_int64(s, index, value.toLongLong()));
        break;
    case QMetaType::Double:
        st.check(sqlite3_bind_double(s, index, value.toDouble()));
        break;
    case QMetaType::QDate: {
        const QByteArray iso = value.toDate().toString(Qt::ISODate).toUtf8();
        st.check(sqlite3_bind_text(s, index, iso.constData(), int(iso.size()), SQLITE_TRANSIENT));
        break;
    }
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        st.check(sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
    }
    }
}

// Inserts one row and returns its rowid (the SiraNo of a master row).
qint64 insert(SqliteFile &db, const char *table, Values values)
{
    QByteArray columns, marks;
    for (const auto &[name, value] : values) {
        Q_UNUSED(value);
        if (!columns.isEmpty()) {
            columns += ", ";
            marks += ", ";
        }
        columns += name;
        marks += '?';
    }
    Statement st(db, "INSERT INTO " + QByteArray(table) + " (" + columns + ") VALUES (" + marks + ")");
    int index = 1;
    for (const auto &[name, value] : values)
        bindValue(st, index++, value);
    st.run();
    return sqlite3_last_insert_rowid(db.handle());
}

QDate day(int year, int month, int d) { return QDate(year, month, d); }

// VAT at the default rate of 18, rounded to two decimals with halves away from
// zero, as the invoice and account pages round it.
double vatOf(double net) { return std::round(18.0 * net) / 100.0; }

void addInvoice(SqliteFile &db, qint64 period, const char *no, QDate date, const char *waybillNo,
                QDate waybillDate, const char *company, double amount, double discount, bool withVat)
{
    const double net = amount - discount;
    const double vat = withVat ? vatOf(net) : 0.0;
    insert(db, "FatTakip1", {{"SiraNo", period}, {"FaturaNo", no}, {"FaturaTarihi", date},
                             {"IrsaliyeNo", waybillNo}, {"IrsaliyeTarihi", waybillDate},
                             {"Firma", company}, {"Tutar", amount}, {"Iskonto", discount},
                             {"Kdv_Onay", withVat}, {"Kdv", vat}, {"Toplam", vat + net}});
}

void addAccountEntry(SqliteFile &db, qint64 company, const char *no, QDate date, const char *kind,
                     double amount, double discount, bool withVat, double paid)
{
    const double net = amount - discount;
    const double vat = withVat ? vatOf(net) : 0.0;
    const double total = vat + net;
    insert(db, "Cari1", {{"SiraNo", company}, {"FatNo", no}, {"FatTarihi", date}, {"Tipi", kind},
                         {"Tutar", amount}, {"Iskonto", discount}, {"KdvOnay", withVat},
                         {"Kdv", vat}, {"Toplam", total}, {"Odenen", paid}, {"Kalan", total - paid}});
}

void addWaybillLine(SqliteFile &db, qint64 period, const char *invoiceNo, QDate date,
                    const char *company, const char *code, const char *name, const char *waybillNo,
                    double quantity, double price)
{
    insert(db, "Irsaliye", {{"SiraNo", period}, {"FaturaNo", invoiceNo}, {"FatTarihi", date},
                            {"FirmaAdi", company}, {"MalzemeKodu", code}, {"MalzemeAdi", name},
                            {"IrsNo", waybillNo}, {"MalAdet", quantity}, {"MalFiyat", price},
                            {"Tutar", quantity * price}});
}

void addSalaryLine(SqliteFile &db, qint64 period, const char *person, double salary, double travel,
                   double overtime, double advance, double deduction, double paid)
{
    const double gross = salary + travel + overtime;
    const double deductions = advance + deduction;
    const double payable = gross - deductions;
    insert(db, "Maas1", {{"SiraNo", period}, {"Personel", person}, {"Maas", salary}, {"Yol", travel},
                         {"Mesai", overtime}, {"Toplam", gross}, {"Avans", advance},
                         {"Kesinti", deduction}, {"K_Toplam", deductions}, {"O_Tutar", payable},
                         {"O_Tutari", paid}, {"Kalan", payable - paid}});
}

void addCashEntry(SqliteFile &db, qint64 period, QDate date, double cardIn, double cardOut,
                  double cashIn, double cashOut, const char *account, const char *note)
{
    insert(db, "Kasa1", {{"SiraNo", period}, {"Tarih", date}, {"KKTahsis", cardIn},
                         {"KKTediye", cardOut}, {"Tahsilat", cashIn}, {"Tediye", cashOut},
                         {"Cari", account}, {"Aciklama", note}});
}

void fillServiceJobs(SqliteFile &db)
{
    struct Operation { const char *text; double amount; };
    struct Job {
        const char *code, *name, *plate, *make, *model, *km;
        QDate date;
        const char *mobile, *home, *work, *complaint, *note;
        std::vector<Operation> operations;
    };
    const std::vector<Job> jobs = {
        {"M-1001", "AHMET YILMAZ", "34 ABC 123", "FİAT", "2015", "128500", day(2024, 1, 8),
         "0532 411 25 63", "0216 345 12 90", "",
         "Motor soğukta zor çalışıyor.\nRölantide titreme var.",
         "Bujiler ve ateşleme bobini kontrol edildi.\nMüşteri aracı akşam teslim alacak.",
         {{"Buji Değişimi", 850}, {"Ateşleme Bobini", 1450.5}, {"İşçilik", 600}}},
        {"M-1002", "AYŞE ÇELİK", "06 DF 4521", "RENAULT", "2018", "76300", day(2024, 1, 15),
         "0505 228 71 14", "", "0312 441 09 87",
         "Periyodik bakım zamanı geldi.", "15.000 km sonra tekrar bakım önerildi.",
         {{"Periyodik Bakım", 2400}, {"Yağ Filtresi", 350}, {"Hava Filtresi", 280}}},
        {"M-1003", "MUSTAFA ŞAHİN", "35 KL 778", "TOFAŞ", "2009", "212400", day(2024, 2, 2),
         "0543 672 33 58", "0232 278 40 11", "",
         "Debriyaj pedalı sertleşti, vites geçişleri zor.", "Volan taşlandı, debriyaj seti yenilendi.",
         {{"Debriyaj Seti Değişimi", 4200}, {"Volan Taşlama", 750}}},
        {"M-1004", "İBRAHİM GÜNEŞ", "16 MR 902", "FORD", "2020", "45210", day(2024, 2, 19),
         "0536 114 82 20", "", "0224 360 55 73",
         "Fren yaparken ön taraftan ses geliyor.", "Ön diskler tornalandı.",
         {{"Ön Fren Balatası", 1100}, {"Fren Diski Tornası", 400.25}}},
        {"M-1005", "FATMA DOĞAN", "34 TT 6060", "HYUNDAİ", "2017", "98000", day(2024, 3, 4),
         "0555 903 44 12", "0212 654 78 21", "",
         "Klima soğutmuyor.", "Kaçak testi yapıldı, kaçak bulunmadı.",
         {{"Klima Gazı Dolumu", 900}, {"Polen Filtresi", 220}}},
        {"M-1006", "HÜSEYİN KOÇ", "41 AK 557", "OPEL", "2012", "167800", day(2024, 3, 11),
         "0533 780 16 49", "", "0262 331 20 08",
         "Motordan tıkırtı sesi geliyor.\nSu eksiltiyor.",
         "Triger seti ve devirdaim pompası değişti.",
         {{"Triger Seti Değişimi", 5250}, {"Devirdaim Pompası", 1380}, {"Antifriz", 300}}},
        {"M-1007", "ÖMER ÇAKIR", "07 BZ 314", "VOLKSWAGEN", "2021", "23150", day(2024, 3, 20),
         "0542 118 90 37", "", "",
         "Ön cam sileceği çalışmıyor.", "Silecek motoru sipariş edildi, parça bekleniyor.",
         {}},
    };
    for (const Job &j : jobs) {
        const qint64 id = insert(db, "MusTakip",
                                 {{"MusteriKodu", j.code}, {"AdiSoyadi", j.name}, {"AracPlaka", j.plate},
                                  {"AracCinsi", j.make}, {"Model", j.model}, {"Km", j.km},
                                  {"Tarih", j.date}, {"TelefonCep", j.mobile}, {"TelefonEv", j.home},
                                  {"TelefonIs", j.work}, {"Sikayet", j.complaint}, {"Aciklama", j.note}});
        for (const Operation &op : j.operations)
            insert(db, "MusTakip1", {{"SiraNo", id}, {"Islem", op.text}, {"Tutar", op.amount}});
    }
}

void fillDamageFiles(SqliteFile &db)
{
    insert(db, "HasTakip",
           {{"DosyaNo", "HSR-2024/001"}, {"Plaka", "34 ABC 123"}, {"AracTipi", "FİAT"},
            {"AracModeli", "2015"}, {"AracSahibi", "AHMET YILMAZ"}, {"AracSahibiTC", "12345678950"},
            {"KazaTarihi", day(2024, 1, 22)}, {"SigortaFirma", "GÜVEN SİGORTA A.Ş."},
            {"PoliceNo", "TR-884512"}, {"KazaNedeni", "ARKADAN ÇARPMA"},
            {"KarsiAracPlaka", "34 KRT 45"}, {"KarsiAracTipi", "RENAULT"}, {"Kusur", "%100 KARŞI TARAF"},
            {"Exper", "SELİM ÖZTÜRK"}, {"ExperTel", "0532 655 41 20"}, {"Vekalet", "VAR"},
            {"OdemeTarihi", day(2024, 2, 14)}, {"Odeme", "18.500,00"}, {"FatNo", "A-004781"},
            {"TahminiHasar", "21.000,00"},
            {"Aciklama", "Arka tampon, bagaj kapağı ve sol stop lambası değişecek.\n"
                         "Eksper onayı 05.02.2024 tarihinde alındı."}});
    insert(db, "HasTakip",
           {{"DosyaNo", "HSR-2024/002"}, {"Plaka", "06 DF 4521"}, {"AracTipi", "RENAULT"},
            {"AracModeli", "2018"}, {"AracSahibi", "AYŞE ÇELİK"}, {"AracSahibiTC", "23456789012"},
            {"KazaTarihi", day(2024, 2, 9)}, {"SigortaFirma", "ANADOLU GÜVENCE SİGORTA"},
            {"PoliceNo", "KSK-552190"}, {"KazaNedeni", "KAVŞAKTA YAN ÇARPMA"},
            {"KarsiAracPlaka", "06 BNT 908"}, {"KarsiAracTipi", "FORD"}, {"Kusur", "%50 - %50"},
            {"Exper", "GÖKHAN ŞENER"}, {"ExperTel", "0505 311 87 66"}, {"Vekalet", "YOK"},
            {"OdemeTarihi", QVariant()}, {"Odeme", ""}, {"FatNo", ""}, {"TahminiHasar", "12.750,00"},
            {"Aciklama", "Sağ ön çamurluk ve far değişecek. Ödeme bekleniyor."}});
    insert(db, "HasTakip",
           {{"DosyaNo", "HSR-2024/003"}, {"Plaka", "16 MR 902"}, {"AracTipi", "FORD"},
            {"AracModeli", "2020"}, {"AracSahibi", "İBRAHİM GÜNEŞ"}, {"AracSahibiTC", "34567890124"},
            {"KazaTarihi", day(2024, 3, 1)}, {"SigortaFirma", "ÇINAR SİGORTA"},
            {"PoliceNo", "ÇS-77031"}, {"KazaNedeni", "PARK HALİNDE ÇİZİLME"},
            {"KarsiAracPlaka", "BİLİNMİYOR"}, {"KarsiAracTipi", ""}, {"Kusur", "%0"},
            {"Exper", "SELİM ÖZTÜRK"}, {"ExperTel", "0532 655 41 20"}, {"Vekalet", "VAR"},
            {"OdemeTarihi", day(2024, 3, 18)}, {"Odeme", "4.200,00"}, {"FatNo", "A-004905"},
            {"TahminiHasar", "4.500,00"}, {"Aciklama", "Sol arka kapı boyandı."}});
}

void fillInvoices(SqliteFile &db)
{
    const char *parts = "ÖZGÜR OTO YEDEK PARÇA LTD. ŞTİ.";
    const char *oil = "ÇAĞDAŞ MADENİ YAĞ A.Ş.";
    const char *tyres = "ŞİMŞEK LASTİK TİCARET";
    const qint64 jan = insert(db, "FatTakip", {{"Yil", 2024}, {"Aylar", "OCAK"}});
    addInvoice(db, jan, "A-004512", day(2024, 1, 5), "İRS-33012", day(2024, 1, 4), parts, 12500, 500, true);
    addInvoice(db, jan, "B-118034", day(2024, 1, 18), "İRS-90871", day(2024, 1, 17), oil, 6840, 0, true);
    addInvoice(db, jan, "A-004577", day(2024, 1, 29), "İRS-33104", day(2024, 1, 29), parts, 99.99, 0, true);
    const qint64 feb = insert(db, "FatTakip", {{"Yil", 2024}, {"Aylar", "ŞUBAT"}});
    addInvoice(db, feb, "C-002210", day(2024, 2, 7), "İRS-5521", day(2024, 2, 6), tyres, 16400, 1400, true);
    addInvoice(db, feb, "A-004640", day(2024, 2, 21), "İRS-33190", day(2024, 2, 20), parts, 3200, 0, false);
    const qint64 mar = insert(db, "FatTakip", {{"Yil", 2024}, {"Aylar", "MART"}});
    addInvoice(db, mar, "B-118377", day(2024, 3, 8), "İRS-91204", day(2024, 3, 8), oil, 4575.5, 75.5, true);
    addInvoice(db, mar, "C-002288", day(2024, 3, 26), "İRS-5604", day(2024, 3, 25), tyres, 8200, 200, true);
}

void fillAccounts(SqliteFile &db)
{
    const qint64 parts = insert(db, "Cari", {{"Firma", "ÖZGÜR OTO YEDEK PARÇA LTD. ŞTİ."}});
    addAccountEntry(db, parts, "A-004512", day(2024, 1, 5), "ALIŞ FATURASI", 12500, 500, true, 10000);
    addAccountEntry(db, parts, "A-004640", day(2024, 2, 21), "ALIŞ FATURASI", 3200, 0, false, 3200);
    const qint64 battery = insert(db, "Cari", {{"Firma", "GÜNEŞ AKÜ VE OTO ELEKTRİK"}});
    addAccountEntry(db, battery, "G-7781", day(2024, 1, 12), "ALIŞ FATURASI", 1000, 0, true, 500);
    addAccountEntry(db, battery, "G-7802", day(2024, 2, 3), "ALIŞ FATURASI", 2450, 50, true, 0);
    addAccountEntry(db, battery, "G-7845", day(2024, 3, 2), "İADE FATURASI", -400, 0, true, 0);
    const qint64 tyres = insert(db, "Cari", {{"Firma", "ŞİMŞEK LASTİK TİCARET"}});
    addAccountEntry(db, tyres, "C-002210", day(2024, 2, 7), "ALIŞ FATURASI", 16400, 1400, true, 17700);
    const qint64 fleet = insert(db, "Cari", {{"Firma", "İLKER ÇİÇEK NAKLİYAT"}});
    addAccountEntry(db, fleet, "S-000318", day(2024, 2, 15), "SATIŞ FATURASI", 8750, 250, true, 5000);
    addAccountEntry(db, fleet, "S-000341", day(2024, 3, 14), "SATIŞ FATURASI", 4300, 0, true, 0);
}

void fillWaybills(SqliteFile &db)
{
    const char *parts = "ÖZGÜR OTO YEDEK PARÇA LTD. ŞTİ.";
    const char *oil = "ÇAĞDAŞ MADENİ YAĞ A.Ş.";
    const qint64 jan = insert(db, "IrsaliyeUst", {{"Yil", 2024}, {"Aylar", "OCAK"}});
    addWaybillLine(db, jan, "A-004512", day(2024, 1, 5), parts, "YP-0145", "FREN BALATASI ÖN TAKIM", "İRS-33012", 10, 450);
    addWaybillLine(db, jan, "A-004512", day(2024, 1, 5), parts, "YP-0211", "YAĞ FİLTRESİ", "İRS-33012", 40, 85);
    addWaybillLine(db, jan, "B-118034", day(2024, 1, 18), oil, "YG-0530", "MOTOR YAĞI 5W-30 4 LT", "İRS-90871", 24, 285);
    const qint64 feb = insert(db, "IrsaliyeUst", {{"Yil", 2024}, {"Aylar", "ŞUBAT"}});
    addWaybillLine(db, feb, "A-004640", day(2024, 2, 21), parts, "YP-0533", "TRİGER SETİ", "İRS-33190", 2, 1600);
    addWaybillLine(db, feb, "A-004640", day(2024, 2, 21), parts, "YP-0610", "DEBRİYAJ SETİ", "İRS-33190", 1, 2750.5);
    addWaybillLine(db, feb, "A-004655", day(2024, 2, 26), parts, "YP-0145", "FREN BALATASI ÖN TAKIM", "İRS-33212", -2, 450);
}

void fillCashBook(SqliteFile &db)
{
    const qint64 jan = insert(db, "Kasa", {{"Aylar", "2024 / OCAK"}});
    addCashEntry(db, jan, day(2024, 1, 8), 0, 0, 2900.5, 0, "AHMET YILMAZ", "34 ABC 123 SERVİS ÖDEMESİ");
    addCashEntry(db, jan, day(2024, 1, 15), 3030, 0, 0, 0, "AYŞE ÇELİK", "06 DF 4521 PERİYODİK BAKIM");
    addCashEntry(db, jan, day(2024, 1, 31), 0, 0, 0, 10000, "ÖZGÜR OTO YEDEK PARÇA LTD. ŞTİ.", "A-004512 FATURA ÖDEMESİ");
    const qint64 feb = insert(db, "Kasa", {{"Aylar", "2024 / ŞUBAT"}});
    addCashEntry(db, feb, day(2024, 2, 2), 4950, 0, 0, 0, "MUSTAFA ŞAHİN", "35 KL 778 DEBRİYAJ DEĞİŞİMİ");
    addCashEntry(db, feb, day(2024, 2, 10), 0, 17700, 0, 0, "ŞİMŞEK LASTİK TİCARET", "LASTİK ALIMI");
    addCashEntry(db, feb, day(2024, 2, 19), 0, 0, 1500.25, 0, "İBRAHİM GÜNEŞ", "16 MR 902 FREN BAKIMI");
    addCashEntry(db, feb, day(2024, 2, 29), 0, 0, 0, 850, "", "İŞYERİ ELEKTRİK FATURASI");
}

void addPayment(SqliteFile &db, qint64 period, QDate date, double amount, const char *note)
{
    insert(db, "Odeme1", {{"SiraNo", period}, {"Tarih", date}, {"Tutar", amount}, {"Aciklama", note}});
}

void fillPaymentPlans(SqliteFile &db)
{
    const qint64 apr = insert(db, "Odeme", {{"Aylar", "2024 / NİSAN"}});
    addPayment(db, apr, day(2024, 4, 1), 15000, "İŞYERİ KİRASI");
    addPayment(db, apr, day(2024, 4, 10), 2500, "GÜNEŞ AKÜ VE OTO ELEKTRİK ÇEK ÖDEMESİ");
    addPayment(db, apr, day(2024, 4, 26), 6420.75, "SGK PRİMİ");
    const qint64 may = insert(db, "Odeme", {{"Aylar", "2024 / MAYIS"}});
    addPayment(db, may, day(2024, 5, 2), 15000, "İŞYERİ KİRASI");
    addPayment(db, may, day(2024, 5, 15), 4300, "İLKER ÇİÇEK NAKLİYAT SENET ÖDEMESİ");
}

// Issued notes name the firm in V_Firma, received ones in A_Firma.
void addNote(SqliteFile &db, bool issued, const char *no, QDate due, const char *bank,
             const char *firm, double amount)
{
    insert(db, issued ? "SenetVer" : "SenetAl",
           {{"SenetNo", no}, {"VadeTarihi", due}, {"Banka", bank},
            {issued ? "V_Firma" : "A_Firma", firm}, {"Tutar", amount}});
}

void fillNotes(SqliteFile &db)
{
    const char *cityBank = "ANADOLU BANKASI ÇARŞI ŞB.";
    const char *marketBank = "MARMARA BANKASI İSTOÇ ŞB.";
    addNote(db, true, "SV-0012", day(2024, 4, 15), cityBank, "ÖZGÜR OTO YEDEK PARÇA LTD. ŞTİ.", 2700);
    addNote(db, true, "SV-0013", day(2024, 5, 15), cityBank, "GÜNEŞ AKÜ VE OTO ELEKTRİK", 2500);
    addNote(db, true, "SV-0014", day(2024, 6, 30), "EGE KATILIM BANKASI", "ŞİMŞEK LASTİK TİCARET", 7850.5);
    addNote(db, false, "SA-1101", day(2024, 4, 20), marketBank, "İLKER ÇİÇEK NAKLİYAT", 5000);
    addNote(db, false, "SA-1102", day(2024, 5, 20), marketBank, "İLKER ÇİÇEK NAKLİYAT", 4300);
}

void fillStock(SqliteFile &db)
{
    struct Part { const char *code, *name; double quantity; const char *shelf; double buy, sell; };
    const Part parts[] = {
        {"YP-0145", "FREN BALATASI ÖN TAKIM", 12, "A-03", 450, 620},
        {"YP-0211", "YAĞ FİLTRESİ", 40, "B-01", 85, 130},
        {"YP-0318", "HAVA FİLTRESİ", 25, "B-02", 110, 165},
        {"YP-0420", "BUJİ (4'LÜ TAKIM)", 16, "A-07", 520, 720},
        {"YP-0533", "TRİGER SETİ", 3, "C-11", 1600, 2150},
        {"YP-0610", "DEBRİYAJ SETİ", 2, "C-12", 2750.5, 3600},
        {"YP-0702", "ANTİFRİZ 3 LT", 18, "D-04", 190, 260},
        {"YP-0815", "SİLECEK SÜPÜRGESİ ÇİFT", 9, "A-01", 240, 330},
        {"YG-0530", "MOTOR YAĞI 5W-30 4 LT", 24, "D-01", 285, 395},
    };
    for (const Part &p : parts)
        insert(db, "Stok", {{"StokKodu", p.code}, {"StokAdi", p.name}, {"Adet", p.quantity},
                            {"Raf", p.shelf}, {"Alis", p.buy}, {"Satis", p.sell}});
}

void fillSalaries(SqliteFile &db)
{
    const qint64 jan = insert(db, "Maas", {{"Aylar", "2024 / OCAK"}});
    addSalaryLine(db, jan, "ŞÜKRÜ ERDOĞAN", 22500, 1200, 850, 2000, 0, 22550);
    addSalaryLine(db, jan, "CEYHUN ÖZDEMİR", 18000, 1200, 0, 0, 350, 15000);
    addSalaryLine(db, jan, "GÜLŞEN AKÇA", 17002, 900, 0, 1500, 0, 16402);
    const qint64 feb = insert(db, "Maas", {{"Aylar", "2024 / ŞUBAT"}});
    addSalaryLine(db, feb, "ŞÜKRÜ ERDOĞAN", 22500, 1200, 1275.5, 0, 0, 24975.5);
    addSalaryLine(db, feb, "CEYHUN ÖZDEMİR", 18000, 1200, 600, 3000, 0, 16000);
    addSalaryLine(db, feb, "GÜLŞEN AKÇA", 17002, 900, 0, 0, 0, 17902);
}

// ---------------------------------------------------------------------------
// Bulk rows

enum class Kind { Text, Memo, Integer, Real, Date, Boolean };

Kind kindOf(const QString &declared)
{
    const QString first = declared.section(QLatin1Char(' '), 0, 0).toUpper();
    if (first == QLatin1String("MEMO")) return Kind::Memo;
    if (first == QLatin1String("INTEGER")) return Kind::Integer;
    if (first == QLatin1String("REAL")) return Kind::Real;
    if (first == QLatin1String("DATE")) return Kind::Date;
    if (first == QLatin1String("BOOLEAN")) return Kind::Boolean;
    return Kind::Text;
}

struct Column { QByteArray name; Kind kind; };

struct Table {
    QByteArray name;
    QByteArray master; // empty for a master or single table
    std::vector<Column> columns; // without SiraNo
};

std::vector<Table> readTables(SqliteFile &db)
{
    std::vector<Table> tables;
    Statement list(db, "SELECT name FROM sqlite_master WHERE type = 'table' "
                       "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid");
    while (list.nextRow())
        tables.push_back({list.text(0).toUtf8(), {}, {}});
    for (Table &t : tables) {
        Statement info(db, "PRAGMA table_info(" + t.name + ")");
        while (info.nextRow()) {
            const QByteArray column = info.text(1).toUtf8();
            if (column != "SiraNo")
                t.columns.push_back({column, kindOf(info.text(2))});
        }
        Statement keys(db, "PRAGMA foreign_key_list(" + t.name + ")");
        if (keys.nextRow())
            t.master = keys.text(2).toUtf8();
    }
    return tables;
}

// Cell values cycle through short lists so that searches and sorting have
// something to work on; nothing here is meant to be read by a person.
class CellMaker {
public:
    CellMaker()
    {
        const QDate start(2021, 1, 1);
        for (int i = 0; i < 1461; ++i)
            m_dates.push_back(start.addDays(i).toString(Qt::ISODate).toUtf8());
    }

    void bind(Statement &st, int index, const Column &column, qint64 row, int columnNo)
    {
        static const char *const words[] = {
            "ÇAĞRI", "GÜNEŞ", "İSTANBUL", "ÖZTÜRK", "ŞAHİN", "DOĞAN", "KOÇ", "YILDIZ",
            "AYDIN", "ÇELİK", "ERDOĞAN", "ÜNAL", "FREN", "YAĞ", "FİLTRE", "DEBRİYAJ"};
        const int nWords = int(sizeof words / sizeof *words);
        const qint64 mix = row * 7 + columnNo * 3;
        sqlite3_stmt *s = st.get();
        char buffer[160];
        int length = 0;
        switch (column.kind) {
        case Kind::Text:
            length = std::snprintf(buffer, sizeof buffer, "%s %s %lld", words[mix % nWords],
                                   words[(mix / nWords) % nWords], static_cast<long long>(row));
            st.check(sqlite3_bind_text(s, index, buffer, length, SQLITE_TRANSIENT));
            break;
        case Kind::Memo:
            length = std::snprintf(buffer, sizeof buffer, "%s %s\n%s %lld", words[mix % nWords],
                                   words[(mix + 5) % nWords], words[(mix + 9) % nWords],
                                   static_cast<long long>(row));
            st.check(sqlite3_bind_text(s, index, buffer, length, SQLITE_TRANSIENT));
            break;
        case Kind::Integer:
            st.check(sqlite3_bind_int64(s, index, 2000 + mix % 30));
            break;
        case Kind::Real:
            st.check(sqlite3_bind_double(s, index, double((row * 3719 + columnNo * 131) % 1000000) / 100.0));
            break;
        case Kind::Date: {
            const QByteArray &d = m_dates[size_t(mix % qint64(m_dates.size()))];
            st.check(sqlite3_bind_text(s, index, d.constData(), int(d.size()), SQLITE_STATIC));
            break;
        }
        case Kind::Boolean:
            st.check(sqlite3_bind_int(s, index, int(mix % 2)));
            break;
        }
    }

private:
    std::vector<QByteArray> m_dates;
};

QByteArray insertStatement(const Table &t, bool withKey)
{
    QByteArray columns = withKey ? QByteArray("SiraNo") : QByteArray();
    QByteArray marks = withKey ? QByteArray("?") : QByteArray();
    for (const Column &c : t.columns) {
        if (!columns.isEmpty()) {
            columns += ", ";
            marks += ", ";
        }
        columns += c.name;
        marks += '?';
    }
    return "INSERT INTO " + t.name + " (" + columns + ") VALUES (" + marks + ")";
}

} // namespace

void fillDemoData(const QString &path)
{
    SqliteFile db(path);
    fillServiceJobs(db);
    fillDamageFiles(db);
    fillInvoices(db);
    fillAccounts(db);
    fillWaybills(db);
    fillCashBook(db);
    fillPaymentPlans(db);
    fillNotes(db);
    fillStock(db);
    fillSalaries(db);
    db.commit();
}

void fillRows(const QString &path, int n)
{
    if (n < 0)
        throw Error(QStringLiteral("Satır sayısı negatif olamaz: %1").arg(n));
    SqliteFile db(path);
    const std::vector<Table> tables = readTables(db);
    CellMaker cells;

    // Masters and single tables first, remembering the keys their rows got.
    std::vector<std::pair<QByteArray, std::vector<qint64>>> keys;
    for (const Table &t : tables) {
        if (!t.master.isEmpty())
            continue;
        Statement st(db, insertStatement(t, false));
        std::vector<qint64> ids;
        ids.reserve(size_t(n));
        for (qint64 row = 0; row < n; ++row) {
            for (size_t c = 0; c < t.columns.size(); ++c)
                cells.bind(st, int(c) + 1, t.columns[c], row, int(c));
            st.run();
            ids.push_back(sqlite3_last_insert_rowid(db.handle()));
        }
        keys.emplace_back(t.name, std::move(ids));
    }

    // Two or three detail rows under every master row.
    for (const Table &t : tables) {
        if (t.master.isEmpty())
            continue;
        const std::vector<qint64> *masterIds = nullptr;
        for (const auto &[name, ids] : keys)
            if (name.compare(t.master, Qt::CaseInsensitive) == 0)
                masterIds = &ids;
        if (!masterIds)
            throw Error(QStringLiteral("%1 tablosunun ana tablosu %2 bulunamadı.")
                            .arg(QString::fromUtf8(t.name), QString::fromUtf8(t.master)));
        Statement st(db, insertStatement(t, true));
        qint64 row = 0;
        for (size_t m = 0; m < masterIds->size(); ++m) {
            const int count = 2 + int(m % 2);
            for (int k = 0; k < count; ++k, ++row) {
                st.check(sqlite3_bind_int64(st.get(), 1, (*masterIds)[m]));
                for (size_t c = 0; c < t.columns.size(); ++c)
                    cells.bind(st, int(c) + 2, t.columns[c], row, int(c));
                st.run();
            }
        }
    }
    db.commit();
}

} // namespace tk
