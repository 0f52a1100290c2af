#pragma once
// Turkish text of report values, whatever the machine's locale.
#include "Template.h"
#include "Value.h"

namespace tk::reports {

// Shortest text of a number, "," as decimal separator, no grouping: 1500,5.
QString shortestNumber(double value);
// The value's own text: numbers shortest, dates dd.MM.yyyy, booleans True/False.
QString valueText(const Value &value);
// A value formatted with a cell's display format; a missing value is empty.
QString formatValue(const Value &value, const DisplayFormat &format);
// printf-like: %d %f %n (grouped) %e %g %m, flags '-', width and precision.
// Returns false when the format cannot be applied to the number.
bool applyNumericFormat(double value, const QString &format, QString *out);
// Reads a Turkish number text (1.234,50 or 1234,5); false when it is not one.
bool parseTurkishNumber(QStringView text, double *value);

} // namespace tk::reports
