#include "Layout.h"

#include "Expression.h"
#include "Format.h"
#include "core/Error.h"
#include "data/Dataset.h"

#include <QDate>
#include <optional>

namespace tk::reports {

namespace {

// A failure inside the run, already worded as one line of the error list.
struct RunError {
    QString line;
};

struct Segment {
    QString literal;               // text before the expression (or the whole rest)
    std::unique_ptr<Node> expr;
    QString source;                // the expression as written
    QString syntaxError;           // set when the expression could not be read
    bool totalPagesPlaceholder = false;
};

struct CompiledCell {
    const Cell *cell = nullptr;
    int style = 0;
    bool constant = true;          // text never changes: stored once per run
    std::optional<std::uint32_t> constOffset;
    std::uint32_t constLength = 0;
    bool hasTotalPages = false;
    bool numeric = false;          // the text shows a number (spreadsheet export)
    std::vector<Segment> segments; // expression cells
    QString trailing;              // text after the last expression
    int boundLink = -1, boundColumn = -1;
};

struct CompiledBand {
    const Band *band = nullptr;
    std::vector<CompiledCell> cells;
    double height = 0;
};

struct Group {
    int header = -1, data = -1, footer = -1; // band indices
    int link = -1;
};

struct Total {
    Node *node = nullptr;          // the aggregate node (inner expression: node->left)
    int dataBand = -1;             // the master data band it counts
    int cellBand = -1;             // the band whose printing empties it
    QString cellName;
    bool empty = true;
    double value = 0, count = 0;
};

struct Link {
    QString name;
    Dataset *dataset = nullptr;
    int row = -1;
};

} // namespace

struct LayoutRun::Impl : EvalContext {
    const Template &tmpl;
    PreparedReport &out;
    QHash<QString, Dataset *> datasets;

    std::vector<CompiledBand> bands;
    std::vector<Group> groups;
    std::vector<Total> totals;
    std::vector<Link> links;
    int title = -1, pageHeader = -1, pageFooter = -1, summary = -1;

    double W = 0, H = 0, y = 0;
    int setup = 0;
    bool bodyOnPage = false;       // a band other than title/page header stands on the page
    bool started = false;
    size_t group = 0;
    int row = 0, rows = 0;
    bool groupOpen = false;
    QString scratch;

    Impl(const Template &t, PreparedReport &o, const QHash<QString, Dataset *> &ds)
        : tmpl(t), out(o), datasets(ds) {}

    // --- evaluation context ------------------------------------------------
    Value field(const Node &node, bool keepNull) override
    {
        const QString ref = QStringLiteral("%1.\"%2\"").arg(node.link, node.field);
        if (node.linkIndex < 0)
            throw Error(QStringLiteral("%1: veri bağlantısı bulunamadı").arg(ref));
        const Link &link = links[size_t(node.linkIndex)];
        if (!link.dataset)
            throw Error(QStringLiteral("%1: veri kümesi bağlanmamış").arg(ref));
        if (node.column < 0)
            throw Error(QStringLiteral("%1: alan bulunamadı").arg(ref));
        const FieldKind kind = link.dataset->fields().at(node.column).kind;
        const QVariant v = link.row >= 0 ? link.dataset->valueAt(link.row, node.column) : QVariant();
        if (v.isNull() || !v.isValid()) {
            if (keepNull)
                return {};
            switch (kind) {
            case FieldKind::Integer:
            case FieldKind::Real: return Value::ofNumber(0);
            case FieldKind::Boolean: return Value::ofBool(false);
            default: return Value::ofText(QString());
            }
        }
        switch (kind) {
        case FieldKind::Integer:
        case FieldKind::Real: return Value::ofNumber(v.toDouble());
        case FieldKind::Boolean: return Value::ofBool(v.toBool());
        case FieldKind::Date: {
            Value r;
            r.kind = Value::Date;
            r.text = fieldDisplayText(kind, v);
            r.number = double(v.toDate().toJulianDay());
            return r;
        }
        default: return Value::ofText(v.toString());
        }
    }
    Value total(int index) override
    {
        const Total &t = totals[size_t(index)];
        if (t.node->aggregate == Aggregate::Count)
            return Value::ofNumber(t.count);
        if (t.empty)
            return Value::ofNumber(0);
        if (t.node->aggregate == Aggregate::Avg)
            return Value::ofNumber(t.value / t.count);
        return Value::ofNumber(t.value);
    }
    int page() override { return out.pageCount(); }
    int totalPages() override { return out.pageCount(); }

