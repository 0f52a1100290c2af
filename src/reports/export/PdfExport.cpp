#include "Export.h"

#include "core/Error.h"
#include "reports/render/Renderer.h"

#include <QSaveFile>
#include <QPainter>
#include <QPdfWriter>

namespace tk::reports {

QPageLayout pageLayoutFor(const PageSetup &setup)
{
    const bool a4 = (qFuzzyCompare(setup.paperWidth, 210.0) && qFuzzyCompare(setup.paperHeight, 297.0))
                 || (qFuzzyCompare(setup.paperWidth, 297.0) && qFuzzyCompare(setup.paperHeight, 210.0));
    const bool landscape = setup.paperWidth > setup.paperHeight;
    const QPageSize size = a4 ? QPageSize(QPageSize::A4)
                              : QPageSize(QSizeF(std::min(setup.paperWidth, setup.paperHeight),
                                                 std::max(setup.paperWidth, setup.paperHeight)),
                                          QPageSize::Millimeter);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(),
                       QPageLayout::Millimeter);
}

bool exportPdf(const PreparedReport &report, const std::vector<int> &pages, const QString &path,
               const ExportProgress &progress)
{
    if (pages.empty())
        return true;
    // Committed only when whole: a stopped export keeps the file it would replace.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("%1 yazılamadı: %2").arg(path, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Tekvanis"));
        writer.setResolution(600);
        writer.setPageLayout(pageLayoutFor(report.setup(pages.front())));
        QPainter painter;
        if (!painter.begin(&writer))
            throw Error(QStringLiteral("%1 yazılamadı.").arg(path));
        Renderer renderer(report);
        bool first = true;
        for (int index : pages) {
            if (progress && !progress(index + 1))
                return false;
            if (!first) {
                writer.setPageLayout(pageLayoutFor(report.setup(index)));
                writer.newPage();
            }
            first = false;
            const QRectF paper(0, 0, writer.width(), writer.height());
            renderer.drawPage(painter, index, paper);
        }
        painter.end();
    }
    if (!file.commit())
        throw Error(QStringLiteral("%1 yazılamadı: %2").arg(path, file.errorString()));
    return true;
}

} // namespace tk::reports
