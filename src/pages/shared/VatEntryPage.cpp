#include "VatEntryPage.h"

#include "controls/QiroEdit.h"
#include "core/UiSeam.h"
#include "pages/PageParts.h"
#include "pages/fattakip/InvoiceMath.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace tk {

VatEntryPage::VatSheet VatEntryPage::buildVatSheet(const VatSheetDef &def, std::function<void()> compute)
{
    VatSheet s;
    s.sheet = new QWidget;
    auto *layout = new QVBoxLayout(s.sheet);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(recordToolBar(def.toolBar));

    s.grid = new QGridLayout;
    s.grid->setVerticalSpacing(3);
    s.boxes = placeBoxes(s.grid, def.dataset, def.boxes);
    s.vat = boundEdit(def.vatBox, def.dataset, QStringLiteral("Kdv"));
    s.vat->setAccessibleName(QStringLiteral("KDV tutarı"));
    s.vat->setFixedWidth(70);
    for (DBEdit *box : std::as_const(s.boxes))
        if (box->field() == QLatin1String("Toplam"))
            for (DBEdit *computed : {s.vat, box}) {
                computed->setAlwaysReadOnly(true);
                showAsTotal(computed);
            }

    Dataset *entries = dataset(def.dataset);
    s.addVat = m_addVat = new DBCheckBox(entries, def.checkField, QStringLiteral("Kdv Ekle"), s.sheet);
    m_addVat->setObjectName(def.checkBox);
    s.compute = new QPushButton(QStringLiteral("Hesapla"), s.sheet);
    s.compute->setObjectName(def.computeButton);
    connect(s.compute, &QPushButton::clicked, this, [this, compute] { guarded(this, compute); });
    m_vatField = hiddenAmountField(def.vatField, s.sheet);

    auto *vatRow = new QHBoxLayout;
    vatRow->addWidget(m_addVat);
    vatRow->addWidget(s.vat);
    s.grid->addLayout(vatRow, 0, 4);
    s.grid->addWidget(s.compute, 1, 4, Qt::AlignLeft);
    layout->addLayout(s.grid);
    layout->addWidget(list(def.list, s.sheet), 1);
    s.panel = singleTabPanel(QStringLiteral("FATURALAR          "), s.sheet, this);
    return s;
}

bool VatEntryPage::addsVat() const { return m_addVat->isChecked(); }

double VatEntryPage::vatRateFor(bool addVat) const
{
    return addVat ? vatRate(context().setting(QStringLiteral("Kdv"))) : 0.0;
}

void VatEntryPage::storeVat(Dataset &row, bool addVat, double kdv) const
{
    m_vatField->setTextAsFloat(kdv);
    if (addVat)
        row.setValue(QStringLiteral("Kdv"), kdv);
    else
        row.setText(QStringLiteral("Kdv"), QStringLiteral("0,00"));
}

} // namespace tk
