#include "FatTakipPage.h"

namespace tk {

const PageDef &fatTakipPageDef()
{
    static const PageDef def = {
        .button = "RzButton3",
        .caption = "FATURA TAKİP",
        .hint = "|Fatura takip...",
        .tabSheet = "TabSheet3",
        .create = makePage<FatTakipPage>,
        .count = {{"  Kayıt Sayısı : ", "FatTakip"}},
        .currentLabel = "  Dönem : ",
        .currentBoxes = {"DBEdit16", "DBEdit17"},
        .boxSeparator = " / ",
        .datasets =
            {
                {"FatTakip", "DSFatTakip", "Select * From FatTakip Order By Yil", nullptr},
                {"FatTakip1", "DSFatTakip1", "Select * From FatTakip1 where SiraNo=:SiraNo", "FatTakip"},
            },
        .toolBars =
            {
                {"ToolBar4", "FatTakip", "Fat", "", "ToolButton19", "DBEdit16", "ToolButton20", "Aylar",
                 " adlı dönemi içeren tüm bilgiler silinecek. Onaylıyor musunuz?", 30},
                {"ToolBar5", "FatTakip1", "Fat", "1", "ToolButton28", "DBEdit13", "ToolButton29", "FaturaNo",
                 " numaralı fatura bilgiler silinecek. Onaylıyor musunuz?", 30},
            },
        .grids =
            {
                {"SrDBGrid3", "FatTakip", "FATURA TAKİP: dönem listesi",
                 {{"Yil", "YIL", 40}, {"Aylar", "AYLAR", 85}}},
                {"SrDBGrid4", "FatTakip1", "FATURA TAKİP: faturalar",
                 {{"FaturaNo", "Fat. No"},
                  {"FaturaTarihi", "Fat. Tarihi"},
                  {"IrsaliyeNo", "İrs. No"},
                  {"IrsaliyeTarihi", "İrs Tarihi"},
                  {"Firma", nullptr, 200},
                  {"Tutar"},
                  {"Iskonto", "İskonto"},
                  {"Toplam", "TOPLAM"}}},
            },
        .searches =
            {
                {"Edit3", nullptr, {{"", "Aylar"}}, "FatTakip", "SpeedButton2"},
            },
        .printButtons =
            {
                {"BitBtn4", "RpFatura", "Rp3", {boxCell("Memo4", "DBEdit16"), boxCell("Memo5", "DBEdit17")}},
            },
        .savedTotals = {},
    };
    return def;
}

} // namespace tk
