#include "SenetPage.h"

namespace tk {

const PageDef &senetPageDef()
{
    static const PageDef def = {
        .button = "RzButton8",
        .caption = "SENET TAKİP",
        .hint = "|Verielen - alınan senetler...",
        .tabSheet = "TabSheet8",
        .create = makePage<SenetPage>,
        .count = {{"  V. Senet : ", "SenetVer"}, {" /  A. Senet : ", "SenetAl"}},
        .currentLabel = "  Senet No : ",
        .currentBoxes = {"DBEdit60", "DBEdit74"},
        .boxSeparator = " | ",
        .datasets =
            {
                {"SenetVer", "DSSenetVer", "Select * From SenetVer", nullptr},
                {"SenetAl", "DSSenetAl", "Select * From SenetAl", nullptr},
            },
        .toolBars =
            {
                {"ToolBar11", "SenetVer", "SenetVer", "", "ToolButton82", "DBEdit60", "ToolButton83", "SenetNo",
                 " numaralı VERİLEN SENET kayıtları silinecek. Onaylıyor musunuz?", 24},
                {"ToolBar12", "SenetAl", "SenetAl", "", "ToolButton91", "DBEdit74", "ToolButton92", "SenetNo",
                 " numaralı ALINAN SENET kayıtları silinecek. Onaylıyor musunuz?", 24},
            },
        .grids =
            {
                {"SrDBGrid13", "SenetVer", "SENET TAKİP: verilen senetler",
                 {{"SenetNo", "Senet No"}, {"VadeTarihi"}, {"Banka"}, {"V_Firma", "Verilen Firma"}, {"Tutar"}}},
                {"SrDBGrid12", "SenetAl", "SENET TAKİP: alınan senetler",
                 {{"SenetNo", "Senet No"}, {"VadeTarihi"}, {"Banka"}, {"A_Firma", "Alınan Firma"}, {"Tutar"}}},
            },
        .searches = {},
        .printButtons =
            {
                {"BitBtn9", "RpSenetVer", "Rp9", {}},
                {"BitBtn10", "RpSenetAl", "Rp8", {}},
            },
        .savedTotals = {},
    };
    return def;
}

} // namespace tk
