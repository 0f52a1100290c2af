#pragma once
// The picture of the main window's "ÖZET" button: bars with a line over them.
#include <QIcon>

namespace tk {

QIcon summaryIcon();

} // namespace tk
