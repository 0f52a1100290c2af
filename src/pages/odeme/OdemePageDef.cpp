#include "OdemePage.h"

namespace tk {

const PageDef &odemePageDef()
{
    static const PageDef def = {
        .button = "RzButton9",
        .caption = "ÖDEME PLANI",
        .hint = "|Ödeme planı...",
        .tabSheet = "TabSheet7",
        .create = makePage<OdemePage>,
        .count = {{"  Kayıt Sayısı : ", "Odeme"}},
        .currentLabel = "  Dönem : ",
        .currentBoxes = {"DBEdit79"},
        .boxSeparator = "",
        .datasets =
            {
                {"Odeme", "DSOdeme", "Select * From Odeme", nullptr},
                {"Odeme1", "DSOdeme1", "Select * From Odeme1 where SiraNo=:SiraNo", "Odeme"},
            },
        .toolBars =
            {
                {"ToolBar13", "Odeme", "Odeme", "", "ToolButton100", "DBEdit79", "ToolButton101", "Aylar",
                 " ay kayıtları silinecek. Onaylıyor musunuz?", 30},
                {"ToolBar14", "Odeme1", "Odeme", "1", "ToolButton109", "DBEdit80", "ToolButton110", "Tarih",
                 " tarihli kayıt bilgiler silinecek. Onaylıyor musunuz?", 30},
            },
        .grids =
            {
                {"SrDBGrid14", "Odeme", "ÖDEME PLANI: ay listesi", {{"Aylar", nullptr, 126}}},
                {"SrDBGrid15", "Odeme1", "ÖDEME PLANI: ödemeler",
                 {{"Tarih"}, {"Aciklama", "Açıklama", 361}, {"Tutar", "TUTAR"}}},
            },
        .searches =
            {
                {"Edit10", nullptr, {{"", "Aylar"}}, "Odeme", "SpeedButton7"},
            },
        .printButtons =
            {
                {"BitBtn8", "RpOdeme", "Rp7", {boxCell("Memo4", "DBEdit79")}},
            },
        .savedTotals =
            {
                {"Odeme", "--T", "Edit15"},
            },
    };
    return def;
}

} // namespace tk
