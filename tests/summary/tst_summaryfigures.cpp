// The summary figures on a real Data.dat, and on a server, filled with known
// rows, without a window: each tab's aggregates, the months at the edges of
// the window and the months without rows, negative amounts, empty values, and
// the texts of each tab's table in Turkish number format.
#include "app/PageTable.h"
#include "summary/SummaryFigures.h"
#include "summary/SummarySheet.h"
#include "support/ServerBooks.h"
#include "support/TestSupport.h"

#include <QTest>
#include <memory>

using namespace tk;
using tk::test::TempDatabase;

namespace {

const QDate today(2024, 3, 15);

struct Books {
    TempDatabase db;
    std::unique_ptr<DataModule> data;
    explicit Books(const QStringList &rows)
    {
        for (const QString &sql : rows)
            db.exec(sql);
        data = std::make_unique<DataModule>(db.path(), datasetDefs());
        // Registered a second time for the server: the figures must come from it.
        if (tk::test::testsOnServer())
            QCOMPARE(data->store()->engine(), QStringLiteral("PostgreSQL"));
    }
    SummaryFigures figures() const { return SummaryFigures(*data->store()); }
};

const QStringList cashRows = {
    "INSERT INTO Kasa (SiraNo, Aylar) VALUES (1, '2024 / MART')",
    // KKTahsis, Tahsilat, KKTediye, Tediye
    "INSERT INTO Kasa1 (SiraNo, Tarih, KKTahsis, Tahsilat, KKTediye, Tediye) VALUES (1, '2024-03-01', 100, 50.5, 0, 20)",
    "INSERT INTO Kasa1 (SiraNo, Tarih, KKTahsis, Tahsilat, KKTediye, Tediye) VALUES (1, '2024-03-31', NULL, -10, 5.25, NULL)",
    "INSERT INTO Kasa1 (SiraNo, Tarih, Tediye) VALUES (1, '2024-01-10', 300)",
    "INSERT INTO Kasa1 (SiraNo, Tarih, KKTahsis) VALUES (1, '2023-04-01', 1)",
    // outside the twelve months, and without a date
    "INSERT INTO Kasa1 (SiraNo, Tarih, Tahsilat) VALUES (1, '2023-03-31', 1000)",
    "INSERT INTO Kasa1 (SiraNo, Tarih, Tahsilat) VALUES (1, '2024-04-01', 1000)",
    "INSERT INTO Kasa1 (SiraNo, Tarih, Tahsilat) VALUES (1, NULL, 1000)",
};

} // namespace

class SummaryFiguresTest : public QObject {
    Q_OBJECT
private slots:
    void monthWindows();
    void cashByMonth();
    void serviceJobsAndTheirOperations();
    void largestRemainingBalances();
    void notesFallingDue();
    void stockValue();
    void emptyBooks();
    void turkishTexts();
};

void SummaryFiguresTest::monthWindows()
{
    const QVector<QDate> ending = monthsEndingAt(QDate(2024, 12, 31));
    QCOMPARE(ending.size(), 12);
    QCOMPARE(ending.first(), QDate(2024, 1, 1));
    QCOMPARE(ending.last(), QDate(2024, 12, 1));
    const QVector<QDate> starting = monthsStartingAt(QDate(2024, 12, 31));
    QCOMPARE(starting.first(), QDate(2024, 12, 1));
    QCOMPARE(starting.last(), QDate(2025, 11, 1));
    QCOMPARE(monthsEndingAt(QDate(2024, 3, 31)).first(), QDate(2023, 4, 1));
}

