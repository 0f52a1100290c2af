#include "MusTakipPage.h"

#include "data/GridTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

MusTakipPage::MusTakipPage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    auto *lists = new QVBoxLayout;
    {
        const SearchWidgets search = searchBox(QStringLiteral("Edit1"));
        auto *row = new QHBoxLayout;
        if (search.selector)
            lists->addWidget(search.selector);
        row->addWidget(search.box);
        row->addWidget(search.clear);
        lists->addLayout(row);
    }
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar2")));
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar3")));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid1"), *context.data, this));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid2"), *context.data, this));
    layout->addLayout(lists, 1);
    auto *form = new QGridLayout;
    addRows(form, {
        {QStringLiteral("Araç Plakası :"), boundEdit(QStringLiteral("DBEdit2"), QStringLiteral("MusTakip"), QStringLiteral("AracPlaka"))},
        {QStringLiteral("TOPLAM :"), totalBox(QStringLiteral("Edit2"))}
    });
    form->setRowStretch(form->rowCount(), 1);
    layout->addLayout(form, 1);
}

} // namespace tk
