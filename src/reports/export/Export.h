#pragma once
// Writers of prepared reports: PDF, JPEG images, RTF and spreadsheet files.
// Each takes the pages to write (0-based) and a progress callback that is
// told the 1-based page number being written and returns false to stop.
// Failures are tk::Error; a stopped export returns false and leaves no
// half-written file behind.
#include "reports/engine/PreparedReport.h"

#include <QPageLayout>
#include <QStringList>
#include <functional>
#include <vector>

namespace tk::reports {

using ExportProgress = std::function<bool(int pageNumber)>;

// The page layout of a prepared page on a printer or PDF (whole sheet, no margins:
// the report's own margins are part of the drawing).
QPageLayout pageLayoutFor(const PageSetup &setup);

bool exportPdf(const PreparedReport &report, const std::vector<int> &pages, const QString &path,
               const ExportProgress &progress = {});

// One file per page: "name.jpg" gives name-1.jpg, name-2.jpg, … (numbered by
// the report's page number). Returns the files written; empty when stopped.
struct JpegOptions {
    int quality = 90;
    int dpi = 96;
    bool crop = false;       // only the printable area, without the margins
    bool monochrome = false; // grey levels instead of colour
};
// The file exportJpeg writes for the 0-based page `pageIndex`.
QString jpegFileName(const QString &path, int pageIndex);
QStringList exportJpeg(const PreparedReport &report, const std::vector<int> &pages, const QString &path,
                       const JpegOptions &options = {}, const ExportProgress &progress = {});

bool exportRtf(const PreparedReport &report, const std::vector<int> &pages, const QString &path,
               const ExportProgress &progress = {});

// One sheet row per text row of the pages; cells showing numbers are written as numbers.
bool exportXlsx(const PreparedReport &report, const std::vector<int> &pages, const QString &path,
                const ExportProgress &progress = {});

// Encodes an RGB image with libjpeg at `quality` and `dpi`; throws tk::Error.
void writeJpeg(const class QImage &image, const QString &path, int quality, int dpi);

} // namespace tk::reports
