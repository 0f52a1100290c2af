#include "StokPage.h"

#include "data/GridTable.h"
#include "pages/shared/PrintButton.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

namespace {
struct PartBox {
    const char *name;
    const char *field;
    const char *label;
    int row;
    int column; // 0: code, name, quantity, shelf; 1: the prices beside quantity and shelf
};
// In tab order.
const PartBox kPartBoxes[] = {
    {"DBEdit47", "StokKodu", "Stok Kodu :", 0, 0},
    {"DBEdit48", "StokAdi", "Stok Adı :", 1, 0},
    {"DBEdit49", "Adet", "Adedi :", 2, 0},
    {"DBEdit50", "Raf", "Raf No :", 3, 0},
    {"DBEdit51", "Alis", "Alış Fiyatı :", 2, 1},
    {"DBEdit52", "Satis", "Satış Fiyatı :", 3, 1},
};
constexpr int kLeftColumnWidth = 148;
constexpr int kBoxWidth = 120;
} // namespace

StokPage::StokPage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
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
    left->addWidget(createGrid(QStringLiteral("SrDBGrid6"), *context.data, this), 1);
    layout->addWidget(leftColumn);

    // Right: tool bar and print button, the part's boxes, the full list.
    auto *right = new QVBoxLayout;
    auto *top = new QHBoxLayout;
    top->addWidget(recordToolBar(QStringLiteral("ToolBar7")));
    top->addStretch(1);
    top->addWidget(createPrintButton(QStringLiteral("BitBtn11"), QStringLiteral("|Stok listesini yazdır..."), this));
    right->addLayout(top);

    auto *boxes = new QGridLayout;
    for (const PartBox &b : kPartBoxes) {
        DBEdit *box = boundEdit(QString::fromLatin1(b.name), QStringLiteral("Stok"), QString::fromLatin1(b.field));
        boxes->addWidget(labelFor(QString::fromUtf8(b.label), box), b.row, b.column * 2, Qt::AlignRight | Qt::AlignVCenter);
        if (QLatin1String(b.field) == QLatin1String("StokAdi")) {
            boxes->addWidget(box, b.row, 1, 1, 3); // the name is wide
        } else {
            box->setFixedWidth(kBoxWidth);
            boxes->addWidget(box, b.row, b.column * 2 + 1);
        }
    }
    boxes->setColumnStretch(4, 1);
    right->addLayout(boxes);
    right->addWidget(createGrid(QStringLiteral("SrDBGrid7"), *context.data, this), 1);
    layout->addLayout(right, 1);
}

} // namespace tk
