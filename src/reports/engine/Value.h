#pragma once
// The value of a report expression or of a field read by a report.
#include <QString>

namespace tk::reports {

struct Value {
    enum Kind : unsigned char { Null, Number, Text, Bool, Date };
    Kind kind = Null;
    double number = 0; // Number, Bool (0/1), Date (julian day)
    QString text;      // Text; Date in its display form (dd.MM.yyyy)

    static Value ofNumber(double v) { Value r; r.kind = Number; r.number = v; return r; }
    static Value ofText(QString t) { Value r; r.kind = Text; r.text = std::move(t); return r; }
    static Value ofBool(bool b) { Value r; r.kind = Bool; r.number = b ? 1 : 0; return r; }
    bool isNull() const { return kind == Null; }
};

} // namespace tk::reports
