#pragma once
// The right-button menu of every record list: the list taken out to a CSV or
// an Excel file, with a progress window for long lists.
#include "controls/TSrDBGrid.h"
#include "reports/export/ListExport.h"

namespace tk {

// The list's shown columns in their shown order, with their titles.
QVector<reports::ListColumn> shownColumns(const TSrDBGrid *grid);

// Gives `grid` the actions "CSV olarak kaydet..." (objectName "ListCsvExport")
// and "Excel dosyası olarak kaydet..." ("ListXlsxExport") as its menu.
void attachListMenu(TSrDBGrid *grid);

} // namespace tk
