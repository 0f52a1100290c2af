#include "TextFit.h"

namespace tk::reports {

namespace {
constexpr qsizetype kMaxCachedWidths = 200000; // a bound for very long reports of unique texts
}

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

TextFitter::TextFitter(const QFont &font) : m_metrics(font)
{
    m_space = m_metrics.horizontalAdvance(QLatin1Char(' '));
    // Kerning across a blank moves a sum by far less than a quarter of the em.
    m_tolerance = std::max(0.5, m_metrics.height() * 0.25);
}

double TextFitter::width(const QString &text)
{
    auto it = m_widths.constFind(text);
    if (it != m_widths.constEnd())
        return *it;
    if (m_widths.size() >= kMaxCachedWidths)
        m_widths.clear();
    const double w = m_metrics.horizontalAdvance(text);
    m_widths.insert(text, w);
    return w;
}

std::vector<FittedLine> TextFitter::fit(const QString &text, double cellWidth, double inset, bool wordWrap)
{
    std::vector<FittedLine> lines;
    const double room = cellWidth - 2 * inset;
    qsizetype start = 0;
    while (true) {
        const qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        const QString paragraph = text.mid(start, end < 0 ? -1 : end - start);
        const double w = width(paragraph);
        if (!wordWrap || w <= room)
            lines.push_back({paragraph, w});
        else
            fitParagraph(paragraph, room, cellWidth, inset, lines);
        if (end < 0)
            break;
        start = end + 1;
    }
    return lines;
}

// Greedy: each word joins the line while the line stays within the room.
// The line's width is the sum of its words and blanks; only a sum close to
// the room is checked by measuring the candidate line whole.
void TextFitter::fitParagraph(const QString &paragraph, double room, double cellWidth, double inset,
                              std::vector<FittedLine> &lines)
{
    const size_t before = lines.size();
    QString line;
    double lineWidth = 0;
    qsizetype start = 0;
    while (true) {
        const qsizetype end = paragraph.indexOf(QLatin1Char(' '), start);
        const QString word = paragraph.mid(start, end < 0 ? -1 : end - start);
        const double wordWidth = width(word);
        if (line.isEmpty() && wordWidth <= room) {
            line = word;
            lineWidth = wordWidth;
        } else {
            bool fits = false;
            double candidateWidth = lineWidth + m_space + wordWidth;
            if (!line.isEmpty()) {
                if (std::abs(candidateWidth - room) <= m_tolerance)
                    candidateWidth = m_metrics.horizontalAdvance(line + QLatin1Char(' ') + word);
                fits = candidateWidth <= room;
            }
            if (fits) {
                line += QLatin1Char(' ');
                line += word;
                lineWidth = candidateWidth;
            } else {
                if (!line.isEmpty())
                    lines.push_back({line, lineWidth});
                line.clear();
                lineWidth = 0;
                if (wordWidth <= room) {
                    line = word;
                    lineWidth = wordWidth;
                } else {
                    lines.push_back(overWideWord(word, wordWidth, cellWidth, inset));
                }
            }
        }
        if (end < 0)
            break;
        start = end + 1;
    }
    if (!line.isEmpty() || lines.size() == before)
        lines.push_back({line, lineWidth});
}

// A word wider than the text box stands alone on its line and is not carried
// on: a number the whole cell can hold is kept whole (it is drawn into the
// inset), anything else is cut after the last character that ends before the
// cell's right edge, found by halving.
FittedLine TextFitter::overWideWord(const QString &word, double wordWidth, double cellWidth, double inset)
{
    if (isNumberWord(word) && wordWidth <= cellWidth)
        return {word, wordWidth};
    const double room = cellWidth - inset; // from the text's left edge to the cell's
    qsizetype lo = 1, hi = word.size(); // the longest prefix that fits (at least one character)
    while (lo < hi) {
        const qsizetype mid = (lo + hi + 1) / 2;
        if (m_metrics.horizontalAdvance(word.left(mid)) <= room)
            lo = mid;
        else
            hi = mid - 1;
    }
    const QString cut = word.left(lo);
    return {cut, m_metrics.horizontalAdvance(cut)};
}

} // namespace tk::reports