    // --- binding -------------------------------------------------------------
    int bandIndex(const QString &name) const
    {
        for (size_t i = 0; i < bands.size(); ++i)
            if (bands[i].band->name.compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    }
    int linkIndex(const QString &name) const
    {
        for (size_t i = 0; i < links.size(); ++i)
            if (links[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    }

    void compileCell(CompiledCell &cc, int bandIdx)
    {
        const Cell &c = *cc.cell;
        ItemStyle s;
        s.family = c.font.family;
        s.sizeUnits = std::int16_t(c.font.sizeUnits);
        s.bold = c.font.bold;
        s.underline = c.font.underline;
        s.color = (c.isText() ? c.font.color : c.lineColor).rgba();
        s.align = c.align;
        s.frame = c.kind == CellKind::Rectangle ? std::uint8_t(FrameBox) : c.frame;
        s.gapX = float(c.gapX);
        s.gapY = float(c.gapY);
        s.wordWrap = c.wordWrap;
        s.clip = c.clip;
        cc.style = out.addStyle(s);
        if (!c.isText())
            return;
        if (c.isBound()) {
            cc.constant = false;
            cc.boundLink = linkIndex(c.link);
            if (cc.boundLink < 0)
                throw RunError{QStringLiteral("%1: %2 veri bağlantısı bulunamadı").arg(c.name, c.link)};
            Dataset *ds = links[size_t(cc.boundLink)].dataset;
            if (!ds)
                throw RunError{QStringLiteral("%1: %2 veri kümesi bağlanmamış").arg(c.name, c.link)};
            cc.boundColumn = ds->fieldIndex(c.field);
            if (cc.boundColumn < 0)
                throw RunError{QStringLiteral("%1: %2.\"%3\" alanı bulunamadı").arg(c.name, c.link, c.field)};
            const FieldKind kind = ds->fields().at(cc.boundColumn).kind;
            cc.numeric = kind == FieldKind::Integer || kind == FieldKind::Real;
            return;
        }
        if (c.literal || !c.expressions)
            return;
        // Split the template text at brackets, each "[" with its matching "]".
        const QString &text = c.text;
        qsizetype pos = 0, literalStart = 0;
        while ((pos = text.indexOf(QLatin1Char('['), pos)) >= 0) {
            int depth = 0;
            qsizetype end = pos;
            for (; end < text.size(); ++end) {
                if (text.at(end) == QLatin1Char('['))
                    ++depth;
                else if (text.at(end) == QLatin1Char(']') && --depth == 0)
                    break;
            }
            if (end >= text.size())
                break; // an unmatched "[" is ordinary text
            Segment seg;
            seg.literal = text.mid(literalStart, pos - literalStart);
            seg.source = text.mid(pos + 1, end - pos - 1);
            if (seg.source.trimmed().compare(QLatin1String("TOTALPAGES#"), Qt::CaseInsensitive) == 0) {
                seg.totalPagesPlaceholder = true;
                cc.hasTotalPages = true;
            } else {
                try {
                    seg.expr = parseExpression(seg.source);
                } catch (const SyntaxError &e) {
                    seg.syntaxError = e.reason();
                }
            }
            if (seg.expr)
                forEachNode(*seg.expr, [&](Node &n) { resolve(n, c, bandIdx); });
            cc.segments.push_back(std::move(seg));
            pos = literalStart = end + 1;
        }
        cc.trailing = text.mid(literalStart);
        cc.numeric = c.display.numeric && !cc.segments.empty();
        cc.constant = cc.segments.empty();
        for (const Segment &seg : cc.segments)
            if (seg.expr || !seg.syntaxError.isEmpty())
                cc.constant = false;
    }

    void resolve(Node &n, const Cell &c, int bandIdx)
    {
        if (n.kind == Node::Field) {
            n.linkIndex = linkIndex(n.link);
            if (n.linkIndex >= 0 && links[size_t(n.linkIndex)].dataset)
                n.column = links[size_t(n.linkIndex)].dataset->fieldIndex(n.field);
        } else if (n.kind == Node::Total) {
            Total t;
            t.node = &n;
            t.dataBand = bandIndex(n.band);
            if (t.dataBand < 0 || bands[size_t(t.dataBand)].band->kind != BandKind::MasterData)
                throw RunError{QStringLiteral("%1: %2 veri bandı bulunamadı").arg(c.name, n.band)};
            t.cellBand = bandIdx;
            t.cellName = c.name;
            n.totalIndex = int(totals.size());
            totals.push_back(t);
        }
    }

    void bind()
    {
        for (const DatasetLink &l : tmpl.links) {
            Dataset *ds = datasets.value(l.name, nullptr);
            if (!ds)
                ds = datasets.value(l.dataset, nullptr);
            links.push_back({l.name, ds, -1});
        }
        for (auto it = datasets.cbegin(); it != datasets.cend(); ++it)
            if (linkIndex(it.key()) < 0 && it.value()) // a dataset given under a link the template lacks
                links.push_back({it.key(), it.value(), -1});
        // A link reads its dataset from the first row: any edit ends first.
        for (Link &l : links) {
            if (!l.dataset)
                continue;
            try {
                if (!l.dataset->isOpen())
                    l.dataset->open();
                l.dataset->checkBrowseMode();
            } catch (const std::exception &e) {
                throw RunError{QStringLiteral("%1: %2").arg(l.name, QString::fromUtf8(e.what()))};
            }
        }
        for (const Band &b : tmpl.bands) {
            CompiledBand cb;
            cb.band = &b;
            cb.height = b.height;
            bands.push_back(std::move(cb));
        }
        std::vector<int> flow; // header, data and footer bands by design top
        for (size_t i = 0; i < bands.size(); ++i) {
            switch (bands[i].band->kind) {
            case BandKind::ReportTitle: title = int(i); break;
            case BandKind::PageHeader: pageHeader = int(i); break;
            case BandKind::PageFooter: pageFooter = int(i); break;
            case BandKind::ReportSummary: summary = int(i); break;
            default: flow.push_back(int(i));
            }
        }
        std::stable_sort(flow.begin(), flow.end(),
                         [&](int a, int b) { return bands[size_t(a)].band->top < bands[size_t(b)].band->top; });
        std::vector<bool> attached(bands.size(), false);
        for (size_t i = 0; i < flow.size(); ++i) {
            const Band &b = *bands[size_t(flow[i])].band;
            if (b.kind != BandKind::MasterData)
                continue;
            Group g;
            g.data = flow[i];
            attached[size_t(flow[i])] = true;
            if (i > 0 && bands[size_t(flow[i - 1])].band->kind == BandKind::Header) {
                g.header = flow[i - 1];
                attached[size_t(g.header)] = true;
            }
            if (i + 1 < flow.size() && bands[size_t(flow[i + 1])].band->kind == BandKind::Footer) {
                g.footer = flow[i + 1];
                attached[size_t(g.footer)] = true;
            }
            g.link = linkIndex(b.link);
            if (g.link < 0 || !links[size_t(g.link)].dataset)
                throw RunError{QStringLiteral("%1: %2 veri bağlantısı bulunamadı").arg(b.name, b.link)};
            groups.push_back(g);
        }
        for (int i : flow)
            if (!attached[size_t(i)])
                throw RunError{QStringLiteral("Bağlantısız Rapor Başlığı/Sonu %1").arg(bands[size_t(i)].band->name)};
        for (size_t i = 0; i < bands.size(); ++i)
            for (const Cell &c : bands[i].band->cells) {
                CompiledCell cc;
                cc.cell = &c;
                bands[i].cells.push_back(std::move(cc));
            }
        for (size_t i = 0; i < bands.size(); ++i)
            for (CompiledCell &cc : bands[i].cells)
                compileCell(cc, int(i));
        W = tmpl.page.printableWidthUnits();
        H = tmpl.page.printableHeightUnits();
        setup = out.addSetup(tmpl.page);
    }

    // --- printing ------------------------------------------------------------
    void cellText(CompiledCell &cc, QString &text)
    {
        const Cell &c = *cc.cell;
        text.clear();
        if (cc.boundLink >= 0) {
            const Link &link = links[size_t(cc.boundLink)];
            if (link.row < 0)
                return;
            if (c.display.numeric) {
                Node n;
                n.kind = Node::Field;
                n.link = c.link;
                n.field = c.field;
                n.linkIndex = cc.boundLink;
                n.column = cc.boundColumn;
                text = formatValue(field(n, true), c.display);
            } else {
                text = link.dataset->textAt(link.row, cc.boundColumn);
            }
            return;
        }
        for (Segment &seg : cc.segments) {
            text += seg.literal;
            if (seg.totalPagesPlaceholder) {
                text += PreparedReport::kTotalPagesPlaceholder;
            } else if (!seg.syntaxError.isEmpty()) {
                throw Error(QStringLiteral("Söz dizimi hatası '%1': %2").arg(seg.source, seg.syntaxError));
            } else {
                text += formatValue(evaluate(*seg.expr, *this), c.display);
            }
        }
        text += cc.segments.empty() ? c.text : cc.trailing;
    }

    void emitBand(int bandIdx, double top)
    {
        CompiledBand &cb = bands[size_t(bandIdx)];
        for (CompiledCell &cc : cb.cells) {
            const Cell &c = *cc.cell;
            PreparedItem item{};
            item.x = float(c.left);
            item.y = float(top + c.top);
            item.w = float(c.width);
            item.h = float(c.kind == CellKind::Line ? 0 : c.height);
            item.style = std::uint16_t(cc.style);
            item.kind = c.kind;
            item.band = cb.band->kind;
            item.flags = std::uint8_t((cc.hasTotalPages ? PreparedItem::HasTotalPages : 0)
                                     | (cc.numeric ? PreparedItem::Numeric : 0));
            if (c.isText()) {
                if (cc.constant && cc.constOffset) {
                    item.textOffset = *cc.constOffset;
                    item.textLength = cc.constLength;
                } else {
                    try {
                        cellText(cc, scratch);
                    } catch (const std::exception &e) {
                        throw RunError{QStringLiteral("%1: %2").arg(c.name, QString::fromUtf8(e.what()))};
                    }
                    item.textOffset = out.addText(scratch);
                    item.textLength = std::uint32_t(scratch.size());
                    if (cc.constant) {
                        cc.constOffset = item.textOffset;
                        cc.constLength = item.textLength;
                    }
                }
            }
            out.addItem(item);
        }
    }

    void resetTotals(int bandIdx)
    {
        for (Total &t : totals)
            if (t.cellBand == bandIdx) {
                t.empty = true;
                t.value = t.count = 0;
            }
    }

    double pageFooterHeight() const { return pageFooter >= 0 ? bands[size_t(pageFooter)].height : 0; }

    void startPage()
    {
        out.startPage(setup);
        y = 0;
        bodyOnPage = false;
        if (out.pageCount() == 1 && title >= 0)
            placeFixed(title);
        if (pageHeader >= 0)
            placeFixed(pageHeader);
    }
    void endPage()
    {
        if (pageFooter >= 0) {
            emitBand(pageFooter, H - pageFooterHeight());
            resetTotals(pageFooter);
        }
        out.finishPage();
    }
    void placeFixed(int bandIdx)
    {
        emitBand(bandIdx, y);
        y += bands[size_t(bandIdx)].height;
        resetTotals(bandIdx);
    }
    // A band moves whole to a new page when it does not fit; one taller than
    // a whole page stands alone on its page rather than paging forever.
    void print(int bandIdx)
    {
        const double h = bands[size_t(bandIdx)].height;
        if (H - pageFooterHeight() - y < h && bodyOnPage) {
            endPage();
            startPage();
        }
        emitBand(bandIdx, y);
        y += h;
        bodyOnPage = true;
        resetTotals(bandIdx);
    }

    void accumulate(int dataBand)
    {
        for (Total &t : totals) {
            if (t.dataBand != dataBand)
                continue;
            if (t.node->aggregate == Aggregate::Count) {
                ++t.count;
                continue;
            }
            Value v;
            try {
                v = evaluate(*t.node->left, *this, true);
            } catch (const std::exception &e) {
                throw RunError{QStringLiteral("%1: %2").arg(t.cellName, QString::fromUtf8(e.what()))};
            }
            if (v.isNull())
                continue;
            double x = v.number;
            if (v.kind == Value::Text && !parseTurkishNumber(v.text, &x)) {
                if (v.text.isEmpty())
                    continue;
                throw RunError{QStringLiteral("%1: '%2' sayıya çevrilemiyor").arg(t.cellName, v.text)};
            }
            ++t.count;
            if (t.empty) {
                t.value = x;
                t.empty = false;
            } else if (t.node->aggregate == Aggregate::Min) {
                t.value = std::min(t.value, x);
            } else if (t.node->aggregate == Aggregate::Max) {
                t.value = std::max(t.value, x);
            } else {
                t.value += x;
            }
        }
    }
};

LayoutRun::LayoutRun(const Template &tmpl, PreparedReport &out, const QHash<QString, Dataset *> &datasets)
    : d(std::make_unique<Impl>(tmpl, out, datasets))
{
}

LayoutRun::~LayoutRun() = default;

LayoutRun::Status LayoutRun::step(int rowBudget)
{
    if (m_status != Status::Running)
        return m_status;
    Impl &r = *d;
    try {
        if (!r.started) {
            r.started = true;
            r.out.clear();
            r.bind();
            r.startPage();
        }
        while (r.group < r.groups.size()) {
            const Group &g = r.groups[r.group];
            Link &link = r.links[size_t(g.link)];
            if (!r.groupOpen) {
                r.groupOpen = true;
                r.row = 0;
                r.rows = link.dataset->rowCount();
                link.row = r.rows > 0 ? 0 : -1;
            }
            while (r.row < r.rows) {
                if (m_stopRequested || rowBudget-- <= 0)
                    break;
                link.row = r.row;
                if (r.row == 0 && g.header >= 0)
                    r.print(g.header);
                r.print(g.data);
                r.accumulate(g.data);
                ++r.row;
            }
            if (m_stopRequested)
                break;
            if (r.row < r.rows)
                return m_status; // more rows in the next slice
            if (r.rows > 0) {
                if (g.footer >= 0)
                    r.print(g.footer);
                // The run leaves the dataset on its last row.
                link.dataset->moveTo(r.rows - 1);
            }
            r.groupOpen = false;
            ++r.group;
        }
        if (m_stopRequested) {
            r.endPage();
            return m_status = Status::Stopped;
        }
        if (r.summary >= 0)
            r.print(r.summary);
        r.endPage();
        return m_status = Status::Done;
    } catch (const RunError &e) {
        m_errors << e.line;
    } catch (const std::exception &e) {
        m_errors << QString::fromUtf8(e.what());
    }
    if (r.out.pageCount() > 0)
        r.out.finishPage();
    return m_status = Status::Failed;
}

bool LayoutRun::runAll()
{
    while (step(1 << 30) == Status::Running) {
    }
    return m_status == Status::Done || m_status == Status::Stopped;
}

QString LayoutRun::errorMessage() const
{
    return QStringLiteral("Aşağıdaki hata(lar) oluştu:\n") + m_errors.join(QLatin1Char('\n'));
}

} // namespace tk::reports
