#include "IrsaliyePage.h"

#include "data/GridTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

IrsaliyePage::IrsaliyePage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    auto *lists = new QVBoxLayout;
    {
        const SearchWidgets search = searchBox(QStringLiteral("Edit7"));
        auto *row = new QHBoxLayout;
        if (search.selector)
            lists->addWidget(search.selector);
        row->addWidget(search.box);
        row->addWidget(search.clear);
        lists->addLayout(row);
    }
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar19")));
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar8")));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid8"), *context.data, this));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid9"), *context.data, this));
    layout->addLayout(lists, 1);
    auto *form = new QGridLayout;
    addRows(form, {
        {QStringLiteral("Yıl :"), boundEdit(QStringLiteral("DBEdit64"), QStringLiteral("IrsaliyeUst"), QStringLiteral("Yil"))},
        {QStringLiteral("Aylar :"), boundEdit(QStringLiteral("DBEdit103"), QStringLiteral("IrsaliyeUst"), QStringLiteral("Aylar"))}
    });
    form->setRowStretch(form->rowCount(), 1);
    layout->addLayout(form, 1);
}

} // namespace tk
