#include "SummarySheet.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace tk {

namespace {

const QColor receiptsColour(46, 139, 87);
const QColor paymentsColour(200, 60, 50);
const QColor lineColour(30, 80, 170);
const QColor purchaseColour(70, 110, 180);
const QColor saleColour(230, 150, 40);

QLocale turkish() { return QLocale(QLocale::Turkish, QLocale::Turkey); }

double clean(double value, int decimals)
{
    // Drop float noise and negative zero so that the text is what the amount is.
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    return rounded == 0.0 ? 0.0 : rounded;
}

QString elided(const QString &text, int length)
{
    return text.size() <= length ? text : text.left(length - 1) + QChar(0x2026);
}

template <typename Row, typename Value>
QVector<double> column(const QVector<Row> &rows, Value value)
{
    QVector<double> values;
    for (const Row &r : rows)
        values << value(r);
    return values;
}

// "Toplam" and each series' sum, for the sheets over months.
QStringList totalRow(const SummarySheet &sheet)
{
    QStringList row{QStringLiteral("Toplam")};
    for (const SheetSeries &s : sheet.series) {
        double sum = 0;
        for (double v : s.values)
            sum += v;
        row << (s.whole ? turkishCount(sum) : turkishAmount(sum));
    }
    return row;
}

SheetSeries bars(const char *name, QVector<double> values, QColor colour)
{
    return {QString::fromUtf8(name), SheetSeries::Kind::Bars, std::move(values), colour};
}

SheetSeries line(const char *name, QVector<double> values, QColor colour)
{
    return {QString::fromUtf8(name), SheetSeries::Kind::Line, std::move(values), colour};
}

// A sheet over months: one row each, a total row under them. `recorded`
// tells a month with rows from one without.
template <typename Row, typename Recorded>
SummarySheet monthlySheet(const char *title, const QVector<Row> &months, QVector<SheetSeries> series,
                          Recorded recorded)
{
    SummarySheet sheet;
    sheet.title = QString::fromUtf8(title);
    sheet.categoryHeader = QStringLiteral("Ay");
    for (const Row &r : months) {
        sheet.categories << monthText(r.month);
        // Twelve months side by side leave little room under each: the year goes under the month.
        sheet.chartLabels << turkish().monthName(r.month.month(), QLocale::ShortFormat) + QStringLiteral("<br>")
                                 + QString::number(r.month.year());
    }
    sheet.series = std::move(series);
    sheet.footer = {totalRow(sheet)};
    sheet.empty = std::none_of(months.begin(), months.end(), recorded);
    return sheet;
}

// A sheet over names (companies, items), the largest first, drawn as horizontal bars.
SummarySheet namedSheet(const QString &title, const char *header, const QStringList &names)
{
    SummarySheet sheet;
    sheet.title = title;
    sheet.categoryHeader = QString::fromUtf8(header);
    sheet.horizontal = true;
    sheet.categories = names;
    for (const QString &name : names)
        sheet.chartLabels << elided(name, 28);
    return sheet;
}

} // namespace

QString turkishAmount(double value) { return turkish().toString(clean(value, 2), 'f', 2); }

QString turkishCount(double value) { return turkish().toString(clean(value, 0), 'f', 0); }

QString monthText(QDate month)
{
    return turkish().monthName(month.month(), QLocale::ShortFormat) + QLatin1Char(' ') + QString::number(month.year());
}

QStringList SummarySheet::headers() const
{
    QStringList h{categoryHeader};
    for (const SheetSeries &s : series)
        h << s.name;
    return h;
}

QVector<QStringList> SummarySheet::tableRows() const
{
    QVector<QStringList> rows;
    if (empty)
        return rows; // months of zeros say nothing the chart's "Kayıt yok" does not
    for (int i = 0; i < categories.size(); ++i) {
        QStringList row{categories[i]};
        for (const SheetSeries &s : series)
            row << (s.whole ? turkishCount(s.values[i]) : turkishAmount(s.values[i]));
        rows << row;
    }
    return rows + footer;
}

