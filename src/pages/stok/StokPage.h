#pragma once
#include "pages/RecordPage.h"

namespace tk {

class StokPage : public RecordPage {
    Q_OBJECT
public:
    StokPage(const PageContext &context, QWidget *parent);
};

} // namespace tk
