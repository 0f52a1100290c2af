#include "RunningTotal.h"

#include "core/Error.h"

#include <cmath>
#include <limits>

namespace tk {

qint32 roundHalfEven(double value)
{
    if (!std::isfinite(value))
        throw Error(QStringLiteral("Range check error"));
    const double whole = std::floor(value);
    const double fraction = value - whole;
    double rounded = whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        rounded = whole + 1.0;
    if (rounded < double(std::numeric_limits<qint32>::min()) || rounded > double(std::numeric_limits<qint32>::max()))
        throw Error(QStringLiteral("Range check error"));
    return qint32(rounded);
}

int addToRunningTotal(int total, const QVariant &amount)
{
    if (!amount.isValid() || amount.isNull())
        throw Error(QStringLiteral("Could not convert variant of type (Null) into type (Integer)"));
    bool ok = false;
    const double value = amount.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw Error(QStringLiteral("Could not convert variant of type (String) into type (Integer)"));
    return roundHalfEven(double(total) + value);
}

} // namespace tk
