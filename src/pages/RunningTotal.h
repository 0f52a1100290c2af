#pragma once
// The whole-number page totals (service job, account entries, payment plan):
// each amount is added to the running total and the sum is rounded to the
// nearest whole number, a half going to the even neighbour, after every
// addition. So 10,50 + 10,50 gives 10 and then 20, not 21.
#include <QVariant>
#include <QtGlobal>

namespace tk {

// Rounds to the nearest whole number, halves to the even neighbour
// (0,5 → 0, 1,5 → 2, 2,5 → 2). Throws tk::Error "Range check error" outside
// the range of a 32-bit signed integer or for a value that is not finite.
qint32 roundHalfEven(double value);

// The running total after adding `amount` (a field value). Throws tk::Error
// when the amount is null or not a number, or when the total leaves the
// range of a 32-bit signed integer.
int addToRunningTotal(int total, const QVariant &amount);

} // namespace tk
