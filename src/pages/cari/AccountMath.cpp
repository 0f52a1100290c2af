#include "AccountMath.h"

namespace tk {

EntryAmounts entryAmounts(double tutar, double iskonto, double odenen, bool addVat, double rate)
{
    const InvoiceAmounts invoice = invoiceAmounts(tutar, iskonto, addVat, rate);
    return {invoice.kdv, invoice.toplam, invoice.toplam - odenen};
}

} // namespace tk
