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

} // namespace tk
