#include "IrsaliyePage.h"

#include "LineMath.h"
#include "data/GridTable.h"
#include "pages/PageParts.h"
#include "pages/shared/PrintButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

namespace {
const QString kPeriods = QStringLiteral("IrsaliyeUst");
const QString kLines = QStringLiteral("Irsaliye");
} // namespace

IrsaliyePage::IrsaliyePage(const PageContext &context, QWidget *parent) : RecordPage(context, parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(searchColumn(searchBox(QStringLiteral("Edit7")),
                                   createGrid(QStringLiteral("SrDBGrid8"), *context.data, this), this));
    auto *right = new QVBoxLayout;
    right->addWidget(yearMonthPanel({QStringLiteral("ToolBar19"), kPeriods, QStringLiteral("DBEdit64"), QStringLiteral("DBEdit103"),
                                     QStringLiteral("BitBtn6"), QStringLiteral("|İrsaliyeleri yazdır...")}));
    right->addWidget(buildLinePanel());
    right->addWidget(createGrid(QStringLiteral("SrDBGrid9"), *context.data, this), 1);
    layout->addLayout(right, 1);

    dataset(kLines)->beforePost = [this](Dataset &line) { IrsaliyeBeforePost(line); };
}

QWidget *IrsaliyePage::buildLinePanel()
{
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(recordToolBar(QStringLiteral("ToolBar8")));

    const auto edit = [this](const char *name, const char *field) {
        return boundEdit(QLatin1String(name), kLines, QLatin1String(field));
    };
    DBEdit *invoice = edit("DBEdit45", "FaturaNo");
    DBEdit *invoiceDate = edit("DBEdit46", "FatTarihi");
    DBEdit *company = edit("DBEdit53", "FirmaAdi");
    DBEdit *code = edit("DBEdit54", "MalzemeKodu");
    DBEdit *material = edit("DBEdit55", "MalzemeAdi");
    DBEdit *waybill = edit("DBEdit56", "IrsNo");
    DBEdit *quantity = edit("DBEdit57", "MalAdet");
    DBEdit *price = edit("DBEdit58", "MalFiyat");
    DBEdit *amount = edit("DBEdit44", "Tutar");
    amount->setAlwaysReadOnly(true);
    showAsTotal(amount);
    for (DBEdit *box : {invoice, invoiceDate, code, waybill, quantity, price})
        box->setFixedWidth(92);
    amount->setFixedWidth(80);

    // Five rows; the wide boxes span the row.
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    const auto put = [&](const QString &label, QWidget *box, int row, int column, int span = 1) {
        grid->addWidget(labelFor(label, box), row, column, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(box, row, column + 1, 1, span);
    };
    put(QStringLiteral("Fatura No :"), invoice, 0, 0);
    put(QStringLiteral("Fatura Tarihi :"), invoiceDate, 0, 2);
    put(QStringLiteral("Firma Adi :"), company, 1, 0, 5);
    put(QStringLiteral("Malzeme Adı :"), material, 2, 0, 5);
    put(QStringLiteral("Malzeme Kodu :"), code, 3, 0);
    put(QStringLiteral("İrsaliye No :"), waybill, 3, 2);
    put(QStringLiteral("Fiyatı :"), price, 4, 0);
    put(QStringLiteral("Malzeme Adedi :"), quantity, 4, 2);
    put(QStringLiteral("Tutar :"), amount, 4, 4);
    grid->setColumnStretch(6, 1);
    layout->addLayout(grid);

    QWidget *const order[] = {invoice, invoiceDate, company, code, material, waybill, quantity, price, amount};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    return panel;
}

void IrsaliyePage::IrsaliyeBeforePost(Dataset &line)
{
    std::optional<double> quantity;
    if (!line.text(QStringLiteral("MalAdet")).trimmed().isEmpty())
        quantity = line.asDouble(QStringLiteral("MalAdet"));
    const LineAmount computed = lineAmount(quantity, line.asDouble(QStringLiteral("MalFiyat")));
    if (!quantity)
        line.setValue(QStringLiteral("MalAdet"), computed.quantity);
    line.setValue(QStringLiteral("Tutar"), computed.tutar);
}

} // namespace tk
