#pragma once
// Two-part hints: "tooltip|long hint". The long hint goes to the status
// bar's hint panel; a control without a hint of its own shows its parent's.
#include <QString>

class QWidget;

namespace tk {

// Stores the hint on the control; the tooltip part is shown only when
// `showTooltip` is set (tool bars switch tooltips on, the main window not).
void setHint(QWidget *widget, const QString &hint, bool showTooltip = false);
QString shortHint(const QString &hint);
QString longHint(const QString &hint);
// The long hint of the first control from `widget` up its parents with a hint.
QString effectiveLongHint(const QWidget *widget);

} // namespace tk
