#pragma once
// Draws prepared pages with QPainter onto any device: the preview, a printer,
// an image for JPEG export, a PDF writer. All of them draw through this one
// class, so what is printed or exported is what the preview shows.
#include "reports/engine/PreparedReport.h"

#include <QFont>
#include <QFontMetricsF>
#include <QRawFont>
#include <QRectF>
#include <QStringList>
#include <memory>
#include <vector>

class QPainter;

namespace tk::reports {

class TextFitter;

class Renderer {
public:
    explicit Renderer(const PreparedReport &report);

    // Draws page `index` so that the whole sheet of paper fills `paperRect`
    // (device coordinates). `pageCount` replaces the page-count placeholder;
    // -1 takes the report's page count. `highlight` marks one item (find).
    void drawPage(QPainter &painter, int index, const QRectF &paperRect,
                  int pageCount = -1, int highlight = -1);

    // The lines a memo item's text breaks into at its width: at blanks; a
    // word wider than the text box alone on its line, cut at the cell's edge
    // unless it is a number the cell can hold whole.
    QStringList breakLines(const PreparedItem &item, const QString &text);
    const QFont &font(int style);
    // The advance of a one-line text in a style, in page units.
    double textWidth(int style, QStringView text);
    // The height of a line of text in a style, in page units.
    double lineHeight(int style) { return cache(style).metrics.height(); }

private:
    struct StyleCache {
        bool ready = false;
        QFont font;
        QFontMetricsF metrics{QFont()};
        QRawFont raw; // glyphs without shaping for the common one-line cell
        std::shared_ptr<TextFitter> fitter;
    };
    StyleCache &cache(int style);
    static double lineLeft(const ItemStyle &s, const QRectF &box, const QRectF &inner, double lineWidth);
    void drawText(QPainter &p, const PreparedItem &item, const QString &text, bool highlight);

    const PreparedReport &m_report;
    std::vector<StyleCache> m_cache;
};

// The report font family: "Arial" is served by the metric-compatible
// Liberation Sans when the system has no Arial.
QString resolveFontFamily(const QString &family);

} // namespace tk::reports