SummarySheet cashSheet(const QVector<CashMonth> &months)
{
    return monthlySheet("Kasa: aylık tahsilat ve tediye (nakit ve kredi kartı)", months,
                        {bars("Tahsilat", column(months, [](const CashMonth &m) { return m.receipts(); }), receiptsColour),
                         bars("Tediye", column(months, [](const CashMonth &m) { return m.payments(); }), paymentsColour),
                         line("Net", column(months, [](const CashMonth &m) { return m.net(); }), lineColour)},
                        [](const CashMonth &m) { return m.entries > 0; });
}

SummarySheet serviceSheet(const QVector<ServiceMonth> &months)
{
    SheetSeries jobs = bars("İş sayısı", column(months, [](const ServiceMonth &m) { return double(m.jobs); }),
                            purchaseColour);
    jobs.whole = true;
    SheetSeries amount = line("Tutar", column(months, [](const ServiceMonth &m) { return m.amount; }), saleColour);
    amount.secondAxis = true; // money beside a count
    return monthlySheet("Servis: aylık iş sayısı ve işlem tutarı", months, {jobs, amount},
                        [](const ServiceMonth &m) { return m.jobs > 0; });
}

SummarySheet notesSheet(const QVector<NotesMonth> &months)
{
    return monthlySheet("Vadeler: aylara göre verilen ve alınan senetler", months,
                        {bars("Verilen", column(months, [](const NotesMonth &m) { return m.issued; }), paymentsColour),
                         bars("Alınan", column(months, [](const NotesMonth &m) { return m.received; }), receiptsColour)},
                        [](const NotesMonth &m) { return m.issuedNotes > 0 || m.receivedNotes > 0; });
}

SummarySheet balanceSheet(const QVector<CompanyBalance> &companies)
{
    QStringList names;
    for (const CompanyBalance &c : companies)
        names << c.company;
    SummarySheet sheet =
        namedSheet(QStringLiteral("Cari: kalan bakiyesi en yüksek %1 firma").arg(companies.size()), "Firma", names);
    sheet.series = {bars("Kalan", column(companies, [](const CompanyBalance &c) { return c.remaining; }), paymentsColour)};
    sheet.empty = companies.isEmpty();
    return sheet;
}

SummarySheet stockSheet(const StockValue &stock)
{
    QStringList names;
    for (const StockItem &item : stock.highest)
        names << (item.name.isEmpty() ? item.code : item.code + QLatin1Char(' ') + item.name);
    SummarySheet sheet = namedSheet(QStringLiteral("Stok değeri: alışta %1 TL, satışta %2 TL")
                                        .arg(turkishAmount(stock.atPurchase), turkishAmount(stock.atSale)),
                                    "Stok", names);
    sheet.series = {bars("Alış değeri", column(stock.highest, [](const StockItem &i) { return i.atPurchase; }), purchaseColour),
                    bars("Satış değeri", column(stock.highest, [](const StockItem &i) { return i.atSale; }), saleColour)};
    sheet.footer = {{QStringLiteral("Tüm stok (%1 kalem)").arg(turkishCount(stock.items)),
                     turkishAmount(stock.atPurchase), turkishAmount(stock.atSale)}};
    sheet.empty = stock.items == 0;
    return sheet;
}

const QVector<SummaryTab> &summaryTabs()
{
    static const QVector<SummaryTab> tabs = {
        {"Kasa", "TabKasa", {QStringLiteral("Kasa"), QStringLiteral("Kasa1")},
         [](const SummaryFigures &f, QDate today) { return cashSheet(f.cashByMonth(today)); }},
        {"Servis", "TabServis", {QStringLiteral("MusTakip"), QStringLiteral("MusTakip1")},
         [](const SummaryFigures &f, QDate today) { return serviceSheet(f.serviceByMonth(today)); }},
        {"Cari", "TabCari", {QStringLiteral("Cari"), QStringLiteral("Cari1")},
         [](const SummaryFigures &f, QDate) { return balanceSheet(f.largestBalances()); }},
        {"Vadeler", "TabVadeler", {QStringLiteral("SenetVer"), QStringLiteral("SenetAl")},
         [](const SummaryFigures &f, QDate today) { return notesSheet(f.notesDue(today)); }},
        {"Stok", "TabStok", {QStringLiteral("Stok")},
         [](const SummaryFigures &f, QDate) { return stockSheet(f.stockValue()); }},
    };
    return tabs;
}

} // namespace tk
