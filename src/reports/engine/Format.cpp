#include "Format.h"

#include <QLocale>
#include <cmath>

namespace tk::reports {

namespace {

const QLocale &turkish()
{
    static const QLocale locale(QLocale::Turkish, QLocale::Turkey);
    return locale;
}

const QLocale &turkishUngrouped()
{
    static const QLocale locale = [] {
        QLocale l(QLocale::Turkish, QLocale::Turkey);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

// An amount to be printed with `decimals` fraction digits, rounded the way the
// program rounds amounts elsewhere: halves away from zero, decided on the
// value's first 15 significant digits rather than on its binary form (1,5 ×
// 2,01 is 3,015 and prints 3,02), and a zero is never signed (an entry paid
// in full whose remainder came out as -2·10⁻¹⁶ prints 0,00).
double roundedForPrint(double value, int decimals)
{
    if (decimals > 15)
        return value;
    const double scale = std::pow(10.0, decimals);
    double scaled = value * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 1e15)
        return value + 0.0;
    // Only a value within its last digits of a half can round one way on its
    // binary form and the other on its decimal one; the text round trip is
    // kept for those (a long report prints hundreds of thousands of amounts).
    const double fraction = std::fabs(scaled - std::trunc(scaled));
    if (std::fabs(fraction - 0.5) <= std::fabs(scaled) * 1e-14 + 1e-9)
        scaled = QString::number(scaled, 'g', 15).toDouble();
    return std::round(scaled) / scale + 0.0;
}

} // namespace

QString shortestNumber(double value)
{
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    return turkishUngrouped().toString(value, 'f', QLocale::FloatingPointShortest);
}

QString valueText(const Value &value)
{
    switch (value.kind) {
    case Value::Null: return {};
    case Value::Number: return shortestNumber(value.number);
    case Value::Bool: return value.number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case Value::Text:
    case Value::Date: return value.text;
    }
    return {};
}

bool applyNumericFormat(double value, const QString &format, QString *out)
{
    if (!std::isfinite(value))
        return false;
    QString result;
    bool converted = false;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = format.at(i);
        if (c != QLatin1Char('%')) {
            result += c;
            continue;
        }
        if (i + 1 < n && format.at(i + 1) == QLatin1Char('%')) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        qsizetype j = i + 1;
        bool leftAlign = false;
        if (j < n && format.at(j) == QLatin1Char('-')) {
            leftAlign = true;
            ++j;
        }
        int width = 0, precision = -1;
        while (j < n && format.at(j).isDigit())
            width = width * 10 + format.at(j++).digitValue();
        if (j < n && format.at(j) == QLatin1Char('.')) {
            precision = 0;
            ++j;
            while (j < n && format.at(j).isDigit())
                precision = precision * 10 + format.at(j++).digitValue();
        }
        if (j >= n)
            return false;
        const char conv = format.at(j).toLower().toLatin1();
        QString piece;
        switch (conv) {
        case 'd':
            if (value != std::floor(value))
                return false;
            piece = QString::number(qint64(value));
            if (precision > 0 && piece.size() < precision)
                piece = piece.rightJustified(precision, QLatin1Char('0'));
            break;
        case 'f':
        case 'n':
        case 'm': {
            const int decimals = precision < 0 ? 2 : precision;
            const double amount = roundedForPrint(value, decimals);
            piece = (conv == 'f' ? turkishUngrouped() : turkish()).toString(amount, 'f', decimals);
            if (conv == 'm')
                piece += QStringLiteral(" TL");
            break;
        }
        case 'e': piece = turkishUngrouped().toString(value, 'e', precision < 0 ? 15 : precision); break;
        case 'g':
            piece = precision < 0 ? shortestNumber(value)
                                  : turkishUngrouped().toString(value, 'g', precision);
            break;
        default: return false;
        }
        if (piece.size() < width)
            piece = leftAlign ? piece.leftJustified(width) : piece.rightJustified(width);
        result += piece;
        converted = true;
        i = j;
    }
    if (!converted)
        return false;
    *out = result;
    return true;
}

bool parseTurkishNumber(QStringView text, double *value)
{
    text = text.trimmed();
    if (text.isEmpty())
        return false;
    bool ok = false;
    double v = turkish().toDouble(text, &ok);
    if (!ok)
        v = turkishUngrouped().toDouble(text, &ok);
    if (ok)
        *value = v;
    return ok;
}

QString formatValue(const Value &value, const DisplayFormat &format)
{
    if (value.isNull())
        return {};
    if (!format.numeric)
        return valueText(value);
    double number = value.number;
    bool isNumber = value.kind == Value::Number || value.kind == Value::Bool;
    if (value.kind == Value::Text)
        isNumber = parseTurkishNumber(value.text, &number);
    QString out;
    if (!isNumber || !applyNumericFormat(number, format.format, &out))
        return valueText(value);
    if (format.decimalSeparator != QLatin1Char(','))
        out.replace(QLatin1Char(','), format.decimalSeparator);
    return out;
}

} // namespace tk::reports
