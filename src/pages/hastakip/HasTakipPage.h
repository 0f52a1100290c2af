#pragma once
#include "pages/RecordPage.h"

namespace tk {

class HasTakipPage : public RecordPage {
    Q_OBJECT
public:
    HasTakipPage(const PageContext &context, QWidget *parent);
};

} // namespace tk
