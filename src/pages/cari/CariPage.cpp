#include "CariPage.h"

#include "data/GridTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

CariPage::CariPage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    auto *lists = new QVBoxLayout;
    {
        const SearchWidgets search = searchBox(QStringLiteral("Edit8"));
        auto *row = new QHBoxLayout;
        if (search.selector)
            lists->addWidget(search.selector);
        row->addWidget(search.box);
        row->addWidget(search.clear);
        lists->addLayout(row);
    }
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar9")));
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar10")));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid10"), *context.data, this));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid11"), *context.data, this));
    layout->addLayout(lists, 1);
    auto *form = new QGridLayout;
    addRows(form, {
        {QStringLiteral("Firma :"), boundEdit(QStringLiteral("DBEdit59"), QStringLiteral("Cari"), QStringLiteral("Firma"))},
        {QStringLiteral("T.Ödenen Tutar :"), totalBox(QStringLiteral("Edit13"))},
        {QStringLiteral("T. Kalan Tutar :"), totalBox(QStringLiteral("Edit14"))}
    });
    form->setRowStretch(form->rowCount(), 1);
    layout->addLayout(form, 1);
}

} // namespace tk
