#pragma once
// The grand total of a payment plan: a whole-number running sum. After every
// addition the sum is rounded to a whole number, halves to the even
// neighbour, so the single amounts' decimals count only through the rounding
// of each partial sum (10,50 + 10,50 gives 10, then 20).
#include "pages/RunningTotal.h"

#include <QVariant>
#include <QtGlobal>

namespace tk {

class PlanTotal {
public:
    // Adds one entry's amount. Throws tk::Error when the amount has no value
    // or is not a number, or when the sum leaves the 32-bit integer range;
    // the total is then unchanged.
    void add(const QVariant &amount);
    qint32 value() const { return m_total; }

    // The rounding after each addition: the one of the page totals (RunningTotal.h).
    static qint32 roundHalfEven(double value) { return tk::roundHalfEven(value); }

private:
    qint32 m_total = 0;
};

} // namespace tk
