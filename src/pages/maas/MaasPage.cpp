#include "MaasPage.h"

#include "data/GridTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

MaasPage::MaasPage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    auto *lists = new QVBoxLayout;
    {
        const SearchWidgets search = searchBox(QStringLiteral("Edit12"));
        auto *row = new QHBoxLayout;
        if (search.selector)
            lists->addWidget(search.selector);
        row->addWidget(search.box);
        row->addWidget(search.clear);
        lists->addLayout(row);
    }
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar17")));
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar18")));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid18"), *context.data, this));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid19"), *context.data, this));
    layout->addLayout(lists, 1);
    auto *form = new QGridLayout;
    addRows(form, {
        {QStringLiteral("Aylar :"), boundEdit(QStringLiteral("DBEdit91"), QStringLiteral("Maas"), QStringLiteral("Aylar"))}
    });
    form->setRowStretch(form->rowCount(), 1);
    layout->addLayout(form, 1);
}

} // namespace tk
