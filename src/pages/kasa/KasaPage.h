#pragma once
#include "pages/RecordPage.h"

namespace tk {

class KasaPage : public RecordPage {
    Q_OBJECT
public:
    KasaPage(const PageContext &context, QWidget *parent);
};

} // namespace tk
