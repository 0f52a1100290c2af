#include "PageRange.h"

#include "core/Error.h"

#include <QStringList>

namespace tk::reports {

std::vector<int> parsePageList(const QString &text, int pageCount)
{
    std::vector<int> pages;
    const auto bad = [&](const QString &part) {
        return Error(QStringLiteral("Geçersiz sayfa aralığı: %1").arg(part.trimmed()));
    };
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList ends = part.split(QLatin1Char('-'));
        if (ends.size() > 2)
            throw bad(part);
        bool ok1 = false, ok2 = false;
        const int from = ends.at(0).trimmed().toInt(&ok1);
        const int to = ends.size() == 2 ? ends.at(1).trimmed().toInt(&ok2) : from;
        if (!ok1 || (ends.size() == 2 && !ok2) || from < 1 || to < from || to > pageCount)
            throw bad(part);
        for (int p = from; p <= to; ++p)
            pages.push_back(p - 1);
    }
    if (pages.empty())
        throw bad(text);
    return pages;
}

std::vector<int> allPages(int pageCount)
{
    std::vector<int> pages(size_t(std::max(0, pageCount)));
    for (int i = 0; i < pageCount; ++i)
        pages[size_t(i)] = i;
    return pages;
}

} // namespace tk::reports
