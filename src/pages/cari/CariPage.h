#pragma once
// CARİ HESAPLAR: one current account per company with its entries; "Hesapla"
// computes an entry's VAT, total and remaining amount, and every saved
// entry totals what the company has paid and still owes.
#include "pages/shared/VatEntryPage.h"

class QPushButton;

namespace tk {

class TQiroEdit;

class CariPage : public VatEntryPage {
    Q_OBJECT
public:
    CariPage(const PageContext &context, QWidget *parent);

    // "Hesapla": zero for every empty amount, VAT (when ticked), total and
    // remaining amount; the entry stays in editing.
    void Button3Click();
    // After every saved entry: the company's totals.
    void Cari1AfterPost();
    // Paid and remaining totals of the current company's entries into
    // "T.Ödenen Tutar :" and "T. Kalan Tutar :"; the list ends on its first entry.
    void Button4Click();

private:
    QWidget *buildCompanyPanel();
    QWidget *buildEntryPanel();

    Dataset *m_entries;
    QLineEdit *m_paid = nullptr;       // Edit13, kept in S-Veri.ini
    QLineEdit *m_remaining = nullptr;  // Edit14, kept in S-Veri.ini
    TQiroEdit *m_paidField = nullptr;  // QiroEdit1
    TQiroEdit *m_remainingField = nullptr; // QiroEdit2
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &cariPageDef();

} // namespace tk
