#pragma once
// A record list taken out to a file: every row of its dataset (not only the
// rows on screen), with the list's shown columns under their titles.
//   CSV: UTF-8 with a byte-order mark, ";" between fields, CRLF lines, a
//        field quoted when it holds ";", a quote or a line break; amounts
//        and dates in their Turkish display form (1500,5 / 05.01.2024),
//        which Turkish spreadsheets read as numbers and dates; a text that
//        begins like a formula (= + - @) gets a leading apostrophe.
//   xlsx: numbers as numeric cells, dates as date cells, the titles bold.
// The progress callback is told the rows written so far and returns false to
// stop; a stopped export returns false and leaves no file behind. Failures
// are tk::Error naming the file.
#include "data/Dataset.h"

#include <QString>
#include <QVector>
#include <functional>

namespace tk::reports {

struct ListColumn {
    QString field;
    QString title;
};

using RowProgress = std::function<bool(int rowsWritten)>;

// One CSV field, quoted where it must be.
QString csvField(const QString &text);

bool exportListCsv(const Dataset &dataset, const QVector<ListColumn> &columns, const QString &path,
                   const RowProgress &progress = {});
bool exportListXlsx(const Dataset &dataset, const QVector<ListColumn> &columns, const QString &path,
                    const RowProgress &progress = {});

} // namespace tk::reports