void SummaryFiguresTest::cashByMonth()
{
    Books books(cashRows);
    const QVector<CashMonth> months = books.figures().cashByMonth(today);
    QCOMPARE(months.size(), 12);
    QCOMPARE(months.first().month, QDate(2023, 4, 1));
    QCOMPARE(months.last().month, QDate(2024, 3, 1));

    const CashMonth &april = months[0];
    QCOMPARE(april.entries, 1);
    QCOMPARE(april.cardReceipts, 1.0);
    QCOMPARE(april.receipts(), 1.0);

    const CashMonth &january = months[9];
    QCOMPARE(january.month, QDate(2024, 1, 1));
    QCOMPARE(january.entries, 1);
    QCOMPARE(january.payments(), 300.0);
    QCOMPARE(january.net(), -300.0);

    const CashMonth &february = months[10]; // no rows
    QCOMPARE(february.entries, 0);
    QCOMPARE(february.receipts(), 0.0);
    QCOMPARE(february.payments(), 0.0);

    const CashMonth &march = months[11];
    QCOMPARE(march.entries, 2);
    QCOMPARE(march.cardReceipts, 100.0);
    QCOMPARE(march.cashReceipts, 40.5); // 50,50 and a correction of -10
    QCOMPARE(march.cardPayments, 5.25);
    QCOMPARE(march.cashPayments, 20.0);
    QCOMPARE(march.receipts(), 140.5);
    QCOMPARE(march.payments(), 25.25);
    QCOMPARE(march.net(), 115.25);

    int entries = 0;
    for (const CashMonth &m : months)
        entries += m.entries;
    QCOMPARE(entries, 4); // the rows outside the months and without a date are not counted

    // The table beside the chart.
    const QVector<QStringList> table = cashSheet(months).tableRows();
    QCOMPARE(table.size(), 13);
    QCOMPARE(table[9], (QStringList{"Oca 2024", "0,00", "300,00", "-300,00"}));
    QCOMPARE(table[10], (QStringList{"Şub 2024", "0,00", "0,00", "0,00"}));
    QCOMPARE(table[11], (QStringList{"Mar 2024", "140,50", "25,25", "115,25"}));
    QCOMPARE(table[12], (QStringList{"Toplam", "141,50", "325,25", "-183,75"}));
}

void SummaryFiguresTest::serviceJobsAndTheirOperations()
{
    Books books({
        "INSERT INTO MusTakip (SiraNo, AracPlaka, Tarih) VALUES (1, '34 A 1', '2024-03-02')",
        "INSERT INTO MusTakip1 (SiraNo, Islem, Tutar) VALUES (1, 'Bakım', 100.5)",
        "INSERT INTO MusTakip1 (SiraNo, Islem, Tutar) VALUES (1, 'İndirim', -20)",
        "INSERT INTO MusTakip (SiraNo, AracPlaka, Tarih) VALUES (2, '34 A 2', '2024-03-20')", // no operations
        "INSERT INTO MusTakip (SiraNo, AracPlaka, Tarih) VALUES (3, '34 A 3', '2024-01-05')",
        "INSERT INTO MusTakip1 (SiraNo, Islem, Tutar) VALUES (3, 'Yağ', 10)",
        "INSERT INTO MusTakip1 (SiraNo, Islem, Tutar) VALUES (3, 'Filtre', 15)",
        "INSERT INTO MusTakip1 (SiraNo, Islem, Tutar) VALUES (3, 'Boş', NULL)",
        "INSERT INTO MusTakip (SiraNo, AracPlaka, Tarih) VALUES (4, '34 A 4', '2023-03-31')", // before the months
        "INSERT INTO MusTakip1 (SiraNo, Islem, Tutar) VALUES (4, 'Motor', 999)",
    });
    const QVector<ServiceMonth> months = books.figures().serviceByMonth(today);
    QCOMPARE(months.size(), 12);
    QCOMPARE(months[11].month, QDate(2024, 3, 1));
    QCOMPARE(months[11].jobs, 2);
    QCOMPARE(months[11].amount, 80.5);
    QCOMPARE(months[10].jobs, 0);
    QCOMPARE(months[10].amount, 0.0);
    QCOMPARE(months[9].jobs, 1);
    QCOMPARE(months[9].amount, 25.0);
    QCOMPARE(months[0].jobs, 0);

    const QVector<QStringList> table = serviceSheet(months).tableRows();
    QCOMPARE(table[11], (QStringList{"Mar 2024", "2", "80,50"}));
    QCOMPARE(table.last(), (QStringList{"Toplam", "3", "105,50"}));
}

