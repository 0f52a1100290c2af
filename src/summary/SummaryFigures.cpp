#include "SummaryFigures.h"

#include "data/PackedRow.h"
#include "data/Store.h"

#include <QVariant>

namespace tk {

namespace {

// Below half a kuruş an amount shows as 0,00: no balance, no value.
const char *const shownAmount = "0.005";

QString isoDay(QDate d) { return d.toString(Qt::ISODate); }

// A statement's rows as the store reads any statement it cannot write back: whole.
class Rows {
public:
    Rows(Store &store, const QString &sql, const QVariantList &params)
        : m_result(store.openKeys(QString(), sql, params))
    {
    }
    int count() const { return int(m_result.rows.size()); }
    QVariant value(int row, int column) const
    {
        return packedCell(m_result.rows[size_t(row)], int(m_result.fields.size()), column);
    }

private:
    KeyedResult m_result;
};

// The month of an ISO date column: its first seven characters, "2024-03".
QString monthOf(const QString &dateColumn)
{
    return QStringLiteral("SUBSTR(CAST(%1 AS TEXT), 1, 7)").arg(dateColumn);
}

} // namespace

QVector<QDate> monthsEndingAt(QDate today, int count)
{
    QVector<QDate> months;
    const QDate last(today.year(), today.month(), 1);
    for (int i = count - 1; i >= 0; --i)
        months << last.addMonths(-i);
    return months;
}

QVector<QDate> monthsStartingAt(QDate today, int count)
{
    QVector<QDate> months;
    const QDate first(today.year(), today.month(), 1);
    for (int i = 0; i < count; ++i)
        months << first.addMonths(i);
    return months;
}

QVector<SummaryFigures::MonthlyRow> SummaryFigures::monthly(const QVector<QDate> &months, const QString &from,
                                                            const QString &dateColumn,
                                                            const QString &countExpression,
                                                            const QStringList &sumExpressions) const
{
    QStringList columns{monthOf(dateColumn), countExpression};
    for (const QString &e : sumExpressions)
        columns << QStringLiteral("COALESCE(SUM(%1), 0)").arg(e);
    // A range on the column itself, so that an index on it can serve.
    const QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 >= ? AND %3 < ? GROUP BY %4")
                            .arg(columns.join(QStringLiteral(", ")), from, dateColumn, monthOf(dateColumn));
    const Rows q(*m_store, sql, {isoDay(months.first()), isoDay(months.last().addMonths(1))});

    QVector<MonthlyRow> rows(months.size(), MonthlyRow{0, QVector<double>(sumExpressions.size(), 0.0)});
    for (int r = 0; r < q.count(); ++r) {
        const QDate month = QDate::fromString(q.value(r, 0).toString() + QStringLiteral("-01"), Qt::ISODate);
        const qsizetype at = months.indexOf(month);
        if (at < 0)
            continue; // a date the range let through but no month of ours (not ISO text)
        rows[at].count = q.value(r, 1).toInt();
        for (int i = 0; i < sumExpressions.size(); ++i)
            rows[at].sums[i] = q.value(r, 2 + i).toDouble();
    }
    return rows;
}

QVector<CashMonth> SummaryFigures::cashByMonth(QDate today) const
{
    const QVector<QDate> months = monthsEndingAt(today);
    const QVector<MonthlyRow> rows =
        monthly(months, QStringLiteral("Kasa1"), QStringLiteral("Tarih"), QStringLiteral("COUNT(*)"),
                {QStringLiteral("KKTahsis"), QStringLiteral("Tahsilat"), QStringLiteral("KKTediye"),
                 QStringLiteral("Tediye")});
    QVector<CashMonth> result;
    for (int i = 0; i < months.size(); ++i) {
        const MonthlyRow &r = rows[i];
        result << CashMonth{months[i], r.count, r.sums[0], r.sums[1], r.sums[2], r.sums[3]};
    }
    return result;
}

QVector<ServiceMonth> SummaryFigures::serviceByMonth(QDate today) const
{
    const QVector<QDate> months = monthsEndingAt(today);
    // A job without operations counts as a job with no amount.
    const QVector<MonthlyRow> rows =
        monthly(months, QStringLiteral("MusTakip j LEFT JOIN MusTakip1 o ON o.SiraNo = j.SiraNo"),
                QStringLiteral("j.Tarih"), QStringLiteral("COUNT(DISTINCT j.SiraNo)"), {QStringLiteral("o.Tutar")});
    QVector<ServiceMonth> result;
    for (int i = 0; i < months.size(); ++i)
        result << ServiceMonth{months[i], rows[i].count, rows[i].sums[0]};
    return result;
}

QVector<CompanyBalance> SummaryFigures::largestBalances(int count) const
{
    // The remaining balance as the account page totals it: Kalan over the company's entries.
    // Summed over the entries first; only the companies that remain are looked up.
    const QString sql = QStringLiteral("SELECT c.Firma, t.Kalan FROM (SELECT SiraNo, SUM(Kalan) AS Kalan FROM Cari1 "
                                       "GROUP BY SiraNo HAVING SUM(Kalan) >= %1) t JOIN Cari c ON c.SiraNo = t.SiraNo "
                                       "ORDER BY t.Kalan DESC, c.SiraNo LIMIT %2")
                            .arg(QLatin1String(shownAmount))
                            .arg(count);
    const Rows q(*m_store, sql, {});
    QVector<CompanyBalance> result;
    for (int r = 0; r < q.count(); ++r)
        result << CompanyBalance{q.value(r, 0).toString(), q.value(r, 1).toDouble()};
    return result;
}

QVector<NotesMonth> SummaryFigures::notesDue(QDate today) const
{
    const QVector<QDate> months = monthsStartingAt(today);
    const auto inRegister = [&](const char *table) {
        return monthly(months, QLatin1String(table), QStringLiteral("VadeTarihi"), QStringLiteral("COUNT(*)"),
                       {QStringLiteral("Tutar")});
    };
    const QVector<MonthlyRow> issued = inRegister("SenetVer");
    const QVector<MonthlyRow> received = inRegister("SenetAl");
    QVector<NotesMonth> result;
    for (int i = 0; i < months.size(); ++i)
        result << NotesMonth{months[i], issued[i].count, received[i].count, issued[i].sums[0], received[i].sums[0]};
    return result;
}

StockValue SummaryFigures::stockValue(int count) const
{
    StockValue value;
    // An empty quantity or price counts as nothing in stock.
    const Rows totals(*m_store,
                      QStringLiteral("SELECT COUNT(*), COALESCE(SUM(Adet * Alis), 0), "
                                     "COALESCE(SUM(Adet * Satis), 0) FROM Stok"),
                      {});
    if (totals.count() > 0) {
        value.items = totals.value(0, 0).toInt();
        value.atPurchase = totals.value(0, 1).toDouble();
        value.atSale = totals.value(0, 2).toDouble();
    }
    const QString sql = QStringLiteral("SELECT StokKodu, StokAdi, Adet * Alis, COALESCE(Adet * Satis, 0) FROM Stok "
                                       "WHERE Adet * Alis >= %1 ORDER BY Adet * Alis DESC, SiraNo LIMIT %2")
                            .arg(QLatin1String(shownAmount))
                            .arg(count);
    const Rows top(*m_store, sql, {});
    for (int r = 0; r < top.count(); ++r)
        value.highest << StockItem{top.value(r, 0).toString(), top.value(r, 1).toString(), top.value(r, 2).toDouble(),
                                   top.value(r, 3).toDouble()};
    return value;
}

} // namespace tk
