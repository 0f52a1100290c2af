#pragma once
// Field kinds come from the declared column types of the tables; text forms
// are Turkish whatever the machine's locale.
#include <QString>
#include <QVariant>

namespace tk {

enum class FieldKind { Text, Memo, Integer, Real, Date, Boolean };

struct FieldDef {
    QString name;
    FieldKind kind = FieldKind::Text;
};

// Declared type ("TEXT", "MEMO TEXT", "REAL", "DATE", ...) to kind.
FieldKind fieldKindFromDeclaredType(const QString &declared);

// Display form of a stored value: 1500,5 / 05.01.2024 / True; null gives "".
QString fieldDisplayText(FieldKind kind, const QVariant &value);

// Parses what a user typed for a field of `kind`. Empty text is null.
// Throws tk::Error naming the value when it does not parse.
QVariant parseFieldText(FieldKind kind, const QString &text);

// The value as SQLite stores it (dates ISO yyyy-MM-dd, booleans 0/1).
QVariant storageValue(FieldKind kind, const QVariant &value);

} // namespace tk
