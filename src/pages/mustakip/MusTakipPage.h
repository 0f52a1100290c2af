#pragma once
#include "pages/RecordPage.h"

namespace tk {

class MusTakipPage : public RecordPage {
    Q_OBJECT
public:
    MusTakipPage(const PageContext &context, QWidget *parent);
};

} // namespace tk
