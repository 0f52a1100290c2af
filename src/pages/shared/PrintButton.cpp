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
    button->setAccessibleName(QStringLiteral("Yazdır"));
    setHint(button, hint);
    return button;
}

} // namespace tk
