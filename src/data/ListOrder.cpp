#include "ListOrder.h"

#include "TurkishOrder.h"

#include <QRegularExpression>

namespace tk {

HeaderSort nextHeaderSort(const HeaderSort &current, int clickedColumn)
{
    if (current.column == clickedColumn && current.order == Qt::AscendingOrder)
        return {clickedColumn, Qt::DescendingOrder};
    return {clickedColumn, Qt::AscendingOrder};
}

QString headerSortTerm(const QString &column, FieldKind kind, Qt::SortOrder order)
{
    const QString quoted = QLatin1Char('"') + QString(column).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    const bool text = kind == FieldKind::Text || kind == FieldKind::Memo;
    QString term = text ? turkishKey(quoted) : quoted;
    if (order == Qt::DescendingOrder)
        term += QStringLiteral(" DESC");
    return term;
}

QString withOrderBy(const QString &statement, const QString &term)
{
    if (term.isEmpty())
        return statement;
    // The program's statements name one table and hold no text of their own
    // (searches bind theirs), so the last ORDER BY is the statement's.
    static const QRegularExpression orderBy(QStringLiteral("\\s+order\\s+by\\s"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString base = statement.trimmed();
    qsizetype at = -1;
    for (auto it = orderBy.globalMatch(base); it.hasNext();)
        at = it.next().capturedStart();
    if (at >= 0)
        base.truncate(at);
    return base + QStringLiteral(" ORDER BY ") + term;
}

} // namespace tk
