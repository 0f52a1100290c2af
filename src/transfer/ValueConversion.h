#pragma once
// Turning a value of the old books into the storage form of today's column,
// by the column's declared kind.
#include "data/Field.h"

#include <QVariant>

namespace tk {

struct ConvertedValue {
    QVariant value;
    // The value did not fit the column's kind and is stored as it was, so
    // nothing is lost; the transfer lists how many there were.
    bool keptAsIs = false;
};

// `source` is null, QString, qlonglong, double, bool, QDateTime or QByteArray.
// Empty text is null for every kind, as the program stores it.
ConvertedValue convertForColumn(FieldKind kind, const QVariant &source);

} // namespace tk
