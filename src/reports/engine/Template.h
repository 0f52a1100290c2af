#pragma once
// A report template: one page of A4 paper and a stack of bands holding cells.
// Templates are data (see TemplateLoader.h); at run time only the texts of a
// few named cells change.
#include <QColor>
#include <QString>
#include <QStringList>
#include <vector>

namespace tk::reports {

// Lengths inside a template are screen units of 96 per inch.
constexpr double kUnitsPerMm = 96.0 / 25.4; // 3.77953…
inline double mmToUnits(double mm) { return mm * kUnitsPerMm; }
inline double unitsToMm(double units) { return units / kUnitsPerMm; }

enum class CellKind : unsigned char { Memo, SystemMemo, Line, Rectangle };
enum class Align : unsigned char { Left, Right, Center };
enum class BandKind : unsigned char {
    ReportTitle, PageHeader, Header, MasterData, Footer, PageFooter, ReportSummary
};
// Frame sides as bits.
enum FrameSide : unsigned char { FrameLeft = 1, FrameTop = 2, FrameRight = 4, FrameBottom = 8, FrameBox = 15 };

struct DisplayFormat {
    bool numeric = false;
    QString format;          // printf-like, for example "%2.2n TL"
    QChar decimalSeparator = QLatin1Char(',');
};

struct CellFont {
    QString family = QStringLiteral("Arial");
    int sizeUnits = 13;      // character height in units (points = units × 0.75)
    bool bold = false;
    bool underline = false;
    QColor color = Qt::black;
};

struct Cell {
    QString name;
    CellKind kind = CellKind::Memo;
    double left = 0, top = 0, width = 0, height = 0; // units, relative to the band
    QString text;            // lines joined with '\n'
    bool literal = false;    // set from outside: printed as it stands, no expressions
    QString link, field;     // bound to a field when both are set
    DisplayFormat display;
    Align align = Align::Left;
    CellFont font;
    unsigned char frame = 0; // FrameSide bits
    double gapX = 2, gapY = 1;
    bool wordWrap = true;
    bool clip = true;
    bool expressions = true;
    QColor lineColor = Qt::black; // lines and rectangles

    bool isText() const { return kind == CellKind::Memo || kind == CellKind::SystemMemo; }
    bool isBound() const { return !link.isEmpty() && !field.isEmpty(); }
};

struct Band {
    QString name;
    BandKind kind = BandKind::MasterData;
    double top = 0;          // design top position (units): orders header/data/footer
    double height = 0;       // units
    QString link;            // master data: the dataset link it walks
    std::vector<Cell> cells;
};

struct PageSetup {
    double paperWidth = 210, paperHeight = 297; // mm, as oriented
    bool landscape = false;
    double marginLeft = 10, marginRight = 10, marginTop = 10, marginBottom = 10; // mm

    double printableWidthUnits() const { return mmToUnits(paperWidth - marginLeft - marginRight); }
    double printableHeightUnits() const { return mmToUnits(paperHeight - marginTop - marginBottom); }
    bool operator==(const PageSetup &) const = default;
    // A4 in the given orientation.
    static PageSetup a4(bool landscape, double l, double r, double t, double b);
};

struct DatasetLink {
    QString name;            // DBStok
    QString dataset;         // Stok: the name of the dataset it reads
};

struct Template {
    QString name;
    PageSetup page;
    std::vector<DatasetLink> links;
    std::vector<Band> bands;
    bool findButton = false; // the preview offers "Bul"
    double previewZoom = 1.0;

    // Case-insensitive; nullptr when missing.
    Cell *findCell(const QString &name);
    const Cell *findCell(const QString &name) const;
    const Band *findBand(const QString &name) const;
    // Sets a cell's text from outside the template: split into lines at CR,
    // LF, CR LF and U+2028, kept for later runs, printed as it stands.
    // Throws tk::Error when the cell does not exist.
    void setCellText(const QString &cellName, const QString &text);
};

// Splits at CR, LF, CR LF and U+2028 and joins the lines with '\n'.
QString normalizeLines(const QString &text);

} // namespace tk::reports
