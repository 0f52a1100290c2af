#include "KasaPage.h"

#include <QGridLayout>

namespace tk {

namespace {
const PeriodPageDef kKasa = {
    "Edit11", "SrDBGrid16", "ToolBar15", "DBEdit82", "Kasa", "BitBtn7", "|Kasa takip listesi yazdır...",
    "AYLIK KASA", "ToolBar16", "SrDBGrid17",
};

struct EntryBox {
    const char *name;
    const char *field;
    const char *label;
};
// Three rows of three, the description alone on the last; the order is the tab order.
const EntryBox kEntryBoxes[] = {
    {"DBEdit83", "Tarih", "TARİH :"},       {"DBEdit85", "KKTahsis", "K.K TAHS. :"},
    {"DBEdit86", "KKTediye", "K.K TEDİYE :"}, {"DBEdit87", "Tahsilat", "TAHSİLAT :"},
    {"DBEdit88", "Tediye", "TEDİYE :"},     {"DBEdit89", "Cari", "CARİ :"},
    {"DBEdit90", "Aciklama", "AÇIKLAMA :"},
};
constexpr int kPerRow = 3;
} // namespace

KasaPage::KasaPage(const PageContext &context, QWidget *parent) : PeriodPage(context, parent, kKasa)
{
    QGridLayout *grid = entryBoxes();
    int index = 0;
    for (const EntryBox &e : kEntryBoxes) {
        DBEdit *box = boundEdit(QString::fromLatin1(e.name), QStringLiteral("Kasa1"), QString::fromLatin1(e.field));
        const int row = index / kPerRow;
        const int column = (index % kPerRow) * 2;
        grid->addWidget(labelFor(QString::fromUtf8(e.label), box), row, column, Qt::AlignRight | Qt::AlignVCenter);
        if (QLatin1String(e.field) == QLatin1String("Aciklama"))
            grid->addWidget(box, row, column + 1, 1, kPerRow * 2 - 1); // the full width of the panel
        else
            grid->addWidget(box, row, column + 1);
        ++index;
    }
    for (int c = 1; c < kPerRow * 2; c += 2)
        grid->setColumnStretch(c, 1);
}

} // namespace tk
