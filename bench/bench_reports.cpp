#include "bench_reports.h"

#include "data/Connection.h"
#include "data/Dataset.h"
#include "reports/engine/Layout.h"
#include "reports/engine/PageRange.h"
#include "reports/engine/TemplateLoader.h"
#include "reports/export/Export.h"
#include "reports/render/Renderer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>

using namespace tk;
using namespace tk::reports;

namespace {

// A stock list like the program's own: A4 landscape, 5 mm rows of six boxed cells.
const char *kStockTemplate = R"({
  "name": "RpBenchStock", "page": { "orientation": "landscape", "margins": [20, 20, 20, 15] },
  "links": [ { "name": "DBStok", "dataset": "Stok" } ],
  "bands": [
    { "name": "ReportTitle1", "kind": "ReportTitle", "top": 0, "height": 14, "cells": [
      { "name": "Memo1", "left": 0, "top": 0, "width": 257, "height": 9, "align": "center", "text": "YEDEK PARÇA LİSTESİ", "font": { "size": 21.75, "bold": true } },
      { "name": "Line1", "kind": "line", "left": 0, "top": 9, "width": 256 } ] },
    { "name": "Header1", "kind": "Header", "top": 20, "height": 6, "cells": [
      { "name": "Memo6", "left": 0, "top": 1, "width": 44, "height": 5, "text": "STOK KODU", "frame": "box", "inset": [5, 2], "font": { "bold": true } },
      { "name": "Memo7", "left": 44, "top": 1, "width": 122, "height": 5, "text": "STOK ADI", "frame": "box", "inset": [5, 2], "font": { "bold": true } },
      { "name": "Memo2", "left": 166, "top": 1, "width": 12, "height": 5, "text": "ADET", "align": "right", "frame": "box", "inset": [5, 2], "font": { "bold": true } },
      { "name": "Memo4", "left": 178, "top": 1, "width": 27, "height": 5, "text": "RAF NO", "frame": "box", "inset": [5, 2], "font": { "bold": true } },
      { "name": "Memo8", "left": 205, "top": 1, "width": 26, "height": 5, "text": "ALIŞ FİYATI", "align": "right", "frame": "box", "inset": [7, 2], "font": { "bold": true } },
      { "name": "Memo14", "left": 231, "top": 1, "width": 26, "height": 5, "text": "SATIŞ FİYATI", "align": "right", "frame": "box", "inset": [7, 2], "font": { "bold": true } } ] },
    { "name": "MasterData1", "kind": "MasterData", "top": 30, "height": 5, "link": "DBStok", "cells": [
      { "name": "Memo9", "left": 0, "top": 0, "width": 44, "height": 5, "link": "DBStok", "field": "StokKodu", "frame": "box", "inset": [5, 2], "font": { "size": 9 } },
      { "name": "Memo10", "left": 44, "top": 0, "width": 122, "height": 5, "link": "DBStok", "field": "StokAdi", "frame": "box", "inset": [5, 2], "font": { "size": 9 } },
      { "name": "Memo12", "left": 166, "top": 0, "width": 12, "height": 5, "link": "DBStok", "field": "Adet", "align": "right", "frame": "box", "inset": [5, 2], "font": { "size": 9 } },
      { "name": "Memo13", "left": 178, "top": 0, "width": 27, "height": 5, "link": "DBStok", "field": "Raf", "frame": "box", "inset": [5, 2], "font": { "size": 9 } },
      { "name": "Memo11", "left": 205, "top": 0, "width": 26, "height": 5, "link": "DBStok", "field": "Alis", "format": "%2.2n TL", "align": "right", "frame": "box", "inset": [7, 2], "font": { "size": 9 } },
      { "name": "Memo15", "left": 231, "top": 0, "width": 26, "height": 5, "link": "DBStok", "field": "Satis", "format": "%2.2n TL", "align": "right", "frame": "box", "inset": [7, 2], "font": { "size": 9 } } ] },
    { "name": "PageFooter1", "kind": "PageFooter", "top": 60, "height": 4, "cells": [
      { "name": "SysMemo1", "kind": "sysmemo", "left": 231, "top": 0, "width": 25, "height": 4, "text": "Sayfa: [PAGE#] / [TOTALPAGES#]", "align": "right", "font": { "size": 8.25 } },
      { "name": "Line2", "kind": "line", "left": 0, "top": 3, "width": 236, "color": "grey" } ] } ] })";

