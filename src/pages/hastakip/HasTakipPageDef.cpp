#include "HasTakipPage.h"

namespace tk {

const PageDef &hasTakipPageDef()
{
    static const PageDef def = {
        .button = "RzButton2",
        .caption = "HASAR TAKİP",
        .hint = "|Hasar takip...",
        .tabSheet = "TabSheet2",
        .create = makePage<HasTakipPage>,
        .count = {{"  Kayıtlı Araç : ", "HasTakip"}},
        .currentLabel = "  Aktif : ",
        .currentBoxes = {"DBEdit27"},
        .boxSeparator = "",
        .datasets =
            {
                {"HasTakip", "DSHasTakip", "Select * From HasTakip", nullptr},
            },
        .toolBars =
            {
                {"ToolBar6", "HasTakip", "Has", "", "ToolButton37", "DBEdit26", "ToolButton38", "Plaka",
                 " plakalı araca ait HASAR TESPİT bilgiler silinecek. Onaylıyor musunuz?", 30},
            },
        .grids =
            {
                {"SrDBGrid5", "HasTakip", "HASAR TAKİP: hasarlı araç listesi",
                 {{"Plaka", "HAS. ARAÇ PLAKASI", 126}}},
            },
        .searches =
            {
                {"Edit5", "ComboBox3",
                 {{"Araç Plakasına Göre", "Plaka"}, {"Araç Markasına Göre", "AracTipi"}, {"Dosya No'ya Göre", "DosyaNo"}},
                 "HasTakip", "SpeedButton3"},
            },
        .printButtons =
            {
                {"BitBtn2", "RpHasar", "Rp2",
                 {boxCell("Memo4", "DBEdit27"), boxCell("Memo5", "DBEdit26"), boxCell("Memo25", "DBEdit28"),
                  boxCell("Memo26", "DBEdit29"), boxCell("Memo27", "DBEdit30"), boxCell("Memo28", "DBEdit31"),
                  boxCell("Memo29", "DBEdit32"), boxCell("Memo30", "DBEdit33"), boxCell("Memo31", "DBEdit24"),
                  boxCell("Memo32", "DBEdit25"), boxCell("Memo33", "DBEdit34"), boxCell("Memo34", "DBEdit35"),
                  boxCell("Memo35", "DBEdit36"), boxCell("Memo36", "DBEdit37"), boxCell("Memo37", "DBEdit38"),
                  boxCell("Memo38", "DBEdit39"), boxCell("Memo39", "DBEdit43"), boxCell("Memo40", "DBEdit40"),
                  boxCell("Memo41", "DBEdit41"), boxCell("Memo42", "DBEdit42"), boxCell("Memo43", "DBMemo3")}},
            },
        .savedTotals = {},
    };
    return def;
}

} // namespace tk
