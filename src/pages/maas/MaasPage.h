#pragma once
#include "pages/RecordPage.h"

namespace tk {

class MaasPage : public RecordPage {
    Q_OBJECT
public:
    MaasPage(const PageContext &context, QWidget *parent);
};

} // namespace tk
