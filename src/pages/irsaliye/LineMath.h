#pragma once
// The amount of a waybill line: an empty quantity counts as one piece; the
// amount is quantity × price, stored as computed (not rounded).
#include <optional>

namespace tk {

struct LineAmount {
    double quantity = 1;
    double tutar = 0;
};

// `quantity` empty: one piece. `price` empty counts as 0 (the caller passes 0).
LineAmount lineAmount(std::optional<double> quantity, double price);

} // namespace tk
