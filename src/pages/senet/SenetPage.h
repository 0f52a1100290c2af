#pragma once
#include "pages/RecordPage.h"

namespace tk {

class SenetPage : public RecordPage {
    Q_OBJECT
public:
    SenetPage(const PageContext &context, QWidget *parent);
};

} // namespace tk
