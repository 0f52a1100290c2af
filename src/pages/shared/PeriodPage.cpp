#include "PeriodPage.h"

#include "PrintButton.h"
#include "data/BoundControls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tk {

namespace {
constexpr int kLeftColumnWidth = 148;
constexpr int kSearchBoxWidth = 117;
} // namespace

PeriodPage::PeriodPage(const PageDef &page, const PageContext &context, QWidget *parent, const PeriodPageDef &def)
    : RecordPage(page, context, parent)
{
    const auto name = [](const char *n) { return QString::fromLatin1(n); };
    auto *layout = new QHBoxLayout(this);

    // Left column: search box with its clear button, the period list.
    auto *left = new QVBoxLayout;
    const SearchWidgets search = searchBox(name(page.searches.first().box));
    search.box->setFixedWidth(kSearchBoxWidth);
    auto *searchRow = new QHBoxLayout;
    searchRow->setSpacing(2);
    searchRow->addWidget(search.box);
    searchRow->addWidget(search.clear);
    left->addLayout(searchRow);
    auto *periods = list(name(page.grids[0].grid));
    left->addWidget(periods, 1);
    auto *leftColumn = new QWidget(this);
    leftColumn->setLayout(left);
    left->setContentsMargins(0, 0, 0, 0);
    leftColumn->setFixedWidth(kLeftColumnWidth);
    layout->addWidget(leftColumn);

    // Right: the period panel above the entries' sheet.
    auto *right = new QVBoxLayout;
    right->addWidget(recordToolBar(name(page.toolBars[0].toolBar)));
    auto *periodRow = new QHBoxLayout;
    auto *periodBox = boundEdit(name(def.periodBox), name(page.datasets[0].name), QStringLiteral("Aylar"));
    periodBox->setFixedWidth(160);
    periodRow->addWidget(labelFor(QStringLiteral("Yıl / Ay :"), periodBox));
    periodRow->addWidget(periodBox);
    periodRow->addStretch(1);
    periodRow->addWidget(createPrintButton(name(page.printButtons.front().button), QString::fromUtf8(def.printHint), this));
    right->addLayout(periodRow);

    auto *tabs = new QTabWidget(this);
    m_sheet = new QWidget(tabs);
    tabs->addTab(m_sheet, QString::fromUtf8(def.sheetTitle));
    // The tab itself cannot be chosen (there is no other); its sheet stays shown.
    tabs->tabBar()->setTabEnabled(0, false);
    auto *sheetLayout = new QVBoxLayout(m_sheet);
    m_entryToolBar = recordToolBar(name(page.toolBars[1].toolBar));
    sheetLayout->addWidget(m_entryToolBar);
    m_entryBoxes = new QGridLayout;
    sheetLayout->addLayout(m_entryBoxes);
    sheetLayout->addWidget(list(name(page.grids[1].grid)), 1);
    right->addWidget(tabs, 1);
    layout->addLayout(right, 1);
}

void PeriodPage::showAsComputed(QLineEdit *box)
{
    // A bound box sets its own read-only state whenever its row changes: it is told for good.
    if (auto *bound = qobject_cast<DBEdit *>(box))
        bound->setAlwaysReadOnly(true);
    else
        box->setReadOnly(true);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    palette.setColor(QPalette::Text, palette.color(QPalette::WindowText));
    box->setPalette(palette);
}

} // namespace tk
