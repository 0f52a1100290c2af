#pragma once
// MÜŞTERİ TAKİP: the service jobs with their customer, vehicle, telephones,
// complaint and notes, and under each job the operations carried out with
// their amounts and the job's total.
#include "pages/RecordPage.h"

class QPushButton;

namespace tk {

class TQiroEdit;

class MusTakipPage : public RecordPage {
    Q_OBJECT
public:
    MusTakipPage(const PageContext &context, QWidget *parent);

    // After every saved operation: the job's total.
    void MusTakip1AfterPost();
    // The rounded running total of the current job's operations into "TOPLAM :";
    // the operation list ends on its first row.
    void Button1Click();

private:
    QWidget *buildJobPanel();
    QWidget *buildOperationsPanel();

    Dataset *m_operations;
    QLineEdit *m_total = nullptr;      // Edit2, kept in S-Veri.ini
    TQiroEdit *m_totalField = nullptr; // QiroEdit4, formats the total
    QPushButton *m_totalButton = nullptr; // Button1, never shown
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &musTakipPageDef();

} // namespace tk
