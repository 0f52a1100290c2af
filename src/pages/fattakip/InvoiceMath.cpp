#include "InvoiceMath.h"

#include "core/Error.h"
#include "controls/QiroNumber.h"

#include <QLocale>
#include <QRegularExpression>

namespace tk {

double vatRate(const QString &text)
{
    // A plain number with "," before the fraction; blanks around it are allowed,
    // a thousands separator is not.
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+(,\\d*)?|,\\d+)([eE][+-]?\\d+)?\\s*$"));
    if (number.match(text).hasMatch()) {
        QLocale turkish(QLocale::Turkish, QLocale::Turkey);
        turkish.setNumberOptions(QLocale::RejectGroupSeparator);
        bool ok = false;
        const double rate = turkish.toDouble(text.trimmed(), &ok);
        if (ok)
            return rate;
    }
    throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

InvoiceAmounts invoiceAmounts(double tutar, double iskonto, bool addVat, double rate)
{
    const double net = tutar - iskonto;
    InvoiceAmounts out;
    out.kdv = addVat ? QiroNumber::round(rate * net / 100.0, 2) : 0.0;
    out.toplam = out.kdv + net;
    return out;
}

} // namespace tk
