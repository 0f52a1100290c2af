#include "SearchBoxes.h"

#include "TurkishOrder.h"

#include "controls/Hints.h"
#include "controls/RecordArea.h"
#include "controls/TurkishTyping.h"
#include "controls/UiSeam.h"

#include <QStyle>

namespace tk {

const QVector<SearchDef> &searchDefs()
{
    static const QVector<SearchDef> defs = {
        {"Edit1", "ComboBox2",
         {{"Araç Plakasına Göre", "AracPlaka"}, {"Araç Markasına Göre", "AracCinsi"}, {"Müşteri Koduna Göre", "MusteriKodu"}},
         "MusTakip", "SpeedButton1"},
        {"Edit3", nullptr, {{"", "Aylar"}}, "FatTakip", "SpeedButton2"},
        {"Edit5", "ComboBox3",
         {{"Araç Plakasına Göre", "Plaka"}, {"Araç Markasına Göre", "AracTipi"}, {"Dosya No'ya Göre", "DosyaNo"}},
         "HasTakip", "SpeedButton3"},
        {"Edit6", "ComboBox1", {{"Stok Koduna Göre", "StokKodu"}, {"Stok Adına Göre", "StokAdi"}}, "Stok", "SpeedButton4"},
        {"Edit7", nullptr, {{"", "Aylar"}}, "IrsaliyeUst", "SpeedButton5"},
        {"Edit8", nullptr, {{"", "Firma"}}, "Cari", "SpeedButton6"},
        {"Edit10", nullptr, {{"", "Aylar"}}, "Odeme", "SpeedButton7"},
        {"Edit11", nullptr, {{"", "Aylar"}}, "Kasa", "SpeedButton8"},
        {"Edit12", nullptr, {{"", "Aylar"}}, "Maas", "SpeedButton9"},
    };
    return defs;
}

const SearchDef &searchDef(const QString &box)
{
    for (const SearchDef &def : searchDefs())
        if (box == QLatin1String(def.box))
            return def;
    throw Error(QStringLiteral("Arama kutusu bulunamadı: %1").arg(box));
}

SearchStatement searchStatement(const QString &table, const QString &column, const QString &typed)
{
    const Condition match = beginsWith(column, typed);
    return {QStringLiteral("SELECT * FROM %1 WHERE %2").arg(table, match.sql), match.params};
}

void runSearch(const SearchDef &def, DataModule *data, QWidget *page)
{
    QWidget *window = recordArea(page);
    auto *box = window->findChild<QLineEdit *>(QString::fromLatin1(def.box));
    Dataset *ds = data->dataset(QString::fromLatin1(def.dataset));

    // The column: fixed, or the selector's entry; a selector typed over
    // (no entry chosen) leaves the statement as it is.
    QString column;
    if (!def.selector) {
        column = QString::fromLatin1(def.entries.first().second);
    } else if (auto *selector = window->findChild<QComboBox *>(QString::fromLatin1(def.selector))) {
        const int i = selector->currentIndex();
        if (i >= 0 && i < def.entries.size() && selector->currentText() == selector->itemText(i))
            column = QString::fromLatin1(def.entries[i].second);
    }
    if (!column.isEmpty()) {
        // A changed row is saved before the list is replaced, as leaving it would.
        ds->checkBrowseMode();
        const SearchStatement search = searchStatement(ds->table(), column, box->text());
        ds->setSql(search.sql, search.params);
        ds->first();
    }
    if (ds->isOpen() && ds->rowCount() == 0) {
        ui().inform(page, QStringLiteral("Bilgi"), QStringLiteral("Aradığınız kriterlere uygun birim kaydı bulunamadı."));
        box->clear(); // itself a change: the search runs again with an empty text
    }
}

void clearAllSearches(QWidget *window)
{
    for (const SearchDef &def : searchDefs())
        if (auto *box = window->findChild<QLineEdit *>(QString::fromLatin1(def.box)))
            box->setText(QString());
}

SearchWidgets createSearchBox(const QString &boxName, DataModule *data, QWidget *page)
{
    const SearchDef &def = searchDef(boxName);
    SearchWidgets w;
    if (def.selector) {
        w.selector = new QComboBox(page);
        w.selector->setObjectName(QString::fromLatin1(def.selector));
        w.selector->setEditable(true);
        w.selector->setInsertPolicy(QComboBox::NoInsert);
        for (const auto &entry : def.entries)
            w.selector->addItem(QString::fromUtf8(entry.first));
        w.selector->setCurrentIndex(0);
        w.selector->setAccessibleName(QStringLiteral("Arama ölçütü"));
    }
    w.box = new QLineEdit(page);
    w.box->setObjectName(boxName);
    w.box->setAccessibleName(QStringLiteral("Arama"));
    attachUpperCaseTyping(w.box);
    QObject::connect(w.box, &QLineEdit::textChanged, page, [&def, data, page] {
        guarded(page, [&] { runSearch(def, data, page); });
    });
    w.clear = new QToolButton(page);
    w.clear->setObjectName(QString::fromLatin1(def.clearButton));
    w.clear->setAutoRaise(true);
    w.clear->setIcon(page->style()->standardIcon(QStyle::SP_LineEditClearButton));
    w.clear->setAccessibleName(QStringLiteral("Aramayı temizle"));
    QObject::connect(w.clear, &QToolButton::clicked, page, [page] { clearAllSearches(recordArea(page)); });
    return w;
}

} // namespace tk
