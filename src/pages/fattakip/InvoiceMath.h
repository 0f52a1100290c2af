#pragma once
// The VAT arithmetic of invoices and account entries: the rate as typed in
// the settings, the VAT amount rounded to two decimals (halves away from
// zero, as the numeric entry field rounds), and the total. Only the VAT is
// rounded; net and total keep their full precision.
#include <QString>

namespace tk {

// The VAT percentage typed in the settings ("18", "8,5"). Throws tk::Error
// with the standard conversion message when the text is not a number.
double vatRate(const QString &text);

struct InvoiceAmounts {
    double kdv = 0;
    double toplam = 0;
};

// `rate` is used only when `addVat` is set.
InvoiceAmounts invoiceAmounts(double tutar, double iskonto, bool addVat, double rate);

} // namespace tk
