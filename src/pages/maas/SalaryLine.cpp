#include "SalaryLine.h"

namespace tk {

const QVector<SalaryStep> &salarySteps()
{
    static const QVector<SalaryStep> steps = {
        {"Toplam", {{+1, "Maas"}, {+1, "Yol"}, {+1, "Mesai"}}},
        {"K_Toplam", {{+1, "Avans"}, {+1, "Kesinti"}}},
        {"O_Tutar", {{+1, "Toplam"}, {-1, "K_Toplam"}}},
        {"Kalan", {{+1, "O_Tutar"}, {-1, "O_Tutari"}}},
    };
    return steps;
}

void computeSalaryLine(const FieldReader &read, const FieldWriter &write)
{
    for (const SalaryStep &step : salarySteps()) {
        double result = 0.0;
        for (const SalaryTerm &term : step.terms)
            result += term.sign * read(QString::fromLatin1(term.field));
        write(QString::fromLatin1(step.result), result);
    }
}

} // namespace tk
