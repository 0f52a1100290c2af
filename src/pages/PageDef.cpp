#include "PageDef.h"

#include "core/Error.h"

namespace tk {

namespace {

// The entry of `defs` whose `key` is `name`, or nullptr.
template <typename Defs, typename Def = typename Defs::value_type>
const Def *named(const Defs &defs, const char *Def::*key, const QString &name)
{
    for (const Def &def : defs)
        if (name == QLatin1String(def.*key))
            return &def;
    return nullptr;
}

template <typename Def>
const Def &required(const Def *def, const char *what, const QString &name)
{
    if (!def)
        throw Error(QStringLiteral("%1 bulunamadı: %2").arg(QString::fromUtf8(what), name));
    return *def;
}

} // namespace

const ToolBarDef &PageDef::toolBar(const QString &name) const
{
    return required(named(toolBars, &ToolBarDef::toolBar, name), "Araç çubuğu", name);
}

const GridDef &PageDef::grid(const QString &name) const
{
    return required(named(grids, &GridDef::grid, name), "Liste", name);
}

const SearchDef &PageDef::search(const QString &name) const
{
    return required(named(searches, &SearchDef::box, name), "Arama kutusu", name);
}

const PrintButtonDef *PageDef::printButton(const QString &name) const
{
    return named(printButtons, &PrintButtonDef::button, name);
}

} // namespace tk
