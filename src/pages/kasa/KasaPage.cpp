#include "KasaPage.h"

#include "data/GridTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

KasaPage::KasaPage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    auto *lists = new QVBoxLayout;
    {
        const SearchWidgets search = searchBox(QStringLiteral("Edit11"));
        auto *row = new QHBoxLayout;
        if (search.selector)
            lists->addWidget(search.selector);
        row->addWidget(search.box);
        row->addWidget(search.clear);
        lists->addLayout(row);
    }
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar15")));
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar16")));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid16"), *context.data, this));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid17"), *context.data, this));
    layout->addLayout(lists, 1);
    auto *form = new QGridLayout;
    addRows(form, {
        {QStringLiteral("Aylar :"), boundEdit(QStringLiteral("DBEdit82"), QStringLiteral("Kasa"), QStringLiteral("Aylar"))}
    });
    form->setRowStretch(form->rowCount(), 1);
    layout->addLayout(form, 1);
}

} // namespace tk
