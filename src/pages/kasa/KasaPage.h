#pragma once
// KASA TAKİP: the cash book by period. The page computes nothing; the period
// totals come from its report.
#include "pages/shared/PeriodPage.h"

namespace tk {

class KasaPage : public PeriodPage {
    Q_OBJECT
public:
    KasaPage(const PageContext &context, QWidget *parent);
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &kasaPageDef();

} // namespace tk
