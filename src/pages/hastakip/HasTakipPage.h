#pragma once
// HASAR TAKİP: the damage files of accident vehicles, one row per file with
// the damaged vehicle, the other party, the adjuster, the payment and a note.
#include "pages/RecordPage.h"

namespace tk {

class HasTakipPage : public RecordPage {
    Q_OBJECT
public:
    HasTakipPage(const PageContext &context, QWidget *parent);
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &hasTakipPageDef();

} // namespace tk
