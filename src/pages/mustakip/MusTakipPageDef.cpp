#include "MusTakipPage.h"

namespace tk {

namespace {
constexpr const char *kListFont = "Microsoft Sans Serif";
} // namespace

const PageDef &musTakipPageDef()
{
    static const PageDef def = {
        .button = "RzButton1",
        .caption = "MÜŞTERİ TAKİP",
        .hint = "|Müşteri takip...",
        .tabSheet = "TabSheet1",
        .create = makePage<MusTakipPage>,
        .count = {{"  Kayıtlı Araç : ", "MusTakip"}},
        .currentLabel = "  Aktif : ",
        .currentBoxes = {"DBEdit2"},
        .boxSeparator = "",
        .datasets =
            {
                {"MusTakip", "DS1", "Select * From MusTakip Order By Tarih", nullptr},
                {"MusTakip1", "DS1_1", "Select * From MusTakip1 where SiraNo=:SiraNo", "MusTakip"},
            },
        .toolBars =
            {
                {"ToolBar2", "MusTakip", "Mus", "", "ToolButton1", "DBEdit1", "ToolButton2", "AracPlaka",
                 " plaka/isim içeren tüm bilgiler silinecek. Onaylıyor musunuz?", 30},
                {"ToolBar3", "MusTakip1", "Mus", "1", "ToolButton10", "DBEdit10", "ToolButton11", "Islem",
                 " işlemi silinecek. Onaylıyor musunuz?", 25},
            },
        .grids =
            {
                {"SrDBGrid1", "MusTakip", "MÜŞTERİ TAKİP: araç listesi",
                 {{"AracPlaka", "ARAÇ PLAKASI", 126, false, kListFont}}},
                {"SrDBGrid2", "MusTakip1", "MÜŞTERİ TAKİP: yapılan işlemler",
                 {{"Islem", "YAPILAN İŞLEM", 180}, {"Tutar", "TUTAR"}}},
            },
        .searches =
            {
                {"Edit1", "ComboBox2",
                 {{"Araç Plakasına Göre", "AracPlaka"}, {"Araç Markasına Göre", "AracCinsi"}, {"Müşteri Koduna Göre", "MusteriKodu"}},
                 "MusTakip", "SpeedButton1"},
            },
        .printButtons =
            {
                {"BitBtn3", "RpMusTakip", "Rp1",
                 {boxCell("Memo26", "DBEdit1"), boxCell("Memo32", "DBEdit6"), boxCell("Memo27", "DBEdit12"),
                  boxCell("Memo28", "DBEdit2"), boxCell("Memo29", "DBEdit3"), boxCell("Memo30", "DBEdit4"),
                  boxCell("Memo31", "DBEdit5"), boxCell("Memo33", "DBEdit7"), boxCell("Memo34", "DBEdit8"),
                  boxCell("Memo35", "DBEdit9"), boxCell("Memo36", "DBMemo1"), boxCell("Memo37", "DBMemo2")}},
            },
        .savedTotals =
            {
                {"MusTakipToplam", "--", "Edit2"},
            },
    };
    return def;
}

} // namespace tk
