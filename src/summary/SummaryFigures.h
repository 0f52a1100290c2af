#pragma once
// The figures of the summary window, each one SQL aggregate over the books:
// the cash book and the service jobs by month, the companies that owe most,
// the notes falling due by month, and the value of the stock.
//
// The statements are plain SQL with positional parameters and ISO date text
// (a DATE column holds yyyy-MM-dd), so they run through the books' store on
// the file and on a server alike. "Today" is always given, never read from
// the clock here.
#include <QDate>
#include <QString>
#include <QVector>

namespace tk {

class Store;

struct CashMonth {
    QDate month; // first day of the month
    int entries = 0;
    double cardReceipts = 0; // KKTahsis
    double cashReceipts = 0; // Tahsilat
    double cardPayments = 0; // KKTediye
    double cashPayments = 0; // Tediye
    double receipts() const { return cardReceipts + cashReceipts; }
    double payments() const { return cardPayments + cashPayments; }
    double net() const { return receipts() - payments(); }
};

struct ServiceMonth {
    QDate month;
    int jobs = 0;
    double amount = 0; // the operations' Tutar of the month's jobs
};

struct CompanyBalance {
    QString company;
    double remaining = 0; // sum of Kalan over the company's entries
};

struct NotesMonth {
    QDate month;
    int issuedNotes = 0;
    int receivedNotes = 0;
    double issued = 0;   // SenetVer: cash needed
    double received = 0; // SenetAl: cash expected
};

struct StockItem {
    QString code;
    QString name;
    double atPurchase = 0; // Adet × Alis
    double atSale = 0;     // Adet × Satis
};

struct StockValue {
    int items = 0;
    double atPurchase = 0;
    double atSale = 0;
    QVector<StockItem> highest; // by value at purchase, largest first
};

// The twelve first-days-of-month ending with (or starting at) today's month.
QVector<QDate> monthsEndingAt(QDate today, int count = 12);
QVector<QDate> monthsStartingAt(QDate today, int count = 12);

class SummaryFigures {
public:
    explicit SummaryFigures(Store &store) : m_store(&store) {}

    // Kasa1 by its Tarih, the twelve months ending with today's month.
    QVector<CashMonth> cashByMonth(QDate today) const;
    // MusTakip by its Tarih, with its MusTakip1 operations, the same twelve months.
    QVector<ServiceMonth> serviceByMonth(QDate today) const;
    // Companies whose remaining balance is at least 0,01, largest first.
    QVector<CompanyBalance> largestBalances(int count = 10) const;
    // SenetVer and SenetAl by VadeTarihi, today's month and the eleven after it.
    QVector<NotesMonth> notesDue(QDate today) const;
    // The whole stock, and the `count` items of highest value at purchase (at least 0,01).
    StockValue stockValue(int count = 10) const;

private:
    struct MonthlyRow {
        int count = 0;
        QVector<double> sums;
    };
    // One grouped statement: per month of `dateColumn` within `months`, a count and sums.
    QVector<MonthlyRow> monthly(const QVector<QDate> &months, const QString &from, const QString &dateColumn,
                                const QString &countExpression, const QStringList &sumExpressions) const;

    Store *m_store;
};

} // namespace tk
