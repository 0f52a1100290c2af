#include "KasaPage.h"

namespace tk {

const PageDef &kasaPageDef()
{
    static const PageDef def = {
        .button = "RzButton10",
        .caption = "KASA TAKİP",
        .hint = "|Kasa takibi...",
        .tabSheet = "TabSheet6",
        .create = makePage<KasaPage>,
        .count = {{"  Kayıt Sayısı : ", "Kasa"}},
        .currentLabel = "  Dönem : ",
        .currentBoxes = {"DBEdit82"},
        .boxSeparator = "",
        .datasets =
            {
                {"Kasa", "DSKasa", "Select * From Kasa", nullptr},
                {"Kasa1", "DSKasa1", "Select * From Kasa1 where SiraNo=:SiraNo", "Kasa"},
            },
        .toolBars =
            {
                {"ToolBar15", "Kasa", "Kasa", "", "ToolButton118", "DBEdit82", "ToolButton119", "Aylar",
                 " dönem kayıtları silinecek. Onaylıyor musunuz?", 30},
                {"ToolBar16", "Kasa1", "Kasa", "1", "ToolButton127", "DBEdit83", "ToolButton128", "Tarih",
                 " tarihli kayıtlar silinecek. Onaylıyor musunuz?", 30},
            },
        .grids =
            {
                {"SrDBGrid16", "Kasa", "KASA TAKİP: ay listesi", {{"Aylar", nullptr, 126}}},
                {"SrDBGrid17", "Kasa1", "KASA TAKİP: aylık kasa",
                 {{"Tarih", "TARİH", 80},
                  {"KKTahsis", "K.K TAHS."},
                  {"KKTediye", "K.K TEDİYE"},
                  {"Tahsilat", "TAHSİLAT"},
                  {"Tediye", "TEDİYE"},
                  {"Cari", "CARİ", 80},
                  {"Aciklama", "AÇIKLAMA"}}},
            },
        .searches =
            {
                {"Edit11", nullptr, {{"", "Aylar"}}, "Kasa", "SpeedButton8"},
            },
        .printButtons =
            {
                {"BitBtn7", "RpKasa", "Rp6", {{"Memo35", PrintCellSource::Setting, "Mhs1", ""}, boxCell("Memo4", "DBEdit82")}},
            },
        .savedTotals = {},
    };
    return def;
}

} // namespace tk
