#include "SenetPage.h"

#include "data/GridTable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

SenetPage::SenetPage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    auto *lists = new QVBoxLayout;
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar11")));
    lists->addWidget(recordToolBar(QStringLiteral("ToolBar12")));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid13"), *context.data, this));
    lists->addWidget(createGrid(QStringLiteral("SrDBGrid12"), *context.data, this));
    layout->addLayout(lists, 1);
    auto *form = new QGridLayout;
    addRows(form, {
        {QStringLiteral("Senet No :"), boundEdit(QStringLiteral("DBEdit60"), QStringLiteral("SenetVer"), QStringLiteral("SenetNo"))},
        {QStringLiteral("Senet No :"), boundEdit(QStringLiteral("DBEdit74"), QStringLiteral("SenetAl"), QStringLiteral("SenetNo"))}
    });
    form->setRowStretch(form->rowCount(), 1);
    layout->addLayout(form, 1);
}

} // namespace tk
