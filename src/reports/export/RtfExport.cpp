// RTF as seen on screen: every page is a section of its own paper size, every
// text a frame at its place on the page; the page header and page footer
// bands go into the section's header and footer.
#include "Export.h"

#include "core/Error.h"

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
        } else {
            out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
}

class RtfWriter {
public:
    RtfWriter(const PreparedReport &report) : m_report(report)
    {
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
        for (std::uint32_t i = page.firstItem; i < page.firstItem + page.itemCount; ++i)
            if (inPart(m_report.items()[i], 0))
                writeItem(out, m_report.items()[i], s);
    }

    void writeItem(QByteArray &out, const PreparedItem &item, const PageSetup &setup)
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
        const std::uint8_t frame = item.kind == CellKind::Rectangle ? std::uint8_t(FrameBox) : s.frame;
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
             + QByteArray::number(twips(s.gapY)) + "\\f" + QByteArray::number(m_fonts.indexOf(s.family)) + "\\fs"
             + QByteArray::number(int(std::lround(s.sizeUnits * 1.5))) + "\\cf" + QByteArray::number(color);
        if (s.bold) out += "\\b";
        if (s.underline) out += "\\ul";
        out += ' ';
        appendEscaped(out, m_report.finalText(item, m_report.pageCount()));
        out += "\\par\n";
    }

    const PreparedReport &m_report;
    QList<QRgb> m_colors;
    QStringList m_fonts;
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
