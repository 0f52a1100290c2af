#pragma once
// Fitting a cell's text into its box, for one font: lines broken at blanks,
// an over-wide word alone on its line and cut at the cell's edge (a number
// the cell can hold whole is kept whole).
//
// Every width is measured once per font and kept, and a line is fitted by
// adding the widths of its words, so a long list costs one measurement per
// distinct text rather than one per candidate line.
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <vector>

namespace tk::reports {

struct FittedLine {
    QString text;
    double width = 0; // advance in page units
};

class TextFitter {
public:
    explicit TextFitter(const QFont &font);

    // The advance of a one-line text.
    double width(const QString &text);

    // The lines of `text` in a cell `cellWidth` wide with `inset` on each side.
    // Without word wrap every paragraph is one line, as it stands.
    std::vector<FittedLine> fit(const QString &text, double cellWidth, double inset, bool wordWrap);

private:
    void fitParagraph(const QString &paragraph, double room, double cellWidth, double inset,
                      std::vector<FittedLine> &lines);
    FittedLine overWideWord(const QString &word, double wordWidth, double cellWidth, double inset);

    QFontMetricsF m_metrics;
    QHash<QString, double> m_widths;
    double m_space;
    double m_tolerance; // sums of word widths this close to the room are measured whole
};

// "114,19", "-1.234,50", "%18": a word that shows a number.
bool isNumberWord(QStringView word);

} // namespace tk::reports
