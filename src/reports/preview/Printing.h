#pragma once
// Printing prepared pages: the print dialog, the chosen range, and each page
// on its own paper and orientation.
#include "reports/engine/PreparedReport.h"
#include "reports/export/Export.h"

class QPrinter;
class QWidget;

namespace tk::reports {

// Draws `pages` on `printer`, honouring copies and collation when the printer
// does not do them itself. False when `progress` stopped it.
bool printPages(QPrinter &printer, const PreparedReport &report, const std::vector<int> &pages,
                const ExportProgress &progress = {});
// The pages the print dialog chose: all, the current one, or "1,3,5-12".
std::vector<int> chosenPages(const QPrinter &printer, int pageCount, int currentPage);
// The whole print path: no printer → "Hata" box; the dialog; the progress window.
void printWithDialog(QWidget *parent, const PreparedReport &report, int currentPage);

} // namespace tk::reports
