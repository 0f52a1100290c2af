#pragma once
// The print button of a record page: caption "  Yazdır", a two-part hint and
// a printer picture. What it prints is wired by the reports.
#include <QPushButton>

namespace tk {

QPushButton *createPrintButton(const QString &name, const QString &hint, QWidget *parent);

} // namespace tk
