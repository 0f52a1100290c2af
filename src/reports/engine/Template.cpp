#include "Template.h"

#include "core/Error.h"

namespace tk::reports {

PageSetup PageSetup::a4(bool landscape, double l, double r, double t, double b)
{
    PageSetup p;
    p.landscape = landscape;
    p.paperWidth = landscape ? 297 : 210;
    p.paperHeight = landscape ? 210 : 297;
    p.marginLeft = l;
    p.marginRight = r;
    p.marginTop = t;
    p.marginBottom = b;
    return p;
}

Cell *Template::findCell(const QString &name)
{
    for (Band &band : bands)
        for (Cell &cell : band.cells)
            if (cell.name.compare(name, Qt::CaseInsensitive) == 0)
                return &cell;
    return nullptr;
}

const Cell *Template::findCell(const QString &name) const
{
    return const_cast<Template *>(this)->findCell(name);
}

const Band *Template::findBand(const QString &name) const
{
    for (const Band &band : bands)
        if (band.name.compare(name, Qt::CaseInsensitive) == 0)
            return &band;
    return nullptr;
}

void Template::setCellText(const QString &cellName, const QString &text)
{
    Cell *cell = findCell(cellName);
    if (!cell)
        throw Error(QStringLiteral("Raporda %1 hücresi yok: %2").arg(name, cellName));
    cell->text = normalizeLines(text);
    cell->literal = true;
}

QString normalizeLines(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r')) {
            out += QLatin1Char('\n');
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
        } else if (c == QChar(0x2028)) {
            out += QLatin1Char('\n');
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace tk::reports
