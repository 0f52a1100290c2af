// Spreadsheet export: the text items of the pages, one sheet row per text
// row, one column per distinct left edge. Items that show numbers become
// numeric cells with a matching number format; page breaks are carried over.
#include "Export.h"

#include "core/Error.h"
#include "reports/engine/Format.h"

#include <QFile>
#include <QMap>
#include <algorithm>
#include <map>
#include <xlsxwriter.h>

namespace tk::reports {

namespace {

// Splits "1.234,50 TL" into the number and its suffix; false when it is no number.
bool numberWithSuffix(const QString &text, double *value, int *decimals, QString *suffix)
{
    qsizetype end = text.size();
    while (end > 0 && !text.at(end - 1).isDigit())
        --end;
    const QString number = text.left(end).trimmed();
    if (number.isEmpty())
        return false;
    if (!parseTurkishNumber(number, value))
        return false;
    const qsizetype comma = number.indexOf(QLatin1Char(','));
    *decimals = comma < 0 ? 0 : int(number.size() - comma - 1);
    *suffix = text.mid(end).trimmed();
    return true;
}

struct Workbook {
    lxw_workbook *book = nullptr;
    ~Workbook()
    {
        if (book)
            workbook_close(book);
    }
};

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

    const QByteArray fileName = QFile::encodeName(path);
    Workbook wb;
    wb.book = workbook_new(fileName.constData());
    if (!wb.book)
        throw Error(QStringLiteral("%1 yazılamadı.").arg(path));
    lxw_worksheet *sheet = workbook_add_worksheet(wb.book, "Rapor");
    for (size_t c = 0; c < lefts.size(); ++c) {
        const double next = c + 1 < lefts.size() ? lefts[c + 1] / 10.0 : lefts[c] / 10.0 + 100;
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::max(2.0, (next - lefts[c] / 10.0) / 7.0), nullptr);
    }
    std::map<QString, lxw_format *> numberFormats;
    const auto numberFormat = [&](int decimals, const QString &suffix) {
        QString code = decimals > 0 ? QStringLiteral("#,##0.") + QString(decimals, QLatin1Char('0'))
                                    : QStringLiteral("0");
        if (!suffix.isEmpty())
            code += QStringLiteral(" \"%1\"").arg(suffix);
        auto it = numberFormats.find(code);
        if (it == numberFormats.end()) {
            lxw_format *f = workbook_add_format(wb.book);
            format_set_num_format(f, code.toUtf8().constData());
            it = numberFormats.emplace(code, f).first;
        }
        return it->second;
    };

    std::vector<lxw_row_t> breaks;
    lxw_row_t row = 0;
    for (int index : pages) {
        if (progress && !progress(index + 1)) {
            workbook_close(wb.book);
            wb.book = nullptr;
            QFile::remove(path);
            return false;
        }
        if (row > 0)
            breaks.push_back(row);
        // Text rows of the page: items grouped by their top edge.
        const PreparedPage &page = report.page(index);
        std::map<int, std::vector<const PreparedItem *>> rows;
        for (std::uint32_t i = page.firstItem; i < page.firstItem + page.itemCount; ++i) {
            const PreparedItem &item = report.items()[i];
            if ((item.kind == CellKind::Memo || item.kind == CellKind::SystemMemo) && item.textLength > 0)
                rows[int(std::lround(item.y * 10))].push_back(&item);
        }
        for (const auto &[top, items] : rows) {
            for (const PreparedItem *item : items) {
                const auto col = lxw_col_t(std::lower_bound(lefts.begin(), lefts.end(), int(std::lround(item->x * 10)))
                                           - lefts.begin());
                const QString text = report.finalText(*item, report.pageCount());
                double value = 0;
                int decimals = 0;
                QString suffix;
                lxw_error rc;
                if ((item->flags & PreparedItem::Numeric) && numberWithSuffix(text, &value, &decimals, &suffix))
                    rc = worksheet_write_number(sheet, row, col, value, numberFormat(decimals, suffix));
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
    const lxw_error rc = workbook_close(wb.book);
    wb.book = nullptr;
    if (rc != LXW_NO_ERROR)
        throw Error(QStringLiteral("%1 yazılamadı: %2").arg(path, QString::fromUtf8(lxw_strerror(rc))));
    return true;
}

} // namespace tk::reports
