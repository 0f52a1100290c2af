#include "StokPage.h"

#include "data/GridTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

StokPage::StokPage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    auto *lists = new QVBoxLayout;
    {
        const SearchWidgets search = searchBox(QStringLiteral("Edit6"));
        auto *row = new QHBoxLayout;
        if (search.selector)
            lists->addWidget(search.selector);
        row->addWidget(search.box);
        row->addWidget(search.clear);
        lists->addLayout(row);
    }
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar7")));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid6"), *context.data, this));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid7"), *context.data, this));
    layout->addLayout(lists, 1);
    auto *form = new QGridLayout;
    addRows(form, {
        {QStringLiteral("Stok Kodu :"), boundEdit(QStringLiteral("DBEdit47"), QStringLiteral("Stok"), QStringLiteral("StokKodu"))}
    });
    form->setRowStretch(form->rowCount(), 1);
    layout->addLayout(form, 1);
}

} // namespace tk
