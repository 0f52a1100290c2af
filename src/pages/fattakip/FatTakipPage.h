#pragma once
// FATURA TAKİP: invoices grouped by period (year and month); for each
// invoice "Hesapla" computes the VAT and the total.
#include "pages/RecordPage.h"

class QCheckBox;

namespace tk {

class TQiroEdit;

class FatTakipPage : public RecordPage {
    Q_OBJECT
public:
    FatTakipPage(const PageContext &context, QWidget *parent);

    // "Hesapla": zero discount when empty, the VAT at the rate of the
    // settings (when ticked) and the total; the invoice stays in editing.
    void Button2Click();

private:
    QWidget *buildInvoicePanel();

    Dataset *m_invoices;
    QCheckBox *m_addVat = nullptr;    // DBCheckBox1 on Kdv_Onay
    TQiroEdit *m_vatField = nullptr;  // EditKdv, rounds the VAT
};

} // namespace tk
