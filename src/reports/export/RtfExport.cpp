// RTF as seen on screen: every page is a section of its own paper size; the
// page header and page footer bands go into the section's header and footer.
//
// A row of one-line cells side by side (a list's row) is one paragraph with a
// tab stop per cell, and the rows that follow it with the same cells share
// its frame, so a long list costs little more than its texts. Boxed cells get
// their lines from the paragraph's borders and bar tabs; a cell's text there is
// the line the page shows of it. Any other item, and a cell that shows more
// than one line, is a frame of its own at its place.
#include "Export.h"

#include "core/Cp1254.h"
#include "core/Error.h"
#include "reports/render/Renderer.h"

#include <QColor>
#include <QSaveFile>

namespace tk::reports {

namespace {

constexpr int kTwipsPerUnit = 15; // 1440 twips per inch, 96 units per inch

int twips(double units) { return int(std::lround(units * kTwipsPerUnit)); }
int mmTwips(double mm) { return int(std::lround(mm * 1440.0 / 25.4)); }

void appendEscaped(QByteArray &out, QStringView text)
{
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\n') {
            out += "\\line ";
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u < 0x80) {
            out += char(u);
        } else if (const QByteArray b = cp1254::encode(QStringView(&c, 1)); b != "?") {
            static const char hex[] = "0123456789abcdef";
            out += "\\'";
            out += hex[uchar(b.at(0)) >> 4];
            out += hex[uchar(b.at(0)) & 15];
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
}

bool isText(const PreparedItem &i) { return i.kind == CellKind::Memo || i.kind == CellKind::SystemMemo; }

class RtfWriter {
public:
    RtfWriter(const PreparedReport &report) : m_report(report), m_renderer(report)
    {
        m_colors << qRgb(0, 0, 0); // \cf1: black, the colour of every frame
        for (const ItemStyle &s : report.styles()) {
            const QRgb rgb = s.color;
            if (!m_colors.contains(rgb))
                m_colors << rgb;
        }
    }

    QByteArray document(const std::vector<int> &pages, const ExportProgress &progress, bool *completed)
    {
        QByteArray out = "{\\rtf1\\ansi\\ansicpg1254\\deff0{\\fonttbl";
        m_fonts.clear();
        for (const ItemStyle &s : m_report.styles())
            if (!m_fonts.contains(s.family))
                m_fonts << s.family;
        if (m_fonts.isEmpty())
            m_fonts << QStringLiteral("Arial");
        for (int i = 0; i < m_fonts.size(); ++i) {
            out += "{\\f" + QByteArray::number(i) + "\\fswiss\\fcharset162 ";
            appendEscaped(out, m_fonts.at(i));
            out += ";}";
        }
        out += "}{\\colortbl;";
        for (QRgb rgb : m_colors)
            out += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) + "\\blue"
                 + QByteArray::number(qBlue(rgb)) + ';';
        out += "}\n";
        bool first = true;
        for (int index : pages) {
            if (progress && !progress(index + 1)) {
                *completed = false;
                return {};
            }
            if (!first)
                out += "\\sect";
            first = false;
            writePage(out, index);
        }
        out += "}\n";
        *completed = true;
        return out;
    }

private:
    void writePage(QByteArray &out, int index)
    {
        const PageSetup &s = m_report.setup(index);
        out += "\\sectd\\pgwsxn" + QByteArray::number(mmTwips(s.paperWidth)) + "\\pghsxn"
             + QByteArray::number(mmTwips(s.paperHeight)) + (s.landscape ? "\\lndscpsxn" : "")
             + "\\marglsxn" + QByteArray::number(mmTwips(s.marginLeft)) + "\\margrsxn"
             + QByteArray::number(mmTwips(s.marginRight)) + "\\margtsxn" + QByteArray::number(mmTwips(s.marginTop))
             + "\\margbsxn" + QByteArray::number(mmTwips(s.marginBottom)) + "\\headery0\\footery0\n";
        const PreparedPage &page = m_report.page(index);
        const auto inPart = [](const PreparedItem &i, int part) {
            const int p = i.band == BandKind::PageHeader ? 1 : i.band == BandKind::PageFooter ? 2 : 0;
            return p == part;
        };
        for (int part : {1, 2}) {
            out += part == 1 ? "{\\header " : "{\\footer ";
            for (std::uint32_t i = page.firstItem; i < page.firstItem + page.itemCount; ++i)
                if (inPart(m_report.items()[i], part))
                    writeItem(out, m_report.items()[i], s);
            out += "\\pard\\par}\n";
        }
        m_run.clear();
        const auto &items = m_report.items();
        const std::uint32_t end = page.firstItem + page.itemCount;
        std::vector<PreparedItem> row;
        for (std::uint32_t i = page.firstItem; i < end; ++i) {
            const PreparedItem &item = items[i];
            if (!inPart(item, 0))
                continue;
            // The text items of one band row: same top and height, left to right.
            if (!row.empty() && !(isText(item) && item.y == row.front().y && item.h == row.front().h
                                  && item.x >= row.back().x + row.back().w - 0.5f)) {
                writeRow(out, row, s);
                row.clear();
            }
            if (isText(item)) {
                row.push_back(item);
            } else {
                m_run.clear();
                writeItem(out, item, s);
            }
        }
        if (!row.empty())
            writeRow(out, row, s);
        // Cells that could not join their row's paragraph, after all rows so
        // that the rows keep sharing their frames.
        for (const PreparedItem &item : m_ownFrames)
            writeItem(out, item, s, true);
        m_ownFrames.clear();
    }

