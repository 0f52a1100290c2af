#pragma once
// İRSALİYELER: waybill lines grouped by period (year and month); each line
// names its invoice, waybill, company and one material with quantity and
// price, and its amount is computed whenever it is saved.
#include "pages/RecordPage.h"

namespace tk {

class IrsaliyePage : public RecordPage {
    Q_OBJECT
public:
    IrsaliyePage(const PageContext &context, QWidget *parent);

    // Before every save of a line: an empty quantity becomes 1 and the
    // amount becomes quantity × price.
    void IrsaliyeBeforePost(Dataset &line);

private:
    QWidget *buildLinePanel();
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &irsaliyePageDef();

} // namespace tk
