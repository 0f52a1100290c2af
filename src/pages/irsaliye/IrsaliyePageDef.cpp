#include "IrsaliyePage.h"

namespace tk {

const PageDef &irsaliyePageDef()
{
    static const PageDef def = {
        .button = "RzButton5",
        .caption = "İRSALİYELER",
        .hint = "İrsaliyeler...",
        .tabSheet = "TabSheet5",
        .create = makePage<IrsaliyePage>,
        .count = {{"  Kayıt Sayısı : ", "Irsaliye"}},
        .currentLabel = "  Dönem : ",
        .currentBoxes = {"DBEdit64", "DBEdit103"},
        .boxSeparator = " / ",
        .datasets =
            {
                {"IrsaliyeUst", "DSIrsaliyeUst", "Select * From IrsaliyeUst", nullptr},
                {"Irsaliye", "DSIrsaliye", "Select * From Irsaliye where SiraNo=:SiraNo", "IrsaliyeUst"},
            },
        .toolBars =
            {
                {"ToolBar19", "IrsaliyeUst", "IrsaliyeUst", "", "ToolButton154", "DBEdit64", "ToolButton155", "Aylar",
                 " adlı dönemi içeren irsaliyeler silinecek. Onaylıyor musunuz?", 30},
                {"ToolBar8", "Irsaliye", "Irsaliye", "", "ToolButton55", "DBEdit45", "ToolButton56", "FaturaNo",
                 " nolu faturaya ait İRSALİYE silincek. Onaylıyor musunuz?", 30},
            },
        .grids =
            {
                {"SrDBGrid8", "IrsaliyeUst", "İRSALİYELER: dönem listesi",
                 {{"Yil", "YIL", 40}, {"Aylar", "AYLAR", 85}}},
                {"SrDBGrid9", "Irsaliye", "İRSALİYELER: irsaliye satırları",
                 {{"FaturaNo", "FATURA NO"},
                  {"FatTarihi", "FATURA TARİHİ"},
                  {"FirmaAdi", "FİRMA ADI"},
                  {"MalzemeKodu", "MALZEME KODU"},
                  {"MalzemeAdi", "MALZEME ADI"},
                  {"MalAdet", "ADEDİ"},
                  {"MalFiyat", "FİYATI"},
                  {"Tutar", "TUTAR"},
                  {"IrsNo", "İRSALİYE NO"}}},
            },
        .searches =
            {
                {"Edit7", nullptr, {{"", "Aylar"}}, "IrsaliyeUst", "SpeedButton5"},
            },
        .printButtons =
            {
                {"BitBtn6", "RpIrsaliye", "Rp5", {boxCell("Memo21", "DBEdit64"), boxCell("Memo23", "DBEdit103")}},
            },
        .savedTotals = {},
    };
    return def;
}

} // namespace tk
