#include "GridTable.h"

#include "DatasetCursor.h"
#include "DatasetModel.h"
#include "RecordKeys.h"
#include "controls/UiSeam.h"

#include <QHeaderView>

namespace tk {

namespace {
constexpr const char *kListFont = "Microsoft Sans Serif";
constexpr int kMinimumColumnWidth = 64;
} // namespace

const QVector<GridDef> &gridDefs()
{
    static const QVector<GridDef> defs = {
        {"SrDBGrid1", "MusTakip", "MÜŞTERİ TAKİP: araç listesi",
         {{"AracPlaka", "ARAÇ PLAKASI", 126, false, kListFont}}},
        {"SrDBGrid2", "MusTakip1", "MÜŞTERİ TAKİP: yapılan işlemler",
         {{"Islem", "YAPILAN İŞLEM", 180}, {"Tutar", "TUTAR"}}},
        {"SrDBGrid5", "HasTakip", "HASAR TAKİP: hasarlı araç listesi",
         {{"Plaka", "HAS. ARAÇ PLAKASI", 126}}},
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
        {"SrDBGrid16", "Kasa", "KASA TAKİP: ay listesi", {{"Aylar", nullptr, 126}}},
        {"SrDBGrid17", "Kasa1", "KASA TAKİP: aylık kasa",
         {{"Tarih", "TARİH", 80},
          {"KKTahsis", "K.K TAHS."},
          {"KKTediye", "K.K TEDİYE"},
          {"Tahsilat", "TAHSİLAT"},
          {"Tediye", "TEDİYE"},
          {"Cari", "CARİ", 80},
          {"Aciklama", "AÇIKLAMA"}}},
        {"SrDBGrid14", "Odeme", "ÖDEME PLANI: ay listesi", {{"Aylar", nullptr, 126}}},
        {"SrDBGrid15", "Odeme1", "ÖDEME PLANI: ödemeler",
         {{"Tarih"}, {"Aciklama", "Açıklama", 361}, {"Tutar", "TUTAR"}}},
        {"SrDBGrid13", "SenetVer", "SENET TAKİP: verilen senetler",
         {{"SenetNo", "Senet No"}, {"VadeTarihi"}, {"Banka"}, {"V_Firma", "Verilen Firma"}, {"Tutar"}}},
        {"SrDBGrid12", "SenetAl", "SENET TAKİP: alınan senetler",
         {{"SenetNo", "Senet No"}, {"VadeTarihi"}, {"Banka"}, {"A_Firma", "Alınan Firma"}, {"Tutar"}}},
        {"SrDBGrid6", "Stok", "STOK LİSTESİ: stok kodları",
         {{"StokKodu", "STOK KODU", 126, false, kListFont}}},
        {"SrDBGrid7", "Stok", "STOK LİSTESİ: stok kartları",
         {{"StokKodu", "STOK KODU", 120},
          {"StokAdi", "STOK ADI", 200},
          {"Adet", "ADEDİ"},
          {"Raf", "RAF NO", 100},
          {"Alis", "ALIŞ FİYATI"},
          {"Satis", "SATIŞ FİYATI"}}},
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
    };
    return defs;
}

const GridDef *findGridDef(const QString &gridName)
{
    for (const GridDef &def : gridDefs())
        if (gridName == QLatin1String(def.grid))
            return &def;
    return nullptr;
}

void applyMainWindowAppearance(TSrDBGrid *grid)
{
    grid->setColor(QColor(244, 242, 242));
    grid->setColorAlternative(Qt::white);
    grid->setColorSelect(QColor(214, 223, 247));
    grid->setColorSelectText(Qt::black);
    grid->setMoveByRows(1);
    grid->setTitleColor(QColor(192, 192, 192));
    QFont title(QStringLiteral("MS Sans Serif"));
    title.setPixelSize(11);
    grid->setTitleFont(title);
}

TSrDBGrid *createGrid(const QString &gridName, DataModule &data, QWidget *parent)
{
    const GridDef *def = findGridDef(gridName);
    if (!def)
        throw Error(QStringLiteral("Tanımsız liste: %1").arg(gridName));
    Dataset *dataset = data.dataset(QString::fromLatin1(def->dataset));

    QVector<GridColumn> columns;
    for (const GridColumnDef &c : def->columns) {
        const QString field = QString::fromLatin1(c.field);
        columns.append({field, c.title ? QString::fromUtf8(c.title) : field, c.width});
    }

    auto *grid = new TSrDBGrid(parent);
    grid->setObjectName(gridName);
    grid->setAccessibleName(QString::fromUtf8(def->what));
    setRecordPart(grid, dataset->name());
    applyMainWindowAppearance(grid);
    auto *model = new DatasetModel(dataset, columns, grid);
    auto *cursor = new DatasetCursor(dataset, grid);
    grid->setSource(model, cursor);

    const QFontMetrics titleMetrics(grid->titleFont());
    for (int i = 0; i < columns.size(); ++i) {
        const GridColumnDef &c = def->columns[i];
        if (c.font) {
            QFont f = grid->font();
            f.setFamily(QString::fromLatin1(c.font));
            grid->setColumnFont(i, f);
        }
        int width = c.width > 0 ? c.width
                                : std::max(kMinimumColumnWidth,
                                           titleMetrics.horizontalAdvance(columns[i].title) + 12);
        // A date column without a width of its own still shows a whole date.
        if (c.width == 0 && dataset->fieldKind(columns[i].field) == FieldKind::Date)
            width = std::max(width, grid->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000")) + 12);
        grid->setColumnWidth(i, width);
        grid->setColumnHidden(i, c.hidden);
    }

    // A new record that holds no entry yet goes when the user leaves the list.
    QObject::connect(grid, &TSrDBGrid::exited, dataset, [grid, dataset] {
        guarded(grid, [dataset] {
            if (dataset->state() == Dataset::State::Insert && !dataset->isModified())
                dataset->cancel();
        });
    });
    return grid;
}

} // namespace tk
