#include "ReportSearch.h"

#include "data/Connection.h"

#include <algorithm>

namespace tk::reports {

int firstItemOfPage(const PreparedReport &report, int page)
{
    if (page < 0 || page >= report.pageCount())
        return 0;
    return int(report.page(page).firstItem);
}

SearchHit findText(const PreparedReport &report, const QString &text, bool caseSensitive, int fromItem)
{
    if (text.isEmpty())
        return {};
    // Without match case, both sides in Turkish lower case (I/ı, İ/i), as the
    // search boxes of the pages compare.
    const QString wanted = caseSensitive ? text : turkishLower(text);
    const auto contains = [&](QStringView haystack) {
        return caseSensitive ? haystack.contains(wanted) : turkishLower(haystack.toString()).contains(wanted);
    };
    const int pageCount = report.pageCount();
    for (int p = 0; p < pageCount; ++p) {
        const PreparedPage &page = report.page(p);
        const int first = std::max<int>(int(page.firstItem), fromItem);
        for (int i = first; i < int(page.firstItem + page.itemCount); ++i) {
            const PreparedItem &item = report.items()[size_t(i)];
            if (item.kind != CellKind::Memo && item.kind != CellKind::SystemMemo)
                continue;
            const bool hit = (item.flags & PreparedItem::HasTotalPages) ? contains(report.finalText(item, pageCount))
                                                                        : contains(report.text(item));
            if (hit)
                return {p, i};
        }
    }
    return {};
}

} // namespace tk::reports
