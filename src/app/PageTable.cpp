#include "PageTable.h"

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

namespace tk {

namespace {
template <typename Page>
RecordPage *make(const PageContext &context, QWidget *parent)
{
    return new Page(context, parent);
}
} // namespace

const QVector<PageDef> &pageDefs()
{
    static const QVector<PageDef> defs = {
        {"RzButton1", "MÜŞTERİ TAKİP", "|Müşteri takip...", "TabSheet1", make<MusTakipPage>,
         {{"  Kayıtlı Araç : ", "MusTakip"}}, "  Aktif : ", {"DBEdit2"}, ""},
        {"RzButton2", "HASAR TAKİP", "|Hasar takip...", "TabSheet2", make<HasTakipPage>,
         {{"  Kayıtlı Araç : ", "HasTakip"}}, "  Aktif : ", {"DBEdit27"}, ""},
        {"RzButton3", "FATURA TAKİP", "|Fatura takip...", "TabSheet3", make<FatTakipPage>,
         {{"  Kayıt Sayısı : ", "FatTakip"}}, "  Dönem : ", {"DBEdit16", "DBEdit17"}, " / "},
        {"RzButton4", "CARİ HESAPLAR", "|Cari hesaplar...", "TabSheet4", make<CariPage>,
         {{"  Kayıt Sayısı : ", "Cari"}}, "  Firma : ", {"DBEdit59"}, ""},
        {"RzButton5", "İRSALİYELER", "İrsaliyeler...", "TabSheet5", make<IrsaliyePage>,
         {{"  Kayıt Sayısı : ", "Irsaliye"}}, "  Dönem : ", {"DBEdit64", "DBEdit103"}, " / "},
        {"RzButton10", "KASA TAKİP", "|Kasa takibi...", "TabSheet6", make<KasaPage>,
         {{"  Kayıt Sayısı : ", "Kasa"}}, "  Dönem : ", {"DBEdit82"}, ""},
        {"RzButton9", "ÖDEME PLANI", "|Ödeme planı...", "TabSheet7", make<OdemePage>,
         {{"  Kayıt Sayısı : ", "Odeme"}}, "  Dönem : ", {"DBEdit79"}, ""},
        {"RzButton8", "SENET TAKİP", "|Verielen - alınan senetler...", "TabSheet8", make<SenetPage>,
         {{"  V. Senet : ", "SenetVer"}, {" /  A. Senet : ", "SenetAl"}}, "  Senet No : ", {"DBEdit60", "DBEdit74"}, " | "},
        {"RzButton7", "STOK LİSTESİ", "|Stoktaki ürünler...", "TabSheet9", make<StokPage>,
         {{"  Kayıt Sayısı : ", "Stok"}}, "  Stok Kodu : ", {"DBEdit47"}, ""},
        {"RzButton6", "MAAŞ ÖDEME", "|PErsonel maaş ödemeleri...", "TabSheet10", make<MaasPage>,
         {{"  Kayıt Sayısı : ", "Maas"}}, "  Dönem : ", {"DBEdit91"}, ""},
    };
    return defs;
}

} // namespace tk
