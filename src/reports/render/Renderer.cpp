#include "Renderer.h"

#include "TextFit.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QPainter>

namespace tk::reports {

QString resolveFontFamily(const QString &family)
{
    static const bool hasArial = QFontDatabase::families().contains(QStringLiteral("Arial"));
    if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0 && !hasArial)
        return QStringLiteral("Liberation Sans");
    return family;
}

Renderer::Renderer(const PreparedReport &report) : m_report(report) {}

Renderer::StyleCache &Renderer::cache(int style)
{
    if (m_cache.size() < m_report.styles().size())
        m_cache.resize(m_report.styles().size());
    StyleCache &c = m_cache[size_t(style)];
    if (!c.ready) {
        const ItemStyle &s = m_report.styles()[size_t(style)];
        // Sizes are in the page's own units; the painter's scale does the rest.
        // Unhinted metrics keep widths the same at every zoom and on every device.
        c.font = QFont(resolveFontFamily(s.family));
        c.font.setPixelSize(std::max<int>(1, s.sizeUnits));
        c.font.setBold(s.bold);
        c.font.setUnderline(s.underline);
        c.font.setHintingPreference(QFont::PreferNoHinting);
        c.font.setStyleStrategy(QFont::PreferOutline);
        c.metrics = QFontMetricsF(c.font);
        c.fitter = std::make_shared<TextFitter>(c.font);
        if (!s.underline)
            c.raw = QRawFont::fromFont(c.font);
        c.ready = true;
    }
    return c;
}

const QFont &Renderer::font(int style) { return cache(style).font; }

double Renderer::textWidth(int style, QStringView text) { return cache(style).fitter->width(text.toString()); }

QStringList Renderer::breakLines(const PreparedItem &item, const QString &text)
{
    const ItemStyle &s = m_report.styles()[item.style];
    QStringList lines;
    for (FittedLine &line : cache(item.style).fitter->fit(text, item.w, s.gapX, s.wordWrap))
        lines << std::move(line.text);
    return lines;
}

// Where a line of `lineWidth` starts in `box`: aligned in the text box
// `inner`, and a line wider than the text box kept inside the cell.
double Renderer::lineLeft(const ItemStyle &s, const QRectF &box, const QRectF &inner, double lineWidth)
{
    double x = inner.left();
    if (s.align != Align::Left) {
        const double free = inner.width() - lineWidth;
        x += s.align == Align::Right ? free : free / 2;
    }
    if (lineWidth > inner.width() + 0.01)
        x = std::max(box.left(), std::min(x, box.right() - lineWidth));
    return x;
}

void Renderer::drawText(QPainter &p, const PreparedItem &item, const QString &text, bool highlight)
{
    const ItemStyle &s = m_report.styles()[item.style];
    const StyleCache &c = cache(item.style);
    const QRectF box(item.x, item.y, item.w, item.h);
    if (highlight)
        p.fillRect(box, QColor(255, 230, 0));
    if (text.isEmpty())
        return;
    const QRectF inner = box.adjusted(s.gapX, s.gapY, -s.gapX, -s.gapY);
    const QFontMetricsF &fm = c.metrics;
    const double lineHeight = fm.height();
    if (p.font() != c.font)
        p.setFont(c.font);
    const QColor color = QColor::fromRgba(s.color);
    if (p.pen().color() != color || p.pen().style() != Qt::SolidLine)
        p.setPen(color);

    // Most cells hold one line that fits: its glyphs are looked up once and
    // drawn as one run, without the cost of full text shaping.
    if (c.raw.isValid() && !text.contains(QLatin1Char('\n'))) {
        QList<quint32> glyphs = c.raw.glyphIndexesForString(text);
        bool complete = glyphs.size() == text.size();
        for (quint32 g : glyphs)
            complete &= g != 0;
        if (complete) {
            const QList<QPointF> advances = c.raw.advancesForGlyphIndexes(glyphs);
            QList<QPointF> positions(advances.size());
            double width = 0;
            for (qsizetype k = 0; k < advances.size(); ++k) {
                positions[k] = QPointF(width, 0);
                width += advances[k].x();
            }
            const bool fits = width <= inner.width() + 0.01 || (width <= box.width() && isNumberWord(text));
            if (fits && inner.top() + lineHeight <= box.bottom() + 0.01) {
                const double x = lineLeft(s, box, inner, width);
                QGlyphRun run;
                run.setRawFont(c.raw);
                run.setGlyphIndexes(glyphs);
                run.setPositions(positions);
                p.drawGlyphRun(QPointF(x, inner.top() + fm.ascent()), run);
                return;
            }
        }
    }
    std::vector<FittedLine> lines = c.fitter->fit(text, item.w, s.gapX, s.wordWrap);
    double widest = 0;
    for (FittedLine &line : lines) {
        // A line of several words was fitted by adding up its words: aligned
        // to the right or centred, it is placed by its own measure.
        if (s.align != Align::Left && line.text.contains(QLatin1Char(' ')))
            line.width = c.fitter->width(line.text);
        widest = std::max(widest, line.width);
    }
    const bool overflows = widest > inner.width() + 0.01
                        || inner.top() + lineHeight * lines.size() > box.bottom() + 0.01;
    const bool clipped = s.clip && overflows;
    if (clipped) {
        p.save();
        p.setClipRect(box, Qt::IntersectClip);
    }
    double top = inner.top();
    for (const FittedLine &line : lines) {
        if (s.clip && top >= box.bottom())
            break;
        p.drawText(QPointF(lineLeft(s, box, inner, line.width), top + fm.ascent()), line.text);
        top += lineHeight;
    }
    if (clipped)
        p.restore();
}

