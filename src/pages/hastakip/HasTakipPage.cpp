#include "HasTakipPage.h"

#include "pages/PageParts.h"
#include "pages/shared/PrintButton.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

namespace {

// In tab order within each group.
const QVector<BoxPlace> damagedVehicle = {
    {"DBEdit26", "DosyaNo", "Dosya No :", 0, 0},
    {"DBEdit27", "Plaka", "Kazalı Araç Plakası :", 1, 0},
    {"DBEdit28", "AracTipi", "Kazalı Araç Tipi :", 2, 0},
    {"DBEdit29", "AracModeli", "Kazalı Araç Modeli :", 3, 0},
    {"DBEdit30", "AracSahibi", "Kazalı Araç Sahibi :", 4, 0},
    {"DBEdit31", "AracSahibiTC", "K. Araç Sahibi TC No :", 5, 0},
    {"DBEdit32", "KazaTarihi", "Kaza Tarihi :", 6, 0},
    {"DBEdit33", "SigortaFirma", "Kazalı Sigorta Firması :", 7, 0},
    {"DBEdit24", "PoliceNo", "Kazalı Poliçe No :", 8, 0},
    {"DBEdit25", "KazaNedeni", "Kaza Nedeni :", 9, 0},
};

const QVector<BoxPlace> otherParty = {
    {"DBEdit34", "KarsiAracPlaka", "Karşı Araç Plakası :", 0, 0},
    {"DBEdit35", "KarsiAracTipi", "Karşı Araç Tipi :", 1, 0},
    {"DBEdit36", "Kusur", "Kusur :", 2, 0},
    {"DBEdit37", "Exper", "Exper Adı :", 3, 0},
    {"DBEdit38", "ExperTel", "Exper Telefonu : ", 4, 0},
    {"DBEdit39", "Vekalet", "Vekaletname :", 5, 0},
    {"DBEdit43", "OdemeTarihi", "Ödeme Tarihi :", 6, 0},
    {"DBEdit40", "Odeme", "Ödeme :", 7, 0},
    {"DBEdit41", "FatNo", "Fatura Numarası :", 8, 0},
    {"DBEdit42", "TahminiHasar", "Tahmini Hasar :", 9, 0},
};

} // namespace

HasTakipPage::HasTakipPage(const PageContext &context, QWidget *parent) : RecordPage(hasTakipPageDef(), context, parent)
{
    const QString files = QStringLiteral("HasTakip");
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(searchColumn(searchBox(QStringLiteral("Edit5")),
                                   list(QStringLiteral("SrDBGrid5")), this));

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
        for (DBEdit *edit : placeBoxes(grid, files, defs)) {
            edit->setMinimumWidth(110);
            tabOrder << edit;
        }
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
