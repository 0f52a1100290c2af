#include "QiroNumber.h"

#include "core/Error.h"

#include <algorithm>
#include <cmath>

namespace tk {
namespace {

// An exact decimal number: digits × 10^-scale, with its sign.
struct Decimal {
    bool negative = false;
    QString digits; // ASCII digits; empty means zero
    int scale = 0;
};

QString incremented(QString digits)
{
    int i = int(digits.size()) - 1;
    while (i >= 0 && digits[i] == u'9')
        digits[i--] = u'0';
    if (i < 0)
        digits.prepend(u'1');
    else
        digits[i] = QChar(digits[i].unicode() + 1);
    return digits;
}

// Drops the last `count` digits; a first dropped digit of 5 or more rounds
// the magnitude up, which is "halves away from zero" for an exact decimal.
void dropDigits(Decimal &d, int count)
{
    if (count <= 0)
        return;
    const int keep = int(d.digits.size()) - count;
    if (keep < 0) {
        d.digits.clear(); // every dropped digit but the last ones is a leading zero
    } else {
        const bool up = d.digits[keep] >= u'5';
        d.digits.truncate(keep);
        if (up)
            d.digits = incremented(d.digits);
    }
    d.scale -= count;
}

void keepSignificant(Decimal &d, int significant)
{
    const auto firstNonZero = std::find_if(d.digits.cbegin(), d.digits.cend(),
                                           [](QChar c) { return c != u'0'; });
    d.digits.remove(0, firstNonZero - d.digits.cbegin());
    dropDigits(d, int(d.digits.size()) - significant);
}

void setScale(Decimal &d, int decimals)
{
    dropDigits(d, d.scale - decimals);
    if (d.scale < decimals) {
        d.digits.append(QString(decimals - d.scale, u'0'));
        d.scale = decimals;
    }
}

// Written with exactly d.scale fraction digits, thousands grouped. A zero
// amount shows no sign unless `signedZero` (a minus typed before the digits).
QString toText(const Decimal &d, bool signedZero = false)
{
    QString digits = d.digits;
    if (digits.size() < d.scale + 1)
        digits.prepend(QString(d.scale + 1 - digits.size(), u'0'));
    QString whole = digits.left(digits.size() - d.scale);
    const QString fraction = digits.right(d.scale);
    while (whole.size() > 1 && whole.front() == u'0')
        whole.remove(0, 1);

    QString text;
    const bool zero = std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c == u'0'; });
    if (d.negative && (!zero || signedZero))
        text += u'-';
    for (int i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0)
            text += QiroNumber::thousandsSeparator;
        text += whole[i];
    }
    if (d.scale > 0)
        text += QiroNumber::decimalSeparator + fraction;
    return text;
}

Decimal fromDouble(double value)
{
    if (!std::isfinite(value))
        throw Error(QStringLiteral("Geçersiz sayı: %1").arg(value));
    // "-1.23456789012345e+03": the shortest honest decimal form of a double.
    const QString e = QString::number(value, 'e', QiroNumber::doubleDigits - 1);
    Decimal d;
    int pos = 0;
    if (e.startsWith(u'-')) {
        d.negative = true;
        pos = 1;
    }
    const qsizetype ePos = e.indexOf(u'e');
    for (qsizetype i = pos; i < ePos; ++i)
        if (e[i].isDigit())
            d.digits += e[i];
    d.scale = QiroNumber::doubleDigits - 1 - e.mid(ePos + 1).toInt();
    return d;
}

// The digits of a typed amount with the separators dropped; the last
// `decimals` of them are the fraction. Not a number: zero.
Decimal fromText(const QString &text, int decimals)
{
    QString s = text;
    s.remove(QiroNumber::thousandsSeparator);
    s.remove(QiroNumber::decimalSeparator);

    Decimal d;
    d.scale = decimals;
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+'))
        negative = s[i++] == u'-';
    const qsizetype first = i;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9')
        ++i;
    if (i == first || i != s.size())
        return d;
    d.negative = negative;
    d.digits = s.mid(first);
    return d;
}

double toDouble(const Decimal &d)
{
    if (d.digits.isEmpty())
        return 0.0;
    const QString s = (d.negative ? QStringLiteral("-") : QString()) + d.digits
                      + QStringLiteral("e%1").arg(-d.scale);
    return s.toDouble();
}

} // namespace

QString QiroNumber::format(double value, int decimals)
{
    decimals = std::max(decimals, 0);
    Decimal d = fromDouble(value);
    keepSignificant(d, doubleDigits);
    setScale(d, decimals);
    return toText(d);
}

double QiroNumber::round(double value, int decimals)
{
    return read(format(value, decimals), decimals);
}

double QiroNumber::read(const QString &text, int decimals)
{
    return toDouble(fromText(text, std::max(decimals, 0)));
}

QString QiroNumber::reformat(const QString &text, int decimals)
{
    decimals = std::max(decimals, 0);
    Decimal d = fromText(text, decimals);
    keepSignificant(d, textDigits);
    setScale(d, decimals);
    return toText(d, true);
}

QString QiroNumber::displayFormat(int decimals)
{
    if (decimals <= 0)
        return QStringLiteral("#,##0");
    return QStringLiteral("#,##0.") + QString(decimals, u'0');
}

} // namespace tk
