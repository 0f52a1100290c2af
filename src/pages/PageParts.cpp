#include "PageParts.h"

#include "controls/Hints.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

namespace tk {

QWidget *searchColumn(const SearchWidgets &search, QWidget *list, QWidget *parent)
{
    auto *column = new QWidget(parent);
    column->setFixedWidth(148);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    if (search.selector) {
        // Wider than the search box, so that the whole entry reads.
        search.selector->setFixedWidth(145);
        search.selector->lineEdit()->setCursorPosition(0);
        layout->addWidget(search.selector);
    }
    auto *row = new QHBoxLayout;
    row->setSpacing(2);
    search.box->setFixedWidth(117);
    search.clear->setFixedSize(23, 22);
    row->addWidget(search.box);
    row->addWidget(search.clear);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(list, 1);
    return column;
}

QTabWidget *singleTabPanel(const QString &caption, QWidget *sheet, QWidget *parent)
{
    auto *tabs = new QTabWidget(parent);
    tabs->addTab(sheet, caption);
    // Only the tab itself is disabled: disabling the tab would disable its sheet too.
    tabs->tabBar()->setEnabled(false);
    return tabs;
}

TQiroEdit *hiddenAmountField(const QString &name, QWidget *parent)
{
    auto *field = new TQiroEdit(parent);
    field->setObjectName(name);
    field->setQiroEditType(TQiroEdit::CurrencyType);
    field->setQiroMaxLength(20);
    field->setDecimals(2);
    field->setCurrencySymbol(TQiroEdit::TCurrSymbolSet::None);
    field->setText(QStringLiteral("0,00"));
    field->setFixedSize(65, 21);
    field->setFocusPolicy(Qt::NoFocus);
    field->hide();
    return field;
}

void showAsTotal(QLineEdit *box)
{
    box->setReadOnly(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    box->setPalette(palette);
}

} // namespace tk
