#include "ValueConversion.h"

#include "core/Error.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <optional>

namespace tk {

namespace {

ConvertedValue asIs(const QVariant &source)
{
    if (source.typeId() == QMetaType::QDateTime)
        return {source.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), true};
    return {source, true};
}

bool hasTimeOfDay(const QDateTime &t) { return t.time() != QTime(0, 0); }

// A date and time as the program shows a date, with the time only when there is one.
QString shownDateTime(const QDateTime &t)
{
    return t.toString(hasTimeOfDay(t) ? QStringLiteral("dd.MM.yyyy HH:mm:ss") : QStringLiteral("dd.MM.yyyy"));
}

QString asText(const QVariant &source)
{
    switch (source.typeId()) {
    case QMetaType::Double:
        return fieldDisplayText(FieldKind::Real, source);
    case QMetaType::LongLong:
        return QString::number(source.toLongLong());
    case QMetaType::Bool:
        return fieldDisplayText(FieldKind::Boolean, source);
    case QMetaType::QDateTime:
        return shownDateTime(source.toDateTime());
    default:
        return source.toString();
    }
}

// Text typed into a column of another kind, read by the program's own rules;
// an amount written with a decimal point (1250.5) is taken too.
std::optional<QVariant> parsedText(FieldKind kind, const QString &text)
{
    try {
        return storageValue(kind, parseFieldText(kind, text));
    } catch (const Error &) {
        // not in the program's form; the fallbacks below decide
    }
    bool ok = false;
    if (kind == FieldKind::Real) {
        const double v = QLocale::c().toDouble(text.trimmed(), &ok);
        if (ok)
            return v;
    }
    if (kind == FieldKind::Boolean && text.trimmed() == QLatin1String("-1"))
        return 1;
    return std::nullopt;
}

ConvertedValue fromText(FieldKind kind, const QString &text)
{
    if (const auto v = parsedText(kind, text))
        return {*v, false};
    return {text, true};
}

} // namespace

ConvertedValue convertForColumn(FieldKind kind, const QVariant &source)
{
    if (!source.isValid() || source.isNull())
        return {};
    const int type = source.typeId();
    if (type == QMetaType::QString && source.toString().isEmpty())
        return {};
    if (type == QMetaType::QByteArray)
        return asIs(source);

    switch (kind) {
    case FieldKind::Text:
    case FieldKind::Memo:
        return {asText(source), false};
    case FieldKind::Integer:
        if (type == QMetaType::LongLong)
            return {source, false};
        if (type == QMetaType::Bool)
            return {source.toBool() ? 1 : 0, false};
        if (type == QMetaType::Double) {
            const double d = source.toDouble();
            if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.0e15)
                return {qlonglong(d), false};
            return asIs(source);
        }
        break;
    case FieldKind::Real:
        if (type == QMetaType::Double)
            return {source, false};
        if (type == QMetaType::LongLong)
            return {double(source.toLongLong()), false};
        break;
    case FieldKind::Date:
        if (type == QMetaType::QDateTime) {
            const QDateTime t = source.toDateTime();
            if (hasTimeOfDay(t))
                return asIs(source); // a time of day has no place in a date column
            return {t.date().toString(Qt::ISODate), false};
        }
        break;
    case FieldKind::Boolean:
        if (type == QMetaType::Bool)
            return {source.toBool() ? 1 : 0, false};
        if (type == QMetaType::LongLong)
            return {source.toLongLong() != 0 ? 1 : 0, false};
        break;
    }
    if (type == QMetaType::QString)
        return fromText(kind, source.toString());
    return asIs(source);
}

} // namespace tk
