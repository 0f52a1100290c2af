#pragma once
#include "pages/RecordPage.h"

namespace tk {

class IrsaliyePage : public RecordPage {
    Q_OBJECT
public:
    IrsaliyePage(const PageContext &context, QWidget *parent);
};

} // namespace tk
