#pragma once
// The arithmetic of an account entry: VAT and total as on an invoice, and
// what is still owed after the payment.
#include "pages/fattakip/InvoiceMath.h"

namespace tk {

struct EntryAmounts {
    double kdv = 0;
    double toplam = 0;
    double kalan = 0;
};

EntryAmounts entryAmounts(double tutar, double iskonto, double odenen, bool addVat, double rate);

} // namespace tk
