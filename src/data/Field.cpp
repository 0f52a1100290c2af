#include "Field.h"

#include "core/Error.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace tk {

namespace {

const QLocale &turkish()
{
    static const QLocale locale = [] {
        QLocale l(QLocale::Turkish, QLocale::Turkey);
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

// Far below any amount or quantity typed, far above what the rounding of
// sums of amounts up to millions leaves.
constexpr double floatNoise = 1e-9;

QString quoted(const QString &text) { return QLatin1Char('\'') + text + QLatin1Char('\''); }

QDate parseDate(const QString &text)
{
    // Two-digit years mean this century. The year is completed before the
    // date is checked: 29.02.00 is 29.02.2000, a leap day 1900 did not have.
    static const QRegularExpression shortYear(QStringLiteral("^([0-9]{1,2}\\.[0-9]{1,2}\\.)([0-9]{2})$"));
    const QRegularExpressionMatch m = shortYear.match(text);
    const QString full = m.hasMatch() ? m.captured(1) + QLatin1String("20") + m.captured(2) : text;
    for (const char *format : {"dd.MM.yyyy", "d.M.yyyy", "yyyy-MM-dd"}) {
        const QDate d = QDate::fromString(full, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return {};
}

} // namespace

FieldKind fieldKindFromDeclaredType(const QString &declared)
{
    const QString word = declared.trimmed().section(QLatin1Char(' '), 0, 0).section(QLatin1Char('('), 0, 0).toUpper();
    if (word == QLatin1String("MEMO"))
        return FieldKind::Memo;
    if (word == QLatin1String("INTEGER") || word == QLatin1String("INT"))
        return FieldKind::Integer;
    if (word == QLatin1String("REAL") || word == QLatin1String("FLOAT") || word == QLatin1String("DOUBLE")
        || word == QLatin1String("NUMERIC") || word == QLatin1String("CURRENCY"))
        return FieldKind::Real;
    if (word == QLatin1String("DATE"))
        return FieldKind::Date;
    if (word == QLatin1String("BOOLEAN"))
        return FieldKind::Boolean;
    return FieldKind::Text;
}

QString fieldDisplayText(FieldKind kind, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (kind) {
    case FieldKind::Real: {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            return value.toString();
        // What adding and subtracting amounts leaves of a zero (0,30 paid as
        // 0,10 and 0,20: a hair below zero) is no amount anyone typed: it
        // shows as a zero does, never signed.
        if (std::abs(d) < floatNoise)
            return QStringLiteral("0");
        // 15 significant digits, as much as a double holds reliably: 3 × 0,1 shows as 0,3.
        QString text = QString::number(d, 'g', 15);
        if (text.contains(QLatin1Char('e')))
            return turkish().toString(d, 'f', QLocale::FloatingPointShortest);
        return text.replace(QLatin1Char('.'), QLatin1Char(','));
    }
    case FieldKind::Integer:
        return value.typeId() == QMetaType::QString ? value.toString() : QString::number(value.toLongLong());
    case FieldKind::Date: {
        const QDate d = value.typeId() == QMetaType::QDate ? value.toDate()
                                                           : QDate::fromString(value.toString(), Qt::ISODate);
        return d.isValid() ? d.toString(QStringLiteral("dd.MM.yyyy")) : value.toString();
    }
    case FieldKind::Boolean:
        return value.toLongLong() != 0 || value.toString() == QLatin1String("True") ? QStringLiteral("True")
                                                                                     : QStringLiteral("False");
    case FieldKind::Text:
    case FieldKind::Memo:
        break;
    }
    return value.toString();
}

QVariant parseFieldText(FieldKind kind, const QString &text)
{
    if (kind == FieldKind::Text || kind == FieldKind::Memo)
        return text.isEmpty() ? QVariant() : QVariant(text);
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    bool ok = false;
    switch (kind) {
    case FieldKind::Integer: {
        const qlonglong v = turkish().toLongLong(t, &ok);
        if (!ok)
            throw Error(QStringLiteral("%1 geçerli bir tam sayı değil.").arg(quoted(text)));
        return v;
    }
    case FieldKind::Real: {
        double v = turkish().toDouble(t, &ok);
        if (!ok) // the grouped form 1.500,25 as the Turkish locale writes it
            v = QLocale(QLocale::Turkish, QLocale::Turkey).toDouble(t, &ok);
        // "inf" and "nan" parse, but are no amounts.
        if (!ok || !std::isfinite(v))
            throw Error(QStringLiteral("%1 geçerli bir sayı değil.").arg(quoted(text)));
        return v;
    }
    case FieldKind::Date: {
        const QDate d = parseDate(t);
        if (!d.isValid())
            throw Error(QStringLiteral("%1 geçerli bir tarih değil.").arg(quoted(text)));
        return d;
    }
    case FieldKind::Boolean: {
        const QString u = t.toLower();
        if (u == QLatin1String("true") || u == QLatin1String("1") || u == QLatin1String("evet"))
            return true;
        if (u == QLatin1String("false") || u == QLatin1String("0") || u == QLatin1String("hayır"))
            return false;
        throw Error(QStringLiteral("%1 geçerli bir mantıksal değer değil.").arg(quoted(text)));
    }
    case FieldKind::Text:
    case FieldKind::Memo:
        break;
    }
    return text;
}

QVariant storageValue(FieldKind kind, const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (kind) {
    case FieldKind::Date:
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().toString(Qt::ISODate);
        return value;
    case FieldKind::Boolean:
        if (value.typeId() == QMetaType::QString)
            return value.toString() == QLatin1String("True") || value.toString() == QLatin1String("1") ? 1 : 0;
        return value.toBool() ? 1 : 0;
    case FieldKind::Real: {
        if (value.typeId() == QMetaType::QString)
            return parseFieldText(kind, value.toString());
        // A computation that overflowed must not reach the file as an amount.
        const double d = value.toDouble();
        if (!std::isfinite(d))
            throw Error(QStringLiteral("%1 geçerli bir sayı değil.").arg(quoted(QString::number(d))));
        return d;
    }
    case FieldKind::Integer:
        if (value.typeId() == QMetaType::QString)
            return parseFieldText(kind, value.toString());
        return value.toLongLong();
    default:
        return value;
    }
}

} // namespace tk