    // The one line a cell shows, as the page draws it (a wrapped text whose
    // next line falls below the cell shows its first line; an over-wide word
    // shows what the cell's edge leaves of it); false when it shows more or
    // the line would reach past the cell.
    bool shownLine(const PreparedItem &item, const QString &text, QString *line)
    {
        const ItemStyle &s = m_report.styles()[item.style];
        if (!text.contains(u'\n') && m_renderer.textWidth(item.style, text) <= item.w - 2 * s.gapX + 0.01) {
            *line = text;
            return true;
        }
        const double lineHeight = m_renderer.lineHeight(item.style);
        const bool secondShown = s.gapY + 1.5 * lineHeight <= item.h; // at least half of it inside the cell
        const QStringList lines = m_renderer.breakLines(item, text);
        if ((lines.size() > 1 && secondShown) || m_renderer.textWidth(item.style, lines.front()) > item.w)
            return false;
        *line = lines.front();
        return true;
    }

    // A row of text cells: one tabbed paragraph when the cells allow it.
    void writeRow(QByteArray &out, const std::vector<PreparedItem> &row, const PageSetup &setup)
    {
        const ItemStyle &first = m_report.styles()[row.front().style];
        bool tabbed = row.size() > 1;
        for (size_t k = 0; tabbed && k < row.size(); ++k) {
            const ItemStyle &s = m_report.styles()[row[k].style];
            tabbed = s.frame == first.frame && (s.frame == 0 || s.frame == FrameBox) && !s.underline
                  && (k == 0 || s.frame == 0 || std::abs(row[k].x - (row[k - 1].x + row[k - 1].w)) < 0.5f);
        }
        if (!tabbed) {
            m_run.clear();
            for (const PreparedItem &item : row)
                writeItem(out, item, setup);
            return;
        }
        // The row's look: where and how its cells stand. Rows of the same look
        // directly below each other share one frame and its paragraph settings.
        QByteArray look;
        const double x0 = row.front().x;
        for (const PreparedItem &item : row)
            look += QByteArray::number(item.style) + ':' + QByteArray::number(twips(item.x - x0)) + ':'
                  + QByteArray::number(twips(item.w)) + ';';
        const bool continues = !m_run.isEmpty() && look == m_run && std::abs(row.front().y - m_runBottom) < 0.5f;
        if (!continues) {
            m_run = look;
            writeRowFrame(out, row, setup);
        }
        m_runBottom = row.front().y + row.front().h;

        const QByteArray rowLook = charLook(first);
        QString text;
        for (size_t k = 0; k < row.size(); ++k) {
            const PreparedItem &item = row[k];
            const ItemStyle &s = m_report.styles()[item.style];
            if (k > 0 || s.align != Align::Left)
                out += "\\tab ";
            if (!shownLine(item, m_report.finalText(item, m_report.pageCount()), &text)) {
                m_ownFrames.push_back(item); // its lines as in its own box
                continue;
            }
            const QByteArray look = charLook(s);
            const bool ownLook = look != rowLook;
            if (ownLook)
                out += '{' + look + ' ';
            appendEscaped(out, text);
            if (ownLook)
                out += '}';
        }
        out += "\\par\n";
    }

