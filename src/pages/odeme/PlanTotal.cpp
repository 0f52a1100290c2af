#include "PlanTotal.h"

#include "core/Error.h"
#include "pages/RunningTotal.h"

namespace tk {

namespace {
QString conversionError(const char *from, const char *to)
{
    return QStringLiteral("Could not convert variant of type (%1) into type (%2)")
        .arg(QLatin1String(from), QLatin1String(to));
}
} // namespace

void PlanTotal::add(const QVariant &amount)
{
    // A missing amount makes the sum undefined: it cannot become a whole number.
    if (!amount.isValid() || amount.isNull())
        throw Error(conversionError("Null", "Integer"));
    bool ok = false;
    const double number = amount.toDouble(&ok);
    if (!ok)
        throw Error(conversionError("String", "Double"));
    m_total = tk::roundHalfEven(double(m_total) + number);
}

} // namespace tk
