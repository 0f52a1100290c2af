#pragma once
#include "pages/RecordPage.h"

namespace tk {

class FatTakipPage : public RecordPage {
    Q_OBJECT
public:
    FatTakipPage(const PageContext &context, QWidget *parent);
};

} // namespace tk
