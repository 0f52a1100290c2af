#pragma once
// STOK LİSTESİ: the spare parts in stock. The code list on the left and the
// full list below the boxes show the same rows and the same current row.
#include "pages/RecordPage.h"

namespace tk {

class StokPage : public RecordPage {
    Q_OBJECT
public:
    StokPage(const PageContext &context, QWidget *parent);
};

// What the page declares: datasets, tool bars, lists, search box, print
// button, its row in the page column and its saved totals.
const PageDef &stokPageDef();

} // namespace tk
