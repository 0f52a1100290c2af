// Spreadsheet export: the text items of the pages, one sheet row per text
// row, one column per distinct left edge. Items that show numbers become
// numeric cells with a matching number format; page breaks are carried over.
#include "Export.h"
#include "StagedWorkbook.h"

#include "core/Error.h"
#include "reports/engine/Format.h"

#include <QFile>
#include <QMap>
#include <algorithm>
#include <map>
#include <xlsxwriter.h>

namespace tk::reports {

namespace {

// Splits a shown number into its value and the number format that shows it
// the same way: "1.234,50 TL" gives 1234.5 and #,##0.00" TL", "1275,5,00"
// (a number followed by the template's own ",00") gives 1275.5 and 0.0",00".
// False when the text does not start with a number.
bool numberAndFormat(const QString &text, double *value, QString *code)
{
    qsizetype end = 0;
    while (end < text.size()
           && (text.at(end).isDigit() || text.at(end) == u'.' || text.at(end) == u',' || (end == 0 && text.at(0) == u'-')))
        ++end;
    for (; end > 0; --end) {
        if (!text.at(end - 1).isDigit())
            continue;
        const QStringView number = QStringView(text).left(end);
        if (!parseTurkishNumber(number, value))
            continue;
        const qsizetype comma = number.indexOf(u',');
        const int decimals = comma < 0 ? 0 : int(number.size() - comma - 1);
        *code = number.contains(u'.') ? QStringLiteral("#,##0") : QStringLiteral("0");
        if (decimals > 0)
            *code += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
        const QString suffix = text.mid(end);
        if (suffix.contains(QLatin1Char('"')))
            return false; // no way to quote it in a format: the text goes as it is
        if (!suffix.isEmpty())
            *code += QLatin1Char('"') + suffix + QLatin1Char('"');
        return true;
    }
    return false;
}

} // namespace

bool exportXlsx(const PreparedReport &report, const std::vector<int> &pages, const QString &path,
                const ExportProgress &progress)
{
    // Columns: distinct left edges of the text items, in tenths of a unit.
    std::vector<int> lefts;
    for (int index : pages) {
        const PreparedPage &page = report.page(index);
        for (std::uint32_t i = page.firstItem; i < page.firstItem + page.itemCount; ++i) {
            const PreparedItem &item = report.items()[i];
            if ((item.kind == CellKind::Memo || item.kind == CellKind::SystemMemo) && item.textLength > 0)
                lefts.push_back(int(std::lround(item.x * 10)));
        }
    }
    std::sort(lefts.begin(), lefts.end());
    lefts.erase(std::unique(lefts.begin(), lefts.end()), lefts.end());

    StagedWorkbook wb(path);
    lxw_worksheet *sheet = workbook_add_worksheet(wb.book(), "Rapor");
    for (size_t c = 0; c < lefts.size(); ++c) {
        const double next = c + 1 < lefts.size() ? lefts[c + 1] / 10.0 : lefts[c] / 10.0 + 100;
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::max(2.0, (next - lefts[c] / 10.0) / 7.0), nullptr);
    }
    std::map<QString, lxw_format *> numberFormats;
    const auto numberFormat = [&](const QString &code) {
        auto it = numberFormats.find(code);
        if (it == numberFormats.end()) {
            lxw_format *f = workbook_add_format(wb.book());
            format_set_num_format(f, code.toUtf8().constData());
            it = numberFormats.emplace(code, f).first;
        }
        return it->second;
    };

    std::vector<lxw_row_t> breaks;
    lxw_row_t row = 0;
    for (int index : pages) {
        if (progress && !progress(index + 1))
            return false;
        if (row > 0)
            breaks.push_back(row);
        // Text rows of the page: items grouped by their top edge.
        const PreparedPage &page = report.page(index);
        std::map<int, std::vector<PreparedItem>> rows;
        for (std::uint32_t i = page.firstItem; i < page.firstItem + page.itemCount; ++i) {
            const PreparedItem &item = report.items()[i];
            if ((item.kind == CellKind::Memo || item.kind == CellKind::SystemMemo) && item.textLength > 0)
                rows[int(std::lround(item.y * 10))].push_back(item);
        }
        for (const auto &[top, items] : rows) {
            for (const PreparedItem &item : items) {
                const auto col = lxw_col_t(std::lower_bound(lefts.begin(), lefts.end(), int(std::lround(item.x * 10)))
                                           - lefts.begin());
                const QString text = report.finalText(item, report.pageCount());
                double value = 0;
                QString code;
                lxw_error rc;
                if ((item.flags & PreparedItem::Numeric) && numberAndFormat(text, &value, &code))
                    rc = worksheet_write_number(sheet, row, col, value, numberFormat(code));
                else
                    rc = worksheet_write_string(sheet, row, col, text.toUtf8().constData(), nullptr);
                if (rc != LXW_NO_ERROR)
                    throw Error(QStringLiteral("%1 yazılamadı: %2").arg(path, QString::fromUtf8(lxw_strerror(rc))));
            }
            ++row;
        }
    }
    if (!breaks.empty()) {
        if (breaks.size() > 1023) // the file format's limit
            breaks.resize(1023);
        breaks.push_back(0); // the list ends with 0
        worksheet_set_h_pagebreaks(sheet, breaks.data());
    }
    wb.commit();
    return true;
}

} // namespace tk::reports
