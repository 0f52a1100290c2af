#include "HasTakipPage.h"

#include "data/GridTable.h"
#include "pages/PageParts.h"
#include "pages/shared/PrintButton.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

namespace {

struct BoxDef {
    const char *label;
    const char *name;
    const char *field;
};

// In tab order within each group.
const BoxDef damagedVehicle[] = {
    {"Dosya No :", "DBEdit26", "DosyaNo"},
    {"Kazalı Araç Plakası :", "DBEdit27", "Plaka"},
    {"Kazalı Araç Tipi :", "DBEdit28", "AracTipi"},
    {"Kazalı Araç Modeli :", "DBEdit29", "AracModeli"},
    {"Kazalı Araç Sahibi :", "DBEdit30", "AracSahibi"},
    {"K. Araç Sahibi TC No :", "DBEdit31", "AracSahibiTC"},
    {"Kaza Tarihi :", "DBEdit32", "KazaTarihi"},
    {"Kazalı Sigorta Firması :", "DBEdit33", "SigortaFirma"},
    {"Kazalı Poliçe No :", "DBEdit24", "PoliceNo"},
    {"Kaza Nedeni :", "DBEdit25", "KazaNedeni"},
};

const BoxDef otherParty[] = {
    {"Karşı Araç Plakası :", "DBEdit34", "KarsiAracPlaka"},
    {"Karşı Araç Tipi :", "DBEdit35", "KarsiAracTipi"},
    {"Kusur :", "DBEdit36", "Kusur"},
    {"Exper Adı :", "DBEdit37", "Exper"},
    {"Exper Telefonu : ", "DBEdit38", "ExperTel"},
    {"Vekaletname :", "DBEdit39", "Vekalet"},
    {"Ödeme Tarihi :", "DBEdit43", "OdemeTarihi"},
    {"Ödeme :", "DBEdit40", "Odeme"},
    {"Fatura Numarası :", "DBEdit41", "FatNo"},
    {"Tahmini Hasar :", "DBEdit42", "TahminiHasar"},
};

} // namespace

HasTakipPage::HasTakipPage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    const QString files = QStringLiteral("HasTakip");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(searchColumn(searchBox(QStringLiteral("Edit5")),
                                   createGrid(QStringLiteral("SrDBGrid5"), *context.data, this), this));

    auto *right = new QVBoxLayout;
    auto *strip = new QHBoxLayout;
    strip->addWidget(recordToolBar(QStringLiteral("ToolBar6")));
    strip->addStretch();
    strip->addWidget(createPrintButton(QStringLiteral("BitBtn2"), QStringLiteral("|Hasar takip formu yazdır..."), this));
    right->addLayout(strip);

    QVector<QWidget *> tabOrder;
    DBMemo *note = boundMemo(QStringLiteral("DBMemo3"), files, QStringLiteral("Aciklama"));
    tabOrder << note;
    const auto group = [&](const char *accessibleName, const auto &defs) {
        auto *box = new QGroupBox(this);
        box->setAccessibleName(QString::fromUtf8(accessibleName));
        auto *grid = new QGridLayout(box);
        grid->setVerticalSpacing(3);
        QVector<QPair<QString, QWidget *>> rows;
        for (const BoxDef &def : defs) {
            DBEdit *edit = boundEdit(QLatin1String(def.name), files, QLatin1String(def.field));
            edit->setMinimumWidth(110);
            rows.append({QString::fromUtf8(def.label), edit});
            tabOrder << edit;
        }
        addRows(grid, rows);
        return box;
    };
    auto *groups = new QHBoxLayout;
    groups->addWidget(group("Kazalı araç", damagedVehicle));
    groups->addWidget(group("Karşı araç, eksper ve ödeme", otherParty));
    right->addLayout(groups);
    right->addWidget(labelFor(QStringLiteral("Açıklama :"), note));
    right->addWidget(note, 1);
    layout->addLayout(right, 1);

    // The note comes first, then the damaged vehicle, then the other party.
    for (int i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

} // namespace tk
