#include "bench_reports.h"
#include "bench_figures.h"

#include "app/TForm1.h"
#include "data/DataModule.h"
#include "data/Dataset.h"
#include "pages/PrintButtons.h"
#include "pages/RecordPage.h"
#include "reports/Report.h"
#include "reports/engine/Layout.h"
#include "reports/engine/PageRange.h"
#include "reports/export/Export.h"
#include "reports/preview/PageView.h"
#include "reports/preview/PreviewWindow.h"
#include "reports/render/Renderer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace tk;
using namespace tk::reports;

namespace {

double ms(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

void row(const QString &what, const Figure &f, const char *unit)
{
    std::printf("| %-56s | %11.2f | %11.2f | %11.2f | %-8s |\n", what.toUtf8().constData(), f.median, f.min, f.max,
                unit);
    std::fflush(stdout);
}

// The page widget that holds a print button, as the print procedure looks its boxes up.
QWidget *pageOfButton(TForm1 &form, const char *button)
{
    for (QWidget *w = form.findChild<QAbstractButton *>(QLatin1String(button)); w; w = w->parentWidget())
        if (qobject_cast<RecordPage *>(w))
            return w;
    return &form;
}

// Time from the start of the layout in the real preview window (offscreen)
// until page 1 has been painted in it. The window's own 50 ms start delay is
// not counted: the layout is started at once.
double firstPreviewPage(Report &report)
{
    PreviewWindow window(report);
    window.resize(1200, 900);
    window.show();
    QApplication::processEvents();
    bool painted = false;
    double at = 0;
    QElapsedTimer t;
    QObject::connect(window.pageView(), &PageView::pagePainted, &window, [&](int page) {
        if (page == 0 && !painted) {
            painted = true;
            at = ms(t);
        }
    });
    t.start();
    window.startLayout();
    while (!painted && t.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    window.stopWork();
    while (window.isBusy())
        QApplication::processEvents(QEventLoop::AllEvents, 1);
    window.close();
    return at;
}

void benchReport(const QString &title, Report &report, int runs, QTemporaryDir &dir)
{
    std::printf("\n%s\n", title.toUtf8().constData());
    std::printf("| %-56s | %11s | %11s | %11s | %-8s |\n", "measure", "median", "min", "max", "unit");
    std::printf("|%s|%s|%s|%s|%s|\n", QByteArray(58, '-').constData(), QByteArray(13, '-').constData(),
                QByteArray(13, '-').constData(), QByteArray(13, '-').constData(), QByteArray(10, '-').constData());

    int pages = 0;
    size_t cells = 0;
    double memory = 0;
    const Figure layout = sample(runs, [&] {
        QElapsedTimer t;
        t.start();
        LayoutRun run(report.tmpl(), report.prepared(), report.datasets());
        run.runAll();
        const double elapsed = ms(t);
        pages = report.prepared().pageCount();
        cells = 0;
        for (const PreparedItem &item : report.prepared().items())
            cells += item.kind == CellKind::Memo || item.kind == CellKind::SystemMemo;
        memory = double(report.prepared().memoryBytes());
        return elapsed;
    });
    std::printf("| %-56s | %11d | %11s | %11s | %-8s |\n", "pages", pages, "", "", "");
    std::printf("| %-56s | %11zu | %11s | %11s | %-8s |\n", "text cells", cells, "", "", "");
    row(QStringLiteral("layout, whole report"), layout, "ms");
    row(QStringLiteral("layout per text cell"),
        {layout.median * 1000 / double(cells), layout.min * 1000 / double(cells), layout.max * 1000 / double(cells)},
        "µs");
    const double perPage = memory / 1024.0 / pages;
    row(QStringLiteral("prepared report memory per page"), {perPage, perPage, perPage}, "KB");

    row(QStringLiteral("first page painted in the preview window"), sample(runs, [&] { return firstPreviewPage(report); }),
        "ms");
    // The preview left the report with the pages laid out before it stopped: lay it out whole again.
    LayoutRun(report.tmpl(), report.prepared(), report.datasets()).runAll();

    const PreparedReport &prepared = report.prepared();
    const int drawn = std::min(pages, 300);
    row(QStringLiteral("pages drawn at 96 dpi (%1 pages)").arg(drawn), sample(runs, [&] {
            Renderer renderer(prepared);
            const PageSetup &s = prepared.setup(0);
            QImage image(qRound(s.paperWidth / 25.4 * 96), qRound(s.paperHeight / 25.4 * 96),
                         QImage::Format_ARGB32_Premultiplied);
            QElapsedTimer t;
            t.start();
            for (int i = 0; i < drawn; ++i) {
                image.fill(Qt::white);
                QPainter p(&image);
                p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
                renderer.drawPage(p, i, QRectF(QPointF(), QSizeF(image.size())));
            }
            return drawn * 1000.0 / ms(t);
        }),
        "pages/s");

    // Exports of the first pages (all pages when fewer): a rate per page and the bytes a page.
    const auto exportRows = [&](const char *name, int count, const std::function<QStringList(const std::vector<int> &)> &write) {
        const std::vector<int> list = allPages(count);
        double bytes = 0;
        const Figure rate = sample(runs, [&] {
            QElapsedTimer t;
            t.start();
            const QStringList files = write(list);
            const double elapsed = ms(t);
            bytes = 0;
            for (const QString &f : files)
                bytes += double(QFileInfo(f).size());
            return count * 1000.0 / elapsed;
        });
        row(QStringLiteral("%1 (%2 pages)").arg(QLatin1String(name)).arg(count), rate, "pages/s");
        const double perPage = bytes / count / 1024.0;
        row(QStringLiteral("  %1 size per page").arg(QLatin1String(name)), {perPage, perPage, perPage}, "KB");
    };
    const int exported = std::min(pages, 300);
    exportRows("PDF", exported, [&](const std::vector<int> &l) {
        const QString f = dir.filePath(QStringLiteral("r.pdf"));
        exportPdf(prepared, l, f);
        return QStringList{f};
    });
    exportRows("RTF", exported, [&](const std::vector<int> &l) {
        const QString f = dir.filePath(QStringLiteral("r.rtf"));
        exportRtf(prepared, l, f);
        return QStringList{f};
    });
    exportRows("xlsx", exported, [&](const std::vector<int> &l) {
        const QString f = dir.filePath(QStringLiteral("r.xlsx"));
        exportXlsx(prepared, l, f);
        return QStringList{f};
    });
    exportRows("JPEG", std::min(pages, 100),
               [&](const std::vector<int> &l) { return exportJpeg(prepared, l, dir.filePath(QStringLiteral("s.jpg"))); });
}

} // namespace

void runReportBenchmarks(TForm1 &form, int runs)
{
    QTemporaryDir dir;
    PrintButtons *buttons = PrintButtons::of(&form, PageContext{});
    DataModule *data = form.data();
    const int stockRows = data->dataset(QStringLiteral("Stok"))->rowCount();

    std::printf("\nReports on the benchmark rows, %d runs each (exports of at most 300 pages, JPEG 100)\n", runs);

    Report &stock = buttons->fill(QStringLiteral("BitBtn11"), pageOfButton(form, "BitBtn11"));
    benchReport(QStringLiteral("Stock list RpStok, %1 rows").arg(stockRows), stock, runs, dir);

    // The same list on its first 100 rows: the first page should come as fast.
    {
        Dataset first100(data->connection(), QStringLiteral("Stok"), QStringLiteral("Stok"),
                         QStringLiteral("SELECT * FROM Stok ORDER BY SiraNo LIMIT 100"));
        first100.open();
        Report small(QStringLiteral("RpStok"));
        small.setDataset(QStringLiteral("DBStok"), &first100);
        small.setCellText(QStringLiteral("Memo1"), stock.tmpl().findCell(QStringLiteral("Memo1"))->text);
        std::printf("\nStock list RpStok, first 100 rows\n");
        row(QStringLiteral("first page painted in the preview window"),
            sample(runs, [&] { return firstPreviewPage(small); }), "ms");
    }

    // The cash book of the first period and the service form of the first job, as their buttons fill them.
    form.showPage(0);
    Report &cash = buttons->fill(QStringLiteral("BitBtn7"), pageOfButton(form, "BitBtn7"));
    benchReport(QStringLiteral("Cash book RpKasa, one period (%1 entries)")
                    .arg(data->dataset(QStringLiteral("Kasa1"))->rowCount()),
                cash, runs, dir);
    Report &service = buttons->fill(QStringLiteral("BitBtn3"), pageOfButton(form, "BitBtn3"));
    benchReport(QStringLiteral("Service form RpMusTakip, one job (%1 operations)")
                    .arg(data->dataset(QStringLiteral("MusTakip1"))->rowCount()),
                service, runs, dir);
}
