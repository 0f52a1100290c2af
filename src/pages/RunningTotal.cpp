#include "RunningTotal.h"

#include "controls/Error.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace tk {

int addToRunningTotal(int total, const QVariant &amount)
{
    if (!amount.isValid() || amount.isNull())
        throw Error(QStringLiteral("Could not convert variant of type (Null) into type (Integer)"));
    bool ok = false;
    const double value = amount.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw Error(QStringLiteral("Could not convert variant of type (String) into type (Integer)"));
    // Halves to even, whatever rounding mode someone else left behind.
    const int previousMode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double sum = std::nearbyint(double(total) + value);
    std::fesetround(previousMode);
    if (sum > double(std::numeric_limits<int>::max()) || sum < double(std::numeric_limits<int>::min()))
        throw Error(QStringLiteral("Range check error"));
    return int(sum);
}

} // namespace tk
