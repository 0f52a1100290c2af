#pragma once
// Page lists as the user types them: "1,3,5-12".
#include <QString>
#include <vector>

namespace tk::reports {

// 0-based page indices in the typed order, each within 1..pageCount.
// Throws tk::Error naming the part that is not a page or a range of pages.
std::vector<int> parsePageList(const QString &text, int pageCount);
// Every page: 0..pageCount-1.
std::vector<int> allPages(int pageCount);

} // namespace tk::reports
