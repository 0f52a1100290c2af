#include "ListExport.h"
#include "StagedWorkbook.h"

#include "core/Error.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <xlsxwriter.h>

namespace tk::reports {

namespace {

// Rows between two calls of the progress callback.
constexpr int kProgressStep = 256;

struct Source {
    int field; // dataset column, -1 when the dataset has no such field
    FieldKind kind;
};

QVector<Source> sourcesOf(const Dataset &dataset, const QVector<ListColumn> &columns)
{
    QVector<Source> sources;
    for (const ListColumn &c : columns) {
        const int i = dataset.fieldIndex(c.field);
        sources.append({i, i < 0 ? FieldKind::Text : dataset.fields()[i].kind});
    }
    return sources;
}

bool reportProgress(const RowProgress &progress, int row, int rows)
{
    if (!progress || (row % kProgressStep != 0 && row != rows))
        return true;
    return progress(row);
}

void checked(lxw_error rc, const QString &path)
{
    if (rc != LXW_NO_ERROR)
        throw writeFailure(path, QString::fromUtf8(lxw_strerror(rc)));
}

// A spreadsheet opening the CSV runs a cell that begins with "=", "+", "-" or
// "@" (or a tab or carriage return before one) as a formula: a name, a shelf
// or a telephone number typed like that would be computed, or run a link.
// Such a text gets a leading apostrophe, which spreadsheets read as "text";
// an amount or count (-2,25) stays a number.
QString spreadsheetText(const QString &text)
{
    static const QString starters = QStringLiteral("=+-@\t\r");
    static const QRegularExpression number(QStringLiteral("^-\\d+(,\\d+)?$"));
    if (text.isEmpty() || !starters.contains(text.front()) || number.match(text).hasMatch())
        return text;
    return QLatin1Char('\'') + text;
}

} // namespace

QString csvField(const QString &text)
{
    static const QString special = QStringLiteral(";\"\r\n");
    bool quote = false;
    for (const QChar c : text)
        quote = quote || special.contains(c);
    if (!quote)
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

bool exportListCsv(const Dataset &dataset, const QVector<ListColumn> &columns, const QString &path,
                   const RowProgress &progress)
{
    const QVector<Source> sources = sourcesOf(dataset, columns);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw writeFailure(path, file.errorString());

    const auto line = [&file](const QStringList &fields) {
        file.write((fields.join(QLatin1Char(';')) + QStringLiteral("\r\n")).toUtf8());
    };
    file.write("\xEF\xBB\xBF");
    QStringList fields;
    for (const ListColumn &c : columns)
        fields << csvField(c.title);
    line(fields);

    const int rows = dataset.rowCount();
    for (int row = 0; row < rows; ++row) {
        fields.clear();
        for (const Source &s : sources)
            fields << csvField(s.field < 0 ? QString() : spreadsheetText(dataset.textAt(row, s.field)));
        line(fields);
        if (!reportProgress(progress, row + 1, rows)) {
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit())
        throw writeFailure(path, file.errorString());
    return true;
}

bool exportListXlsx(const Dataset &dataset, const QVector<ListColumn> &columns, const QString &path,
                    const RowProgress &progress)
{
    const QVector<Source> sources = sourcesOf(dataset, columns);
    StagedWorkbook wb(path);
    lxw_worksheet *sheet = workbook_add_worksheet(wb.book(), nullptr);
    lxw_format *bold = workbook_add_format(wb.book());
    format_set_bold(bold);
    lxw_format *date = workbook_add_format(wb.book());
    format_set_num_format(date, "dd.mm.yyyy");

    for (int c = 0; c < columns.size(); ++c) {
        checked(worksheet_write_string(sheet, 0, lxw_col_t(c), columns[c].title.toUtf8().constData(), bold), path);
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c),
                             sources[c].kind == FieldKind::Date ? 12 : std::max<double>(10, columns[c].title.size() + 2),
                             nullptr);
    }

    const int rows = dataset.rowCount();
    for (int row = 0; row < rows; ++row) {
        const auto sheetRow = lxw_row_t(row + 1);
        for (int c = 0; c < sources.size(); ++c) {
            const Source &s = sources[c];
            if (s.field < 0)
                continue;
            const QVariant v = dataset.valueAt(row, s.field);
            if (v.isNull())
                continue;
            const auto col = lxw_col_t(c);
            switch (s.kind) {
            case FieldKind::Integer:
            case FieldKind::Real: {
                bool ok = false;
                const double number = v.toDouble(&ok);
                if (ok) {
                    checked(worksheet_write_number(sheet, sheetRow, col, number, nullptr), path);
                    continue;
                }
                break;
            }
            case FieldKind::Date: {
                const QDate d = v.toDate();
                if (d.isValid()) {
                    lxw_datetime when = {d.year(), d.month(), d.day(), 0, 0, 0};
                    checked(worksheet_write_datetime(sheet, sheetRow, col, &when, date), path);
                    continue;
                }
                break;
            }
            default:
                break;
            }
            checked(worksheet_write_string(sheet, sheetRow, col, dataset.textAt(row, s.field).toUtf8().constData(),
                                           nullptr),
                    path);
        }
        if (!reportProgress(progress, row + 1, rows))
            return false; // the workbook's temporary file goes with it
    }
    wb.commit();
    return true;
}

} // namespace tk::reports
