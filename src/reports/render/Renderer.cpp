#include "Renderer.h"

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
        if (!s.underline)
            c.raw = QRawFont::fromFont(c.font);
        c.ready = true;
    }
    return c;
}

const QFont &Renderer::font(int style) { return cache(style).font; }

double Renderer::textWidth(int style, QStringView text) { return cache(style).metrics.horizontalAdvance(text.toString()); }

namespace {

// "114,19", "-1.234,50", "%18": a word that shows a number.
bool isNumberWord(QStringView word)
{
    bool digit = false;
    for (QChar c : word) {
        if (c.isDigit())
            digit = true;
        else if (c != u',' && c != u'.' && c != u'-' && c != u'+' && c != u'%')
            return false;
    }
    return digit;
}

} // namespace

QStringList Renderer::breakLines(const PreparedItem &item, const QString &text)
{
    const ItemStyle &s = m_report.styles()[item.style];
    const QFontMetricsF &fm = cache(item.style).metrics;
    const double width = item.w - 2 * s.gapX;
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        if (!s.wordWrap || fm.horizontalAdvance(paragraph) <= width) {
            lines << paragraph;
            continue;
        }
        const qsizetype before = lines.size();
        QString line;
        const QStringList words = paragraph.split(QLatin1Char(' '));
        for (const QString &word : words) {
            const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (fm.horizontalAdvance(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty()) {
                lines << line;
                line.clear();
            }
            if (fm.horizontalAdvance(word) <= width) {
                line = word;
                continue;
            }
            lines << overWideWord(fm, word, s, item.w);
        }
        if (!line.isEmpty() || lines.size() == before)
            lines << line;
    }
    return lines;
}

// A word wider than the text box stands alone on its line and is not carried
// on: a number that the whole cell can hold is kept whole (drawn into the
// inset), anything else is cut after the last character that ends before the
// cell's right edge.
QString Renderer::overWideWord(const QFontMetricsF &fm, const QString &word, const ItemStyle &s, double cellWidth)
{
    if (isNumberWord(word) && fm.horizontalAdvance(word) <= cellWidth)
        return word;
    const double room = cellWidth - s.gapX; // from the text's left edge to the cell's
    qsizetype fit = 1;
    while (fit < word.size() && fm.horizontalAdvance(word.left(fit + 1)) <= room)
        ++fit;
    return word.left(fit);
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
            if (width <= inner.width() + 0.01 && inner.top() + lineHeight <= box.bottom() + 0.01) {
                double x = inner.left();
                if (s.align != Align::Left)
                    x += s.align == Align::Right ? inner.width() - width : (inner.width() - width) / 2;
                QGlyphRun run;
                run.setRawFont(c.raw);
                run.setGlyphIndexes(glyphs);
                run.setPositions(positions);
                p.drawGlyphRun(QPointF(x, inner.top() + fm.ascent()), run);
                return;
            }
        }
    }
    if (!text.contains(QLatin1Char('\n'))) {
        const double width = fm.horizontalAdvance(text);
        if (width <= inner.width() + 0.01 && inner.top() + lineHeight <= box.bottom() + 0.01) {
            double x = inner.left();
            if (s.align != Align::Left)
                x += s.align == Align::Right ? inner.width() - width : (inner.width() - width) / 2;
            p.drawText(QPointF(x, inner.top() + fm.ascent()), text);
            return;
        }
    }
    const QStringList lines = breakLines(item, text);
    double widest = 0;
    for (const QString &line : lines)
        widest = std::max(widest, fm.horizontalAdvance(line));
    const bool overflows = widest > inner.width() + 0.01
                        || inner.top() + lineHeight * lines.size() > box.bottom() + 0.01;
    const bool clipped = s.clip && overflows;
    if (clipped) {
        p.save();
        p.setClipRect(box, Qt::IntersectClip);
    }
    double top = inner.top();
    for (const QString &line : lines) {
        if (s.clip && top >= box.bottom())
            break;
        const double x = lineLeft(s, box, inner, fm.horizontalAdvance(line));
        p.drawText(QPointF(x, top + fm.ascent()), line);
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
