#pragma once
// Finding text in the pages of a prepared report (the preview's "Bul").
#include "PreparedReport.h"

namespace tk::reports {

struct SearchHit {
    int page = -1;
    int item = -1; // index into PreparedReport::items()
    bool found() const { return item >= 0; }
};

// The first item at or after `fromItem` whose text (as drawn) contains `text`;
// not found when none does. Searching does not wrap around.
SearchHit findText(const PreparedReport &report, const QString &text, bool caseSensitive, int fromItem);
// The first item of a page (where a search "from the current page" starts).
int firstItemOfPage(const PreparedReport &report, int page);

} // namespace tk::reports