void fillStock(const QString &path, int rows)
{
    sqlite3 *db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db, "CREATE TABLE Stok (SiraNo INTEGER PRIMARY KEY AUTOINCREMENT, StokKodu TEXT, StokAdi TEXT, "
                     "Adet INTEGER, Raf TEXT, Alis REAL, Satis REAL); BEGIN;", nullptr, nullptr, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Stok (StokKodu, StokAdi, Adet, Raf, Alis, Satis) VALUES (?,?,?,?,?,?)", -1,
                       &st, nullptr);
    for (int i = 1; i <= rows; ++i) {
        const QByteArray code = QStringLiteral("STK%1").arg(i, 6, 10, QLatin1Char('0')).toUtf8();
        const QByteArray name = QStringLiteral("ÖN FREN BALATASI TAKIMI %1").arg(i).toUtf8();
        const QByteArray shelf = QStringLiteral("R-%1").arg(i % 40).toUtf8();
        sqlite3_bind_text(st, 1, code.constData(), int(code.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(st, 2, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(st, 3, i % 90);
        sqlite3_bind_text(st, 4, shelf.constData(), int(shelf.size()), SQLITE_TRANSIENT);
        sqlite3_bind_double(st, 5, 100 + (i % 5000) * 1.25);
        sqlite3_bind_double(st, 6, 130 + (i % 5000) * 1.5);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

double ms(const QElapsedTimer &t) { return t.nsecsElapsed() / 1e6; }

void row(const char *what, double value, const char *unit, const char *note = "")
{
    std::printf("  %-44s %12.2f %-12s %s\n", what, value, unit, note);
}

} // namespace

void runReportBenchmarks(int rows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Data.dat"));
    fillStock(path, rows);
    Connection connection(path);
    Dataset stok(&connection, QStringLiteral("Stok"), QStringLiteral("Stok"), QStringLiteral("SELECT * FROM Stok"));
    stok.open();
    const Template tmpl = parseTemplate(kStockTemplate);
    const QHash<QString, Dataset *> datasets{{QStringLiteral("DBStok"), &stok}};

    std::printf("\nReports: stock list, %d rows, A4 landscape, 5 mm rows of six cells\n", rows);

    // Time until the first page is on screen: layout up to its first finished
    // page, then that page drawn at 100 % (the preview's own 50 ms start delay not counted).
    {
        QElapsedTimer t;
        t.start();
        PreparedReport report;
        LayoutRun run(tmpl, report, datasets);
        while (report.finishedPageCount() < 1 && run.step(64) == LayoutRun::Status::Running) {
        }
        QImage screen(1123, 794, QImage::Format_ARGB32_Premultiplied);
        screen.fill(Qt::white);
        QPainter p(&screen);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        Renderer(report).drawPage(p, 0, QRectF(0, 0, 1123, 794));
        p.end();
        row("first page on screen", ms(t), "ms");
    }

    PreparedReport report;
    QElapsedTimer t;
    t.start();
    LayoutRun run(tmpl, report, datasets);
    run.runAll();
    const double layoutMs = ms(t);
    const int pages = report.pageCount();
    row("pages", pages, "");
    row("layout, whole report", layoutMs, "ms");
    row("layout per cell", layoutMs * 1000.0 / (double(rows) * 6), "µs");
    row("prepared report memory per page", report.memoryBytes() / 1024.0 / pages, "KB");

    // Drawing pages as the preview does (96 dpi, antialiased).
    {
        const int n = std::min(pages, 300);
        Renderer renderer(report);
        QImage image(1123, 794, QImage::Format_ARGB32_Premultiplied);
        t.restart();
        for (int i = 0; i < n; ++i) {
            image.fill(Qt::white);
            QPainter p(&image);
            p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            renderer.drawPage(p, i, QRectF(0, 0, 1123, 794));
        }
        const double ours = ms(t);
        row("pages drawn per second", n * 1000.0 / ours, "pages/s");
        // The same texts with a bare QPainter, for scale.
        t.restart();
        QFont font(resolveFontFamily(QStringLiteral("Arial")));
        font.setPixelSize(12);
        for (int i = 0; i < n; ++i) {
            image.fill(Qt::white);
            QPainter p(&image);
            p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
            p.setFont(font);
            const PreparedPage &page = report.page(i);
            for (std::uint32_t k = page.firstItem; k < page.firstItem + page.itemCount; ++k) {
                const PreparedItem &item = report.items()[k];
                p.drawText(QPointF(item.x + 75, item.y + 85), report.text(item).toString());
            }
        }
        row("  bare QPainter drawText, same texts", n * 1000.0 / ms(t), "pages/s",
            "(no frames, no alignment)");
    }

    const auto exportRow = [&](const char *name, int count, const std::function<void(const std::vector<int> &)> &write,
                               const QStringList &files) {
        const std::vector<int> list = allPages(count);
        QElapsedTimer timer;
        timer.start();
        write(list);
        const double elapsed = ms(timer);
        qint64 bytes = 0;
        for (const QString &f : files)
            bytes += QFileInfo(f).size();
        char label[64];
        std::snprintf(label, sizeof label, "%s (%d pages)", name, count);
        row(label, count * 1000.0 / elapsed, "pages/s");
        row("  bytes per page", double(bytes) / count, "B");
    };
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    exportRow("PDF export", pages, [&](const std::vector<int> &l) { exportPdf(report, l, pdf); }, {pdf});
    const QString rtf = dir.filePath(QStringLiteral("r.rtf"));
    exportRow("RTF export", pages, [&](const std::vector<int> &l) { exportRtf(report, l, rtf); }, {rtf});
    const QString xlsx = dir.filePath(QStringLiteral("r.xlsx"));
    exportRow("xlsx export", pages, [&](const std::vector<int> &l) { exportXlsx(report, l, xlsx); }, {xlsx});
    const int jpegPages = std::min(pages, 100);
    QStringList jpegs;
    exportRow("JPEG export", jpegPages,
              [&](const std::vector<int> &l) { jpegs = exportJpeg(report, l, dir.filePath(QStringLiteral("s.jpg"))); },
              [&] {
                  QStringList names;
                  for (int i = 1; i <= jpegPages; ++i)
                      names << dir.filePath(QStringLiteral("s-%1.jpg").arg(i));
                  return names;
              }());
}
