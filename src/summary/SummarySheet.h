#pragma once
// What one tab of the summary window shows, as plain data: the chart's
// categories and series and the small table beside it, texts already in
// Turkish number format. The widgets are drawn from this, and so are the
// saved and printed charts.
#include "SummaryFigures.h"

#include <QColor>
#include <QStringList>
#include <QVector>

namespace tk {

struct SheetSeries {
    enum class Kind { Bars, Line };
    QString name;
    Kind kind = Kind::Bars;
    QVector<double> values; // one per category
    QColor colour;
    bool secondAxis = false; // against the right-hand axis (another unit)
    bool whole = false;      // a count: no decimals in the table
};

struct SummarySheet {
    QString title;
    QString categoryHeader;  // the table's first column
    QStringList categories;  // the table's texts
    QStringList chartLabels; // the chart axis' shorter texts, one per category
    QVector<SheetSeries> series;
    bool horizontal = false; // names read better down the side than under the bars
    QVector<QStringList> footer; // total rows under the table, formatted
    bool empty = false;          // nothing recorded: the chart says "Kayıt yok"

    QStringList headers() const;
    QVector<QStringList> tableRows() const; // categories, then the footer; none when empty
};

// 1234.5 → "1.234,50"; a count → "1.234". Never "-0,00".
QString turkishAmount(double value);
QString turkishCount(double value);
// The first day of a month → "Mar 2024" (short month name).
QString monthText(QDate month);

SummarySheet cashSheet(const QVector<CashMonth> &months);
SummarySheet serviceSheet(const QVector<ServiceMonth> &months);
SummarySheet balanceSheet(const QVector<CompanyBalance> &companies);
SummarySheet notesSheet(const QVector<NotesMonth> &months);
SummarySheet stockSheet(const StockValue &stock);

// The five tabs, in order: caption, object name of the tab, the tables whose
// changes it follows, and how its sheet is made on given books and day.
struct SummaryTab {
    const char *caption;
    const char *name;
    QStringList tables;
    SummarySheet (*sheet)(const SummaryFigures &figures, QDate today);
};
const QVector<SummaryTab> &summaryTabs();

} // namespace tk
