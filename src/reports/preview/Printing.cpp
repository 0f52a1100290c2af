#include "Printing.h"

#include "ProgressWindow.h"
#include "core/Error.h"
#include "core/UiSeam.h"
#include "reports/render/Renderer.h"

#include <QPageRanges>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace tk::reports {

bool printPages(QPrinter &printer, const PreparedReport &report, const std::vector<int> &pages,
                const ExportProgress &progress)
{
    if (pages.empty())
        return true;
    printer.setFullPage(true);
    // Copies the driver cannot make are drawn here, collated or not.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    std::vector<int> order;
    if (printer.collateCopies()) {
        for (int c = 0; c < copies; ++c)
            order.insert(order.end(), pages.begin(), pages.end());
    } else {
        for (int p : pages)
            order.insert(order.end(), size_t(copies), p);
    }
    printer.setPageLayout(pageLayoutFor(report.setup(order.front())));
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(QStringLiteral("Yazıcıya yazılamadı."));
    Renderer renderer(report);
    bool first = true;
    for (int index : order) {
        if (progress && !progress(index + 1)) {
            printer.abort();
            return false;
        }
        if (!first) {
            printer.setPageLayout(pageLayoutFor(report.setup(index)));
            printer.newPage();
        }
        first = false;
        const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
        renderer.drawPage(painter, index, QRectF(0, 0, paper.width(), paper.height()));
    }
    painter.end();
    return true;
}

std::vector<int> chosenPages(const QPrinter &printer, int pageCount, int currentPage)
{
    std::vector<int> pages;
    switch (printer.printRange()) {
    case QPrinter::CurrentPage:
        if (currentPage >= 0 && currentPage < pageCount)
            pages.push_back(currentPage);
        break;
    case QPrinter::PageRange:
        for (const QPageRanges::Range &r : printer.pageRanges().toRangeList())
            for (int p = std::max(1, r.from); p <= std::min(pageCount, r.to); ++p)
                pages.push_back(p - 1);
        break;
    default:
        for (int p = 0; p < pageCount; ++p)
            pages.push_back(p);
    }
    return pages;
}

void printWithDialog(QWidget *parent, const PreparedReport &report, int currentPage)
{
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        ui().error(parent, QStringLiteral("Hata"), QStringLiteral("Bilgisayarınızda kurulu hiçbir yazıcı yok"));
        return;
    }
    if (report.pageCount() == 0)
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(pageLayoutFor(report.setup(0)));
    printer.setCollateCopies(true);
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("Yazdır"));
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage
                      | QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintToFile
                      | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, report.pageCount());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::vector<int> pages = chosenPages(printer, report.pageCount(), currentPage);
    ProgressWindow progress(parent, QStringLiteral("Yazılan sayfa %1"), int(pages.size()));
    guarded(parent, [&] { printPages(printer, report, pages, progress.callback()); });
}

} // namespace tk::reports
