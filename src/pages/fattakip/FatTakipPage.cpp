#include "FatTakipPage.h"

#include "InvoiceMath.h"
#include "core/UiSeam.h"
#include "pages/PageParts.h"
#include "pages/shared/PrintButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

namespace {
const QString kPeriods = QStringLiteral("FatTakip");
const QString kInvoices = QStringLiteral("FatTakip1");
} // namespace

FatTakipPage::FatTakipPage(const PageContext &context, QWidget *parent)
    : VatEntryPage(fatTakipPageDef(), context, parent), m_invoices(dataset(kInvoices))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(searchColumn(searchBox(QStringLiteral("Edit3")),
                                   list(QStringLiteral("SrDBGrid3")), this));
    auto *right = new QVBoxLayout;
    right->addWidget(yearMonthPanel({QStringLiteral("ToolBar4"), kPeriods, QStringLiteral("DBEdit16"), QStringLiteral("DBEdit17"),
                                     QStringLiteral("BitBtn4"), QStringLiteral("|Fatura takip formu yazdır...")}));
    right->addWidget(buildInvoicePanel(), 1);
    layout->addLayout(right, 1);
}

QWidget *FatTakipPage::buildInvoicePanel()
{
    constexpr int w = 88;
    static const VatSheetDef def = {
        QStringLiteral("ToolBar5"), kInvoices,
        {{"DBEdit13", "FaturaNo", "Fatura No :", 0, 0, 1, w}, {"DBEdit14", "FaturaTarihi", "Fatura Tarihi :", 1, 0, 1, w},
         {"DBEdit15", "IrsaliyeNo", "İrsaliye No :", 2, 0, 1, w},
         {"DBEdit18", "IrsaliyeTarihi", "İrsaliye Tarihi :", 3, 0, 1, w}, {"DBEdit19", "Firma", "Firma :", 0, 1},
         {"DBEdit20", "Tutar", "Tutar :", 1, 1, 1, w}, {"DBEdit21", "Iskonto", "İskonto :", 2, 1, 1, w},
         {"DBEdit23", "Toplam", "Toplam :", 3, 1, 1, w}},
        QStringLiteral("DBEdit22"), QStringLiteral("DBCheckBox1"), QStringLiteral("Kdv_Onay"), QStringLiteral("Button2"),
        QStringLiteral("EditKdv"), QStringLiteral("SrDBGrid4"),
    };
    const VatSheet s = buildVatSheet(def, [this] { Button2Click(); });
    s.boxes[4]->setMinimumWidth(120); // Firma
    // "Hesapla" and the check box follow the discount; the computed boxes come last.
    chainTabOrder({s.boxes[6], s.compute, s.addVat, s.vat, s.boxes.last()});
    return s.panel;
}

void FatTakipPage::Button2Click()
{
    Dataset &row = *m_invoices;
    row.edit(); // on a period without invoices this starts a new one
    if (row.text(QStringLiteral("Iskonto")).trimmed().isEmpty())
        row.setText(QStringLiteral("Iskonto"), QStringLiteral("0,00"));
    const bool addVat = addsVat();
    const InvoiceAmounts amounts = invoiceAmounts(row.asDouble(QStringLiteral("Tutar")),
                                                  row.asDouble(QStringLiteral("Iskonto")), addVat, vatRateFor(addVat));
    storeVat(row, addVat, amounts.kdv);
    row.setValue(QStringLiteral("Toplam"), amounts.toplam);
}

} // namespace tk
