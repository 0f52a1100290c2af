#pragma once
// FATURA TAKİP: invoices grouped by period (year and month); for each
// invoice "Hesapla" computes the VAT and the total.
#include "pages/shared/VatEntryPage.h"


namespace tk {


class FatTakipPage : public VatEntryPage {
    Q_OBJECT
public:
    FatTakipPage(const PageContext &context, QWidget *parent);

    // "Hesapla": zero discount when empty, the VAT at the rate of the
    // settings (when ticked) and the total; the invoice stays in editing.
    void Button2Click();

private:
    QWidget *buildInvoicePanel();

    Dataset *m_invoices;
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &fatTakipPageDef();

} // namespace tk
