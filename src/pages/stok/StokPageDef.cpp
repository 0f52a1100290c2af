#include "StokPage.h"

namespace tk {

namespace {
constexpr const char *kListFont = "Microsoft Sans Serif";
} // namespace

const PageDef &stokPageDef()
{
    static const PageDef def = {
        .button = "RzButton7",
        .caption = "STOK LİSTESİ",
        .hint = "|Stoktaki ürünler...",
        .tabSheet = "TabSheet9",
        .create = makePage<StokPage>,
        .count = {{"  Kayıt Sayısı : ", "Stok"}},
        .currentLabel = "  Stok Kodu : ",
        .currentBoxes = {"DBEdit47"},
        .boxSeparator = "",
        .datasets =
            {
                {"Stok", "DSStok", "Select * From Stok", nullptr},
            },
        .toolBars =
            {
                {"ToolBar7", "Stok", "Stok", "", "ToolButton46", "DBEdit47", "ToolButton47", "StokKodu",
                 " kodlu YEDEK PARÇA silinecek. Onaylıyor musunuz?", 30},
            },
        .grids =
            {
                {"SrDBGrid6", "Stok", "STOK LİSTESİ: stok kodları",
                 {{"StokKodu", "STOK KODU", 126, false, kListFont}}},
                {"SrDBGrid7", "Stok", "STOK LİSTESİ: stok kartları",
                 {{"StokKodu", "STOK KODU", 120},
                  {"StokAdi", "STOK ADI", 200},
                  {"Adet", "ADEDİ"},
                  {"Raf", "RAF NO", 100},
                  {"Alis", "ALIŞ FİYATI"},
                  {"Satis", "SATIŞ FİYATI"}}},
            },
        .searches =
            {
                {"Edit6", "ComboBox1", {{"Stok Koduna Göre", "StokKodu"}, {"Stok Adına Göre", "StokAdi"}}, "Stok", "SpeedButton4"},
            },
        .printButtons =
            {
                {"BitBtn11", "RpStok", "Rp10", {}},
            },
        .savedTotals = {},
    };
    return def;
}

} // namespace tk