    void writeRowFrame(QByteArray &out, const std::vector<PreparedItem> &row, const PageSetup &setup)
    {
        const PreparedItem &head = row.front();
        const PreparedItem &tail = row.back();
        const ItemStyle &first = m_report.styles()[head.style];
        out += "\\pard\\plain\\phpg\\pvpg\\posx" + QByteArray::number(mmTwips(setup.marginLeft) + twips(head.x))
             + "\\posy" + QByteArray::number(mmTwips(setup.marginTop) + twips(head.y)) + "\\absw"
             + QByteArray::number(std::max(1, twips(tail.x + tail.w - head.x))) + "\\dxfrtext0\\dfrmtxtx0\\dfrmtxty0\\sl-"
             + QByteArray::number(std::max(1, twips(head.h))) + "\\slmult0";
        if (first.frame == FrameBox) {
            const QByteArray border = "\\brdrs\\brdrw15\\brdrcf1";
            out += "\\brdrt" + border + "\\brdrl" + border + "\\brdrb" + border + "\\brdrr" + border + "\\brdrbtw" + border;
        }
        for (size_t k = 0; k < row.size(); ++k) {
            const PreparedItem &item = row[k];
            const ItemStyle &s = m_report.styles()[item.style];
            const double left = item.x - head.x;
            if (k > 0 && s.frame == FrameBox)
                out += "\\tb" + QByteArray::number(twips(left));
            if (k == 0 && s.align == Align::Left)
                out += "\\li" + QByteArray::number(twips(left + s.gapX));
            else if (s.align == Align::Left)
                out += "\\tx" + QByteArray::number(twips(left + s.gapX));
            else if (s.align == Align::Right)
                out += "\\tqr\\tx" + QByteArray::number(twips(left + item.w - s.gapX));
            else
                out += "\\tqc\\tx" + QByteArray::number(twips(left + item.w / 2));
        }
        out += charLook(first) + ' ';
    }

    QByteArray charLook(const ItemStyle &s) const
    {
        QByteArray look = "\\f" + QByteArray::number(m_fonts.indexOf(s.family)) + "\\fs"
                        + QByteArray::number(int(std::lround(s.sizeUnits * 1.5))) + "\\cf"
                        + QByteArray::number(int(m_colors.indexOf(s.color)) + 1);
        if (s.bold)
            look += "\\b";
        if (s.underline)
            look += "\\ul";
        return look;
    }

    // One item as a frame at its place. `bare`: only its text, the row's
    // paragraph draws its box.
    void writeItem(QByteArray &out, const PreparedItem &item, const PageSetup &setup, bool bare = false)
    {
        const ItemStyle &s = m_report.styles()[item.style];
        const int color = int(m_colors.indexOf(s.color)) + 1;
        const double height = item.kind == CellKind::Line ? 1.0 : item.h;
        out += "\\pard\\plain\\phpg\\pvpg\\posx" + QByteArray::number(mmTwips(setup.marginLeft) + twips(item.x))
             + "\\posy" + QByteArray::number(mmTwips(setup.marginTop) + twips(item.y)) + "\\absw"
             + QByteArray::number(std::max(1, twips(item.w))) + "\\absh-" + QByteArray::number(std::max(1, twips(height)))
             + "\\dxfrtext0\\dfrmtxtx0\\dfrmtxty0";
        const QByteArray border = "\\brdrs\\brdrw15\\brdrcf" + QByteArray::number(color);
        if (item.kind == CellKind::Line) {
            out += "\\brdrt" + border + "\\fs2\\par\n";
            return;
        }
        const std::uint8_t frame = bare ? std::uint8_t(0) : item.kind == CellKind::Rectangle ? std::uint8_t(FrameBox) : s.frame;
        if (frame & FrameTop) out += "\\brdrt" + border;
        if (frame & FrameLeft) out += "\\brdrl" + border;
        if (frame & FrameBottom) out += "\\brdrb" + border;
        if (frame & FrameRight) out += "\\brdrr" + border;
        if (item.kind == CellKind::Rectangle) {
            out += "\\fs2\\par\n";
            return;
        }
        out += s.align == Align::Right ? "\\qr" : s.align == Align::Center ? "\\qc" : "\\ql";
        out += "\\li" + QByteArray::number(twips(s.gapX)) + "\\ri" + QByteArray::number(twips(s.gapX)) + "\\sb"
             + QByteArray::number(twips(s.gapY)) + charLook(s) + ' ';
        appendEscaped(out, m_report.finalText(item, m_report.pageCount()));
        out += "\\par\n";
    }

    const PreparedReport &m_report;
    Renderer m_renderer; // measures texts as the pages draw them
    QList<QRgb> m_colors;
    QStringList m_fonts;
    QByteArray m_run;    // the look of the row frame being continued, if any
    float m_runBottom = 0;
    std::vector<PreparedItem> m_ownFrames; // of the page being written
};

} // namespace

bool exportRtf(const PreparedReport &report, const std::vector<int> &pages, const QString &path,
               const ExportProgress &progress)
{
    bool completed = false;
    const QByteArray rtf = RtfWriter(report).document(pages, progress, &completed);
    if (!completed)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit())
        throw Error(QStringLiteral("%1 yazılamadı: %2").arg(path, file.errorString()));
    return true;
}

} // namespace tk::reports
