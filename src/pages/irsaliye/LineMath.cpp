#include "LineMath.h"

namespace tk {

LineAmount lineAmount(std::optional<double> quantity, double price)
{
    const double q = quantity.value_or(1.0);
    return {q, q * price};
}

} // namespace tk
