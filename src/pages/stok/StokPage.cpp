#include "StokPage.h"

#include "pages/shared/PrintButton.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

namespace {
constexpr int kLeftColumnWidth = 148;
constexpr int kBoxWidth = 120;

// Code, name, quantity and shelf on the left, the prices beside quantity and
// shelf; the name is wide. In tab order.
const QVector<BoxPlace> kPartBoxes = {
    {"DBEdit47", "StokKodu", "Stok Kodu :", 0, 0, 1, kBoxWidth},
    {"DBEdit48", "StokAdi", "Stok Adı :", 1, 0, 3},
    {"DBEdit49", "Adet", "Adedi :", 2, 0, 1, kBoxWidth},
    {"DBEdit50", "Raf", "Raf No :", 3, 0, 1, kBoxWidth},
    {"DBEdit51", "Alis", "Alış Fiyatı :", 2, 1, 1, kBoxWidth},
    {"DBEdit52", "Satis", "Satış Fiyatı :", 3, 1, 1, kBoxWidth},
};
} // namespace

StokPage::StokPage(const PageContext &context, QWidget *parent) : RecordPage(stokPageDef(), context, parent)
{
    auto *layout = new QHBoxLayout(this);

    // Left: field chooser, search box with its clear button, the code list.
    auto *leftColumn = new QWidget(this);
    leftColumn->setFixedWidth(kLeftColumnWidth);
    auto *left = new QVBoxLayout(leftColumn);
    left->setContentsMargins(0, 0, 0, 0);
    const SearchWidgets search = searchBox(QStringLiteral("Edit6"));
    left->addWidget(search.selector);
    auto *searchRow = new QHBoxLayout;
    searchRow->setSpacing(2);
    searchRow->addWidget(search.box, 1);
    searchRow->addWidget(search.clear);
    left->addLayout(searchRow);
    left->addWidget(list(QStringLiteral("SrDBGrid6")), 1);
    layout->addWidget(leftColumn);

    // Right: tool bar and print button, the part's boxes, the full list.
    auto *right = new QVBoxLayout;
    auto *top = new QHBoxLayout;
    top->addWidget(recordToolBar(QStringLiteral("ToolBar7")));
    top->addStretch(1);
    top->addWidget(createPrintButton(QStringLiteral("BitBtn11"), QStringLiteral("|Stok listesini yazdır..."), this));
    right->addLayout(top);

    auto *boxes = new QGridLayout;
    placeBoxes(boxes, QStringLiteral("Stok"), kPartBoxes);
    boxes->setColumnStretch(4, 1);
    right->addLayout(boxes);
    right->addWidget(list(QStringLiteral("SrDBGrid7")), 1);
    layout->addLayout(right, 1);
}

} // namespace tk
