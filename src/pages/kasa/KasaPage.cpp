#include "KasaPage.h"

#include <QGridLayout>

namespace tk {

namespace {
const PeriodPageDef kKasa = {"DBEdit82", "|Kasa takip listesi yazdır...", "AYLIK KASA"};

constexpr int kPerRow = 3;

// Three rows of three, the description alone on the last over the full
// width of the panel; the order is the tab order.
const QVector<BoxPlace> kEntryBoxes = {
    {"DBEdit83", "Tarih", "TARİH :", 0, 0},       {"DBEdit85", "KKTahsis", "K.K TAHS. :", 0, 1},
    {"DBEdit86", "KKTediye", "K.K TEDİYE :", 0, 2}, {"DBEdit87", "Tahsilat", "TAHSİLAT :", 1, 0},
    {"DBEdit88", "Tediye", "TEDİYE :", 1, 1},     {"DBEdit89", "Cari", "CARİ :", 1, 2},
    {"DBEdit90", "Aciklama", "AÇIKLAMA :", 2, 0, kPerRow * 2 - 1},
};
} // namespace

KasaPage::KasaPage(const PageContext &context, QWidget *parent) : PeriodPage(kasaPageDef(), context, parent, kKasa)
{
    QGridLayout *grid = entryBoxes();
    placeBoxes(grid, QStringLiteral("Kasa1"), kEntryBoxes);
    for (int c = 1; c < kPerRow * 2; c += 2)
        grid->setColumnStretch(c, 1);
}

} // namespace tk
