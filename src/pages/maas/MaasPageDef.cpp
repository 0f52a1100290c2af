#include "MaasPage.h"

namespace tk {

const PageDef &maasPageDef()
{
    static const PageDef def = {
        .button = "RzButton6",
        .caption = "MAAŞ ÖDEME",
        .hint = "|PErsonel maaş ödemeleri...",
        .tabSheet = "TabSheet10",
        .create = makePage<MaasPage>,
        .count = {{"  Kayıt Sayısı : ", "Maas"}},
        .currentLabel = "  Dönem : ",
        .currentBoxes = {"DBEdit91"},
        .boxSeparator = "",
        .datasets =
            {
                {"Maas", "DSMaas", "Select * From Maas", nullptr},
                {"Maas1", "DSMaas1", "Select * From Maas1 where SiraNo=:SiraNo", "Maas"},
            },
        .toolBars =
            {
                {"ToolBar17", "Maas", "Maas", "", "ToolButton136", "DBEdit91", "ToolButton137", "Aylar",
                 " dönem kayıtları silinecek. Onaylıyor musunuz?", 30},
                {"ToolBar18", "Maas1", "Maas", "1", "ToolButton145", "DBEdit92", "ToolButton146", "Personel",
                 " adlı personel bilgileri silinecek. Onaylıyor musunuz?", 30},
            },
        .grids =
            {
                {"SrDBGrid18", "Maas", "MAAŞ ÖDEME: ay listesi", {{"Aylar", nullptr, 126}}},
                {"SrDBGrid19", "Maas1", "MAAŞ ÖDEME: maaş çizelgesi",
                 {{"Personel"},
                  {"Maas"},
                  {"Yol"},
                  {"Mesai"},
                  {"Toplam"},
                  {"Avans"},
                  {"Kesinti"},
                  {"K_Toplam"},
                  {"O_Tutar"},
                  {"O_Tutari"},
                  {"Kalan"}}},
            },
        .searches =
            {
                {"Edit12", nullptr, {{"", "Aylar"}}, "Maas", "SpeedButton9"},
            },
        .printButtons =
            {
                {"BitBtn1", "RpMaas", "Rp11", {boxCell("Memo4", "DBEdit91")}},
            },
        .savedTotals = {},
    };
    return def;
}

} // namespace tk
