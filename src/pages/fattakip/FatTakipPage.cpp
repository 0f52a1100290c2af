#include "FatTakipPage.h"

#include "data/GridTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

FatTakipPage::FatTakipPage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    auto *lists = new QVBoxLayout;
    {
        const SearchWidgets search = searchBox(QStringLiteral("Edit3"));
        auto *row = new QHBoxLayout;
        if (search.selector)
            lists->addWidget(search.selector);
        row->addWidget(search.box);
        row->addWidget(search.clear);
        lists->addLayout(row);
    }
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar4")));
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar5")));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid3"), *context.data, this));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid4"), *context.data, this));
    layout->addLayout(lists, 1);
    auto *form = new QGridLayout;
    addRows(form, {
        {QStringLiteral("Yıl :"), boundEdit(QStringLiteral("DBEdit16"), QStringLiteral("FatTakip"), QStringLiteral("Yil"))},
        {QStringLiteral("Aylar :"), boundEdit(QStringLiteral("DBEdit17"), QStringLiteral("FatTakip"), QStringLiteral("Aylar"))}
    });
    form->setRowStretch(form->rowCount(), 1);
    layout->addLayout(form, 1);
}

} // namespace tk