void SummaryFiguresTest::largestRemainingBalances()
{
    Books books({
        "INSERT INTO Cari (SiraNo, Firma) VALUES (1, 'AKSOY')",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (1, 'A1', 50.25)",
        "INSERT INTO Cari (SiraNo, Firma) VALUES (2, 'ÇELİK')",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (2, 'Ç1', 1634.5)",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (2, 'Ç2', -400)", // a return
        "INSERT INTO Cari (SiraNo, Firma) VALUES (3, 'ÖDENMİŞ')",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (3, 'Ö1', 100)",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (3, 'Ö2', -100)",
        "INSERT INTO Cari (SiraNo, Firma) VALUES (4, 'FAZLA ÖDENMİŞ')",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (4, 'F1', -30)",
        "INSERT INTO Cari (SiraNo, Firma) VALUES (5, 'HESAPLANMAMIŞ')",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (5, 'H1', NULL)",
        "INSERT INTO Cari (SiraNo, Firma) VALUES (6, 'KAYITSIZ')",
        "INSERT INTO Cari (SiraNo, Firma) VALUES (7, 'KURUŞ')",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (7, 'K1', 0.1)",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (7, 'K2', 0.2)",
        "INSERT INTO Cari1 (SiraNo, FatNo, Kalan) VALUES (7, 'K3', -0.3)", // float noise, no balance
    });
    const QVector<CompanyBalance> all = books.figures().largestBalances();
    QCOMPARE(all.size(), 2);
    QCOMPARE(all[0].company, QStringLiteral("ÇELİK"));
    QCOMPARE(all[0].remaining, 1234.5);
    QCOMPARE(all[1].company, QStringLiteral("AKSOY"));
    QCOMPARE(all[1].remaining, 50.25);

    const QVector<CompanyBalance> first = books.figures().largestBalances(1);
    QCOMPARE(first.size(), 1);
    QCOMPARE(first[0].company, QStringLiteral("ÇELİK"));

    const SummarySheet sheet = balanceSheet(all);
    QVERIFY(sheet.horizontal);
    QCOMPARE(sheet.tableRows(), (QVector<QStringList>{{"ÇELİK", "1.234,50"}, {"AKSOY", "50,25"}}));
}

void SummaryFiguresTest::notesFallingDue()
{
    Books books({
        "INSERT INTO SenetVer (SenetNo, VadeTarihi, Tutar) VALUES ('V1', '2024-03-01', 1000)",
        "INSERT INTO SenetVer (SenetNo, VadeTarihi, Tutar) VALUES ('V2', '2024-03-31', -200)",
        "INSERT INTO SenetVer (SenetNo, VadeTarihi, Tutar) VALUES ('V3', '2025-02-28', 500)",
        "INSERT INTO SenetVer (SenetNo, VadeTarihi, Tutar) VALUES ('V4', '2025-03-01', 999)",
        "INSERT INTO SenetVer (SenetNo, VadeTarihi, Tutar) VALUES ('V5', '2024-02-29', 777)",
        "INSERT INTO SenetAl (SenetNo, VadeTarihi, Tutar) VALUES ('A1', '2024-06-15', 2500.75)",
        "INSERT INTO SenetAl (SenetNo, VadeTarihi, Tutar) VALUES ('A2', '2024-06-16', NULL)",
    });
    const QVector<NotesMonth> months = books.figures().notesDue(today);
    QCOMPARE(months.size(), 12);
    QCOMPARE(months.first().month, QDate(2024, 3, 1));
    QCOMPARE(months.last().month, QDate(2025, 2, 1));
    QCOMPARE(months[0].issuedNotes, 2);
    QCOMPARE(months[0].issued, 800.0);
    QCOMPARE(months[0].received, 0.0);
    QCOMPARE(months[3].month, QDate(2024, 6, 1));
    QCOMPARE(months[3].receivedNotes, 2);
    QCOMPARE(months[3].received, 2500.75);
    QCOMPARE(months[1].issued, 0.0);
    QCOMPARE(months[1].received, 0.0);
    QCOMPARE(months[11].issued, 500.0);

    const QVector<QStringList> table = notesSheet(months).tableRows();
    QCOMPARE(table[0], (QStringList{"Mar 2024", "800,00", "0,00"}));
    QCOMPARE(table[3], (QStringList{"Haz 2024", "0,00", "2.500,75"}));
    QCOMPARE(table.last(), (QStringList{"Toplam", "1.300,00", "2.500,75"}));
}

