#include "Hints.h"

#include <QVariant>
#include <QWidget>

namespace tk {

namespace {
const char *const hintProperty = "tkHint";
}

QString shortHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

QString longHint(const QString &hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void setHint(QWidget *widget, const QString &hint, bool showTooltip)
{
    widget->setProperty(hintProperty, hint);
    if (showTooltip)
        widget->setToolTip(shortHint(hint));
}

QString effectiveLongHint(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QString hint = w->property(hintProperty).toString();
        if (!hint.isEmpty())
            return longHint(hint);
    }
    return {};
}

} // namespace tk
