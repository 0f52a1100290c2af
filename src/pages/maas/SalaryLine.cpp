#include "SalaryLine.h"

#include "core/Error.h"

#include <cmath>

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
        if (!std::isfinite(result))
            throw Error(QStringLiteral("%1 hesaplanamadı: tutarlar sayı sınırını aşıyor.").arg(QString::fromLatin1(step.result)));
        write(QString::fromLatin1(step.result), result);
    }
}

} // namespace tk
