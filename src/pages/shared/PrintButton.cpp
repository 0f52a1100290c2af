#include "PrintButton.h"

#include "controls/Hints.h"

#include <QIcon>
#include <QStyle>

namespace tk {

QPushButton *createPrintButton(const QString &name, const QString &hint, QWidget *parent)
{
    auto *button = new QPushButton(QStringLiteral("  Yazdır"), parent);
    button->setObjectName(name);
    button->setIcon(QIcon::fromTheme(QStringLiteral("document-print"),
                                     parent->style()->standardIcon(QStyle::SP_FileDialogDetailedView)));
    // Two print buttons may share a page: each is named by what it prints.
    QString what = longHint(hint);
    while (what.endsWith(QLatin1Char('.')))
        what.chop(1);
    button->setAccessibleName(what.isEmpty() ? QStringLiteral("Yazdır") : what);
    setHint(button, hint);
    return button;
}

} // namespace tk
