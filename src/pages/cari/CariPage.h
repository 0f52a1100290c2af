#pragma once
#include "pages/RecordPage.h"

namespace tk {

class CariPage : public RecordPage {
    Q_OBJECT
public:
    CariPage(const PageContext &context, QWidget *parent);
};

} // namespace tk
