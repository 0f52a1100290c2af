#pragma once
#include "pages/RecordPage.h"

namespace tk {

class OdemePage : public RecordPage {
    Q_OBJECT
public:
    OdemePage(const PageContext &context, QWidget *parent);
};

} // namespace tk
