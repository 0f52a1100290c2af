#include "PageTable.h"

#include "core/Error.h"
#include "pages/cari/CariPage.h"
#include "pages/fattakip/FatTakipPage.h"
#include "pages/hastakip/HasTakipPage.h"
#include "pages/irsaliye/IrsaliyePage.h"
#include "pages/kasa/KasaPage.h"
#include "pages/maas/MaasPage.h"
#include "pages/mustakip/MusTakipPage.h"
#include "pages/odeme/OdemePage.h"
#include "pages/senet/SenetPage.h"
#include "pages/stok/StokPage.h"

#include <type_traits>

namespace tk {

namespace {

// One member list of every page, joined in page order once.
template <auto member>
const auto &joined()
{
    static const auto all = [] {
        std::remove_cvref_t<decltype(pageDefs().first()->*member)> list;
        for (const PageDef *page : pageDefs())
            for (const auto &def : page->*member)
                list.push_back(def);
        return list;
    }();
    return all;
}

} // namespace

const QVector<const PageDef *> &pageDefs()
{
    static const QVector<const PageDef *> defs = {
        &musTakipPageDef(), &hasTakipPageDef(), &fatTakipPageDef(), &cariPageDef(),  &irsaliyePageDef(),
        &kasaPageDef(),     &odemePageDef(),    &senetPageDef(),    &stokPageDef(), &maasPageDef(),
    };
    return defs;
}

const QVector<DatasetDef> &datasetDefs() { return joined<&PageDef::datasets>(); }
const QVector<ToolBarDef> &toolBarDefs() { return joined<&PageDef::toolBars>(); }
const QVector<GridDef> &gridDefs() { return joined<&PageDef::grids>(); }
const QVector<SearchDef> &searchDefs() { return joined<&PageDef::searches>(); }
const std::vector<PrintButtonDef> &printButtonTable() { return joined<&PageDef::printButtons>(); }
const QVector<SavedTotal> &savedTotalDefs() { return joined<&PageDef::savedTotals>(); }

const PrintButtonDef *findPrintButton(const QString &buttonName)
{
    for (const PageDef *page : pageDefs())
        if (const PrintButtonDef *def = page->printButton(buttonName))
            return def;
    return nullptr;
}

TSrDBGrid *createGrid(const QString &gridName, DataModule &data, QWidget *parent)
{
    for (const PageDef *page : pageDefs())
        for (const GridDef &def : page->grids)
            if (gridName == QLatin1String(def.grid))
                return createGrid(def, data, parent);
    throw Error(QStringLiteral("Tanımsız liste: %1").arg(gridName));
}

} // namespace tk
