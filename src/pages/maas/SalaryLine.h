#pragma once
// The arithmetic of one salary line: gross total, total of deductions, net
// amount payable and amount still owed, in this order. Each result is
// written into its field before a later step reads it back from there.
// Nothing is rounded and signs are not tested; an input without a value
// counts as 0 (the reader's business). A result beyond the range of numbers
// throws tk::Error before it is written.
#include <QString>
#include <QVector>
#include <functional>

namespace tk {

struct SalaryTerm {
    int sign; // +1 or -1
    const char *field;
};

struct SalaryStep {
    const char *result;
    QVector<SalaryTerm> terms;
};

// Toplam, K_Toplam, O_Tutar, Kalan, with their terms.
const QVector<SalaryStep> &salarySteps();

using FieldReader = std::function<double(const QString &field)>;
using FieldWriter = std::function<void(const QString &field, double value)>;

// Runs the four steps on a line reached through `read` and `write`.
void computeSalaryLine(const FieldReader &read, const FieldWriter &write);

} // namespace tk
