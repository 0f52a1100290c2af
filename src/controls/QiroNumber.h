#pragma once
// Money amounts as the program shows and rounds them: Turkish separators
// ("." between thousands, "," before the fraction), a fixed number of
// decimals, halves rounded away from zero. The numeric entry field
// (TQiroEdit) uses these functions for every key; the pages call them
// directly to round an amount or format a total.
//
// Rounding is decided on the decimal form of a value, never on its binary
// one: a double is first written with 15 significant digits (all a double
// holds reliably), a typed text is kept to 18 significant digits, and that
// decimal number is rounded to the shown decimals. So 18 × 0.25 / 100, whose
// double lies a hair below 0.045, shows as 0,05, and 1.005 as 1,01.
#include <QString>

namespace tk {

class QiroNumber {
public:
    static constexpr QChar thousandsSeparator = u'.';
    static constexpr QChar decimalSeparator = u',';
    // Significant digits kept of a double, and of a typed amount.
    static constexpr int doubleDigits = 15;
    static constexpr int textDigits = 18;

    // The value with `decimals` fraction digits, thousands separated, a minus
    // sign only when the shown amount is not zero: 1234.567 → "1.234,57".
    // Throws tk::Error for infinity and NaN.
    static QString format(double value, int decimals);

    // `value` rounded to `decimals` fraction digits, halves away from zero
    // (the number `format` shows).
    static double round(double value, int decimals = 2);

    // Reads an amount typed with `decimals` fraction digits. The separators
    // are dropped and the last `decimals` digits are the fraction, wherever
    // the "," stood: with two decimals "1.234,56" is 1234.56 and "12,5" is
    // 1.25. Anything that is not a number then (blanks first, a sign, digits)
    // reads as 0; reading never fails.
    static double read(const QString &text, int decimals);

    // The text as the field shows it after a key: read as above and written
    // back with `decimals` fraction digits ("05,00" → "5,00"). A minus typed
    // before any digit stays ("-0,00"), so that the digits typed next are negative.
    static QString reformat(const QString &text, int decimals);

    // The number format the field announces for `decimals`: "#,##0" or
    // "#,##0." followed by `decimals` zeros.
    static QString displayFormat(int decimals);
};

} // namespace tk
