#include "OdemePage.h"

#include "data/GridTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

OdemePage::OdemePage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    auto *lists = new QVBoxLayout;
    {
        const SearchWidgets search = searchBox(QStringLiteral("Edit10"));
        auto *row = new QHBoxLayout;
        if (search.selector)
            lists->addWidget(search.selector);
        row->addWidget(search.box);
        row->addWidget(search.clear);
        lists->addLayout(row);
    }
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar13")));
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar14")));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid14"), *context.data, this));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid15"), *context.data, this));
    layout->addLayout(lists, 1);
    auto *form = new QGridLayout;
    addRows(form, {
        {QStringLiteral("Aylar :"), boundEdit(QStringLiteral("DBEdit79"), QStringLiteral("Odeme"), QStringLiteral("Aylar"))},
        {QStringLiteral("G. TOPLAM :"), totalBox(QStringLiteral("Edit15"))}
    });
    form->setRowStretch(form->rowCount(), 1);
    layout->addLayout(form, 1);
}

} // namespace tk