void Renderer::drawPage(QPainter &p, int index, const QRectF &paperRect, int pageCount, int highlight)
{
    if (index < 0 || index >= m_report.pageCount())
        return;
    if (pageCount < 0)
        pageCount = m_report.pageCount();
    const PageSetup &setup = m_report.setup(index);
    const double scale = paperRect.width() / mmToUnits(setup.paperWidth);
    p.save();
    p.translate(paperRect.topLeft());
    p.scale(scale, scale);
    p.translate(mmToUnits(setup.marginLeft), mmToUnits(setup.marginTop));
    const PreparedPage &page = m_report.page(index);
    const auto &items = m_report.items();
    const std::uint32_t end = page.firstItem + page.itemCount;
    // Pages laid out for wider paper (a page setup after the layout) keep
    // their items: what lies past the paper's edge is not drawn.
    const QRectF paper(-mmToUnits(setup.marginLeft), -mmToUnits(setup.marginTop), mmToUnits(setup.paperWidth),
                       mmToUnits(setup.paperHeight));
    for (std::uint32_t i = page.firstItem; i < end; ++i) {
        const PreparedItem &item = items[i];
        if (item.x + item.w > paper.right() || item.y + item.h > paper.bottom() + 1) {
            p.setClipRect(paper, Qt::IntersectClip);
            break;
        }
    }
    // Texts and rules first, then every frame with one pen: fewer state
    // changes, which is what costs on a PDF or printer device.
    for (std::uint32_t i = page.firstItem; i < end; ++i) {
        const PreparedItem &item = items[i];
        const ItemStyle &s = m_report.styles()[item.style];
        if (item.kind == CellKind::Line) {
            p.fillRect(QRectF(item.x, item.y, item.w, 1.0), QColor::fromRgba(s.color));
        } else if (item.kind != CellKind::Rectangle) {
            const QStringView raw = m_report.text(item);
            const QString text = (item.flags & PreparedItem::HasTotalPages)
                                     ? m_report.finalText(item, pageCount)
                                     : QString::fromRawData(raw.data(), raw.size());
            drawText(p, item, text, int(i) == highlight);
        }
    }
    QPen framePen(Qt::black, 1.0);
    framePen.setJoinStyle(Qt::MiterJoin);
    p.setPen(framePen);
    p.setBrush(Qt::NoBrush);
    for (std::uint32_t i = page.firstItem; i < end; ++i) {
        const PreparedItem &item = items[i];
        const ItemStyle &s = m_report.styles()[item.style];
        if (!s.frame || item.kind == CellKind::Line)
            continue;
        const QRectF box(item.x, item.y, item.w, item.h);
        const QColor color = item.kind == CellKind::Rectangle ? QColor::fromRgba(s.color) : QColor(Qt::black);
        if (p.pen().color() != color) {
            framePen.setColor(color);
            p.setPen(framePen);
        }
        if (s.frame == FrameBox) {
            p.drawRect(box);
            continue;
        }
        if (s.frame & FrameLeft)
            p.drawLine(box.topLeft(), box.bottomLeft());
        if (s.frame & FrameTop)
            p.drawLine(box.topLeft(), box.topRight());
        if (s.frame & FrameRight)
            p.drawLine(box.topRight(), box.bottomRight());
        if (s.frame & FrameBottom)
            p.drawLine(box.bottomLeft(), box.bottomRight());
    }
    p.restore();
}

} // namespace tk::reports