void SummaryFiguresTest::stockValue()
{
    Books books({
        "INSERT INTO Stok (StokKodu, StokAdi, Adet, Alis, Satis) VALUES ('A', 'BALATA', 10, 5, 8)",
        "INSERT INTO Stok (StokKodu, StokAdi, Adet, Alis, Satis) VALUES ('B', 'TRİGER', 2, 100.5, 150)",
        "INSERT INTO Stok (StokKodu, StokAdi, Adet, Alis, Satis) VALUES ('C', 'FİLTRE', -3, 10, 20)",
        "INSERT INTO Stok (StokKodu, StokAdi, Adet, Alis, Satis) VALUES ('D', 'YAĞ', NULL, 40, 60)",
        "INSERT INTO Stok (StokKodu, StokAdi, Adet, Alis, Satis) VALUES ('E', '', 1, 0.001, 0)",
    });
    const StockValue stock = books.figures().stockValue();
    QCOMPARE(stock.items, 5);
    QCOMPARE(stock.atPurchase, 221.001); // 50 + 201 - 30 + 0,001; no quantity counts as none
    QCOMPARE(stock.atSale, 320.0);
    QCOMPARE(stock.highest.size(), 2);
    QCOMPARE(stock.highest[0].code, QStringLiteral("B"));
    QCOMPARE(stock.highest[0].atPurchase, 201.0);
    QCOMPARE(stock.highest[0].atSale, 300.0);
    QCOMPARE(stock.highest[1].code, QStringLiteral("A"));
    QCOMPARE(books.figures().stockValue(1).highest.size(), 1);

    const SummarySheet sheet = stockSheet(stock);
    QCOMPARE(sheet.title, QStringLiteral("Stok değeri: alışta 221,00 TL, satışta 320,00 TL"));
    QCOMPARE(sheet.tableRows(), (QVector<QStringList>{{"B TRİGER", "201,00", "300,00"},
                                                      {"A BALATA", "50,00", "80,00"},
                                                      {"Tüm stok (5 kalem)", "221,00", "320,00"}}));
}

void SummaryFiguresTest::emptyBooks()
{
    Books books({});
    const SummaryFigures figures = books.figures();
    for (const SummaryTab &tab : summaryTabs()) {
        const SummarySheet sheet = tab.sheet(figures, today);
        QVERIFY2(sheet.empty, tab.caption);
        QVERIFY2(sheet.tableRows().isEmpty(), tab.caption);
    }
    QCOMPARE(figures.stockValue().items, 0);
    QCOMPARE(figures.stockValue().atPurchase, 0.0);

    // Rows of zero amounts are records: the chart shows them.
    Books zeros({"INSERT INTO Kasa (SiraNo) VALUES (1)",
                 "INSERT INTO Kasa1 (SiraNo, Tarih, Tahsilat) VALUES (1, '2024-02-01', 0)"});
    QVERIFY(!cashSheet(zeros.figures().cashByMonth(today)).empty);
}

void SummaryFiguresTest::turkishTexts()
{
    QCOMPARE(turkishAmount(1234567.891), QStringLiteral("1.234.567,89"));
    QCOMPARE(turkishAmount(-0.001), QStringLiteral("0,00"));
    QCOMPARE(turkishAmount(0.1 + 0.2 - 0.3), QStringLiteral("0,00"));
    QCOMPARE(turkishAmount(-1500.5), QStringLiteral("-1.500,50"));
    QCOMPARE(turkishCount(12000), QStringLiteral("12.000"));
    QCOMPARE(monthText(QDate(2024, 8, 1)), QStringLiteral("Ağu 2024"));
}

QTEST_MAIN(SummaryFiguresTest)
#include "tst_summaryfigures.moc"
