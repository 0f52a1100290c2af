#include "IrsaliyePage.h"

#include "LineMath.h"
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

IrsaliyePage::IrsaliyePage(const PageContext &context, QWidget *parent) : RecordPage(irsaliyePageDef(), context, parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(searchColumn(searchBox(QStringLiteral("Edit7")),
                                   list(QStringLiteral("SrDBGrid8")), this));
    auto *right = new QVBoxLayout;
    right->addWidget(yearMonthPanel({QStringLiteral("ToolBar19"), kPeriods, QStringLiteral("DBEdit64"), QStringLiteral("DBEdit103"),
                                     QStringLiteral("BitBtn6"), QStringLiteral("|İrsaliyeleri yazdır...")}));
    right->addWidget(buildLinePanel());
    right->addWidget(list(QStringLiteral("SrDBGrid9")), 1);
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

    // Five rows; the wide boxes span the row. In tab order.
    static const QVector<BoxPlace> places = {
        {"DBEdit45", "FaturaNo", "Fatura No :", 0, 0, 1, 92},
        {"DBEdit46", "FatTarihi", "Fatura Tarihi :", 0, 1, 1, 92},
        {"DBEdit53", "FirmaAdi", "Firma Adi :", 1, 0, 5},
        {"DBEdit54", "MalzemeKodu", "Malzeme Kodu :", 3, 0, 1, 92},
        {"DBEdit55", "MalzemeAdi", "Malzeme Adı :", 2, 0, 5},
        {"DBEdit56", "IrsNo", "İrsaliye No :", 3, 1, 1, 92},
        {"DBEdit57", "MalAdet", "Malzeme Adedi :", 4, 1, 1, 92},
        {"DBEdit58", "MalFiyat", "Fiyatı :", 4, 0, 1, 92},
        {"DBEdit44", "Tutar", "Tutar :", 4, 2, 1, 80},
    };
    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    DBEdit *amount = placeBoxes(grid, kLines, places).last();
    amount->setAlwaysReadOnly(true);
    showAsTotal(amount);
    grid->setColumnStretch(6, 1);
    layout->addLayout(grid);
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
