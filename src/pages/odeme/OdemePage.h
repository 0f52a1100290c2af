#pragma once
// ÖDEME PLANI: payment plans by period, with the grand total of the period
// whose entry was saved last.
#include "pages/shared/PeriodPage.h"

class QPushButton;

namespace tk {

class TQiroEdit;

class OdemePage : public PeriodPage {
    Q_OBJECT
public:
    OdemePage(const PageContext &context, QWidget *parent);

    // Adds up the current period's amounts into "G. TOPLAM :" (Edit15) and
    // leaves the entry list on its first row. On an error the box keeps its
    // text and the list stays on the entry that caused it.
    void Button5Click();

private:
    void Odeme1AfterPost(Dataset &entries);

    TQiroEdit *m_qiroEdit3 = nullptr; // formats the total with two decimals
    QPushButton *m_button5 = nullptr;
    QLineEdit *m_total = nullptr;     // Edit15, kept in S-Veri.ini by the main window
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &odemePageDef();

} // namespace tk
