#pragma once
// MAAŞ ÖDEME: the salary sheet of each period. Saving a line computes and
// stores its four results.
#include "pages/shared/PeriodPage.h"

namespace tk {

class MaasPage : public PeriodPage {
    Q_OBJECT
public:
    MaasPage(const PageContext &context, QWidget *parent);

private:
    // Runs before every save of a line; an error stops the save and the line
    // stays in editing.
    void Maas1BeforePost(Dataset &line);
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &maasPageDef();

} // namespace tk
