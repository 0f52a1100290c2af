#include "TemplateLoader.h"

#include "core/Error.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// The compiled-in templates live in this static library's resources, which
// are registered by name, outside any namespace, before the first load.
static void initTemplateResources() { Q_INIT_RESOURCE(reports); }

namespace tk::reports {

namespace {

[[noreturn]] void fail(const QString &what)
{
    throw Error(QStringLiteral("Rapor şablonu okunamadı: %1").arg(what));
}

double number(const QJsonObject &o, const char *key, double fallback)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return fallback;
    if (!v.isDouble())
        fail(QStringLiteral("\"%1\" sayı olmalı").arg(QLatin1String(key)));
    return v.toDouble();
}

QString text(const QJsonValue &v)
{
    if (v.isArray()) {
        QStringList lines;
        for (const QJsonValue &line : v.toArray())
            lines << line.toString();
        return lines.join(QLatin1Char('\n'));
    }
    return normalizeLines(v.toString());
}

QColor color(const QString &name, QColor fallback)
{
    if (name.isEmpty())
        return fallback;
    if (name == QLatin1String("grey") || name == QLatin1String("gray"))
        return QColor(128, 128, 128);
    const QColor c = QColor::fromString(name);
    if (!c.isValid())
        fail(QStringLiteral("renk %1").arg(name));
    return c;
}

const struct { const char *name; BandKind kind; } kBandKinds[] = {
    {"ReportTitle", BandKind::ReportTitle}, {"PageHeader", BandKind::PageHeader},
    {"Header", BandKind::Header},           {"MasterData", BandKind::MasterData},
    {"Footer", BandKind::Footer},           {"PageFooter", BandKind::PageFooter},
    {"ReportSummary", BandKind::ReportSummary},
};

const struct { const char *name; CellKind kind; } kCellKinds[] = {
    {"memo", CellKind::Memo}, {"sysmemo", CellKind::SystemMemo},
    {"line", CellKind::Line}, {"rect", CellKind::Rectangle},
};

Cell parseCell(const QJsonObject &o)
{
    Cell c;
    c.name = o.value(QLatin1String("name")).toString();
    const QString kind = o.value(QLatin1String("kind")).toString(QStringLiteral("memo"));
    bool known = false;
    for (const auto &k : kCellKinds)
        if (kind == QLatin1String(k.name)) {
            c.kind = k.kind;
            known = true;
        }
    if (!known)
        fail(QStringLiteral("hücre türü %1").arg(kind));
    c.left = mmToUnits(number(o, "left", 0));
    c.top = mmToUnits(number(o, "top", 0));
    c.width = mmToUnits(number(o, "width", 0));
    c.height = mmToUnits(number(o, "height", 0));
    c.text = text(o.value(QLatin1String("text")));
    c.link = o.value(QLatin1String("link")).toString();
    c.field = o.value(QLatin1String("field")).toString();
    c.display.format = o.value(QLatin1String("format")).toString();
    c.display.numeric = !c.display.format.isEmpty();
    const QString decimal = o.value(QLatin1String("decimal")).toString(QStringLiteral(","));
    if (!decimal.isEmpty())
        c.display.decimalSeparator = decimal.at(0);
    const QString align = o.value(QLatin1String("align")).toString(QStringLiteral("left"));
    c.align = align == QLatin1String("right") ? Align::Right
            : (align == QLatin1String("center") || align == QLatin1String("centre")) ? Align::Center
                                                                                        : Align::Left;
    const QJsonObject font = o.value(QLatin1String("font")).toObject();
    c.font.family = font.value(QLatin1String("family")).toString(QStringLiteral("Arial"));
    c.font.sizeUnits = qRound(number(font, "size", 9.75) / 0.75);
    c.font.bold = font.value(QLatin1String("bold")).toBool();
    c.font.underline = font.value(QLatin1String("underline")).toBool();
    c.font.color = color(font.value(QLatin1String("color")).toString(), Qt::black);
    const QString frame = o.value(QLatin1String("frame")).toString(QStringLiteral("none"));
    if (frame == QLatin1String("box"))
        c.frame = FrameBox;
    else if (frame != QLatin1String("none"))
        for (QChar side : frame)
            c.frame |= side == QLatin1Char('l') ? FrameLeft : side == QLatin1Char('t') ? FrameTop
                     : side == QLatin1Char('r') ? FrameRight : side == QLatin1Char('b') ? FrameBottom : 0;
    const QJsonArray inset = o.value(QLatin1String("inset")).toArray();
    if (inset.size() == 2) {
        c.gapX = inset.at(0).toDouble();
        c.gapY = inset.at(1).toDouble();
    }
    c.wordWrap = o.value(QLatin1String("wordWrap")).toBool(true);
    c.clip = o.value(QLatin1String("clip")).toBool(true);
    c.expressions = o.value(QLatin1String("expressions")).toBool(true);
    c.lineColor = color(o.value(QLatin1String("color")).toString(), Qt::black);
    return c;
}

} // namespace

Template parseTemplate(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (!doc.isObject())
        fail(error.errorString());
    const QJsonObject root = doc.object();
    Template t;
    t.name = root.value(QLatin1String("name")).toString();
    const QJsonObject page = root.value(QLatin1String("page")).toObject();
    const QJsonArray m = page.value(QLatin1String("margins")).toArray();
    if (m.size() != 4)
        fail(QStringLiteral("sayfa kenar boşlukları"));
    t.page = PageSetup::a4(page.value(QLatin1String("orientation")).toString() == QLatin1String("landscape"),
                           m.at(0).toDouble(), m.at(1).toDouble(), m.at(2).toDouble(), m.at(3).toDouble());
    t.findButton = root.value(QLatin1String("find")).toBool();
    for (const QJsonValue &v : root.value(QLatin1String("links")).toArray()) {
        const QJsonObject o = v.toObject();
        t.links.push_back({o.value(QLatin1String("name")).toString(), o.value(QLatin1String("dataset")).toString()});
    }
    for (const QJsonValue &v : root.value(QLatin1String("bands")).toArray()) {
        const QJsonObject o = v.toObject();
        Band b;
        b.name = o.value(QLatin1String("name")).toString();
        const QString kind = o.value(QLatin1String("kind")).toString();
        bool known = false;
        for (const auto &k : kBandKinds)
            if (kind == QLatin1String(k.name)) {
                b.kind = k.kind;
                known = true;
            }
        if (!known)
            fail(QStringLiteral("bant türü %1").arg(kind));
        b.top = mmToUnits(number(o, "top", 0));
        b.height = mmToUnits(number(o, "height", 0));
        b.link = o.value(QLatin1String("link")).toString();
        for (const QJsonValue &cell : o.value(QLatin1String("cells")).toArray())
            b.cells.push_back(parseCell(cell.toObject()));
        t.bands.push_back(std::move(b));
    }
    return t;
}

Template loadTemplate(const QString &nameOrPath)
{
    static const bool registered = (initTemplateResources(), true);
    Q_UNUSED(registered);
    const QString path = nameOrPath.contains(QLatin1Char('/'))
                             ? nameOrPath
                             : QStringLiteral(":/reports/templates/%1.json").arg(nameOrPath);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path);
    return parseTemplate(file.readAll());
}

} // namespace tk::reports
