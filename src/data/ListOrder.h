#pragma once
// The order a record list is sorted in when its column title is clicked:
// which ORDER BY term sorts a column of each kind, what the next click does,
// and how a statement takes that term in place of its own ORDER BY.
#include "Field.h"

#include <QString>

namespace tk {

// The title clicked last and its direction; column -1: the statement's own order.
struct HeaderSort {
    int column = -1;
    Qt::SortOrder order = Qt::AscendingOrder;
};

// A first click sorts up, a second click on the same title down, and so on.
HeaderSort nextHeaderSort(const HeaderSort &current, int clickedColumn);

// The ORDER BY term for `column` of `kind`: text in Turkish alphabetical
// order, numbers and dates by their value (dates are stored as ISO text, so
// their text order is their date order).
QString headerSortTerm(const QString &column, FieldKind kind, Qt::SortOrder order);

// `statement` with its ORDER BY clause replaced by `term` (added when it has
// none); an empty term gives the statement as it is.
QString withOrderBy(const QString &statement, const QString &term);

} // namespace tk
