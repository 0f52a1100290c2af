#include "CariPage.h"

namespace tk {

const PageDef &cariPageDef()
{
    static const PageDef def = {
        .button = "RzButton4",
        .caption = "CARİ HESAPLAR",
        .hint = "|Cari hesaplar...",
        .tabSheet = "TabSheet4",
        .create = makePage<CariPage>,
        .count = {{"  Kayıt Sayısı : ", "Cari"}},
        .currentLabel = "  Firma : ",
        .currentBoxes = {"DBEdit59"},
        .boxSeparator = "",
        .datasets =
            {
                {"Cari", "DSCari", "Select * From Cari Order By Firma", nullptr},
                {"Cari1", "DSCari1", "Select * From Cari1 where SiraNo=:SiraNo", "Cari"},
            },
        .toolBars =
            {
                {"ToolBar9", "Cari", "Cari", "", "ToolButton64", "DBEdit59", "ToolButton65", "Firma",
                 " adlı kayıtları silinecek. Onaylıyor musunuz?", 30},
                {"ToolBar10", "Cari1", "Cari", "1", "ToolButton73", "DBEdit61", "ToolButton74", "FatNo",
                 " numaralı fatura bilgiler silinecek. Onaylıyor musunuz?", 30},
            },
        .grids =
            {
                {"SrDBGrid10", "Cari", "CARİ HESAPLAR: firma listesi", {{"Firma", "FİRMALAR", 126}}},
                {"SrDBGrid11", "Cari1", "CARİ HESAPLAR: faturalar",
                 {{"FatNo", "Fat. No"},
                  {"FatTarihi", "Fat. Tarihi"},
                  {"Tipi"},
                  {"Tutar"},
                  {"Iskonto", "İskonto", 200},
                  {"Kdv"},
                  {"Toplam"},
                  {"Odenen", "Ödenen"},
                  {"Kalan", nullptr, 0, true}}},
            },
        .searches =
            {
                {"Edit8", nullptr, {{"", "Firma"}}, "Cari", "SpeedButton6"},
            },
        .printButtons =
            {
                {"BitBtn5", "RpCari", "Rp4",
                 {boxCell("Memo5", "DBEdit59"), {"Memo24", PrintCellSource::Box, "Edit13", " TL"}, {"Memo25", PrintCellSource::Box, "Edit14", " TL"}}},
            },
        .savedTotals =
            {
                {"Cari", "--O", "Edit13"},
                {"Cari", "--K", "Edit14"},
            },
    };
    return def;
}

} // namespace tk
