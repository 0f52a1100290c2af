#include "PlanTotal.h"

#include "controls/Error.h"

#include <cmath>
#include <limits>

namespace tk {

namespace {
QString conversionError(const char *from, const char *to)
{
    return QStringLiteral("Could not convert variant of type (%1) into type (%2)")
        .arg(QLatin1String(from), QLatin1String(to));
}
} // namespace

qint32 PlanTotal::roundHalfEven(double value)
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

void PlanTotal::add(const QVariant &amount)
{
    // A missing amount makes the sum undefined: it cannot become a whole number.
    if (!amount.isValid() || amount.isNull())
        throw Error(conversionError("Null", "Integer"));
    bool ok = false;
    const double number = amount.toDouble(&ok);
    if (!ok)
        throw Error(conversionError("String", "Double"));
    m_total = roundHalfEven(double(m_total) + number);
}

} // namespace tk
