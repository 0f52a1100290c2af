#include "FatTakipPage.h"

#include "InvoiceMath.h"
#include "controls/UiSeam.h"
#include "data/GridTable.h"
#include "pages/PageParts.h"
#include "pages/shared/PrintButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

namespace {
const QString kPeriods = QStringLiteral("FatTakip");
const QString kInvoices = QStringLiteral("FatTakip1");
} // namespace

FatTakipPage::FatTakipPage(const PageContext &context, QWidget *parent)
    : RecordPage(context, parent), m_invoices(dataset(kInvoices))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(searchColumn(searchBox(QStringLiteral("Edit3")),
                                   createGrid(QStringLiteral("SrDBGrid3"), *context.data, this), this));
    auto *right = new QVBoxLayout;
    right->addWidget(yearMonthPanel({QStringLiteral("ToolBar4"), kPeriods, QStringLiteral("DBEdit16"), QStringLiteral("DBEdit17"),
                                     QStringLiteral("BitBtn4"), QStringLiteral("|Fatura takip formu yazdır...")}));
    right->addWidget(buildInvoicePanel(), 1);
    layout->addLayout(right, 1);
}

QWidget *FatTakipPage::buildInvoicePanel()
{
    auto *sheet = new QWidget;
    auto *layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(recordToolBar(QStringLiteral("ToolBar5")));

    const auto edit = [this](const char *name, const char *field) {
        return boundEdit(QLatin1String(name), kInvoices, QLatin1String(field));
    };
    DBEdit *number = edit("DBEdit13", "FaturaNo");
    DBEdit *date = edit("DBEdit14", "FaturaTarihi");
    DBEdit *waybill = edit("DBEdit15", "IrsaliyeNo");
    DBEdit *waybillDate = edit("DBEdit18", "IrsaliyeTarihi");
    DBEdit *company = edit("DBEdit19", "Firma");
    DBEdit *amount = edit("DBEdit20", "Tutar");
    DBEdit *discount = edit("DBEdit21", "Iskonto");
    DBEdit *vat = edit("DBEdit22", "Kdv");
    DBEdit *total = edit("DBEdit23", "Toplam");
    vat->setAlwaysReadOnly(true);
    total->setAlwaysReadOnly(true);
    showAsTotal(vat);
    showAsTotal(total);
    vat->setAccessibleName(QStringLiteral("KDV tutarı"));
    for (DBEdit *box : {number, date, waybill, waybillDate, amount, discount, total})
        box->setFixedWidth(88);
    vat->setFixedWidth(70);
    company->setMinimumWidth(120);

    auto *check = new DBCheckBox(m_invoices, QStringLiteral("Kdv_Onay"), QStringLiteral("Kdv Ekle"), sheet);
    check->setObjectName(QStringLiteral("DBCheckBox1"));
    m_addVat = check;
    auto *compute = new QPushButton(QStringLiteral("Hesapla"), sheet);
    compute->setObjectName(QStringLiteral("Button2"));
    connect(compute, &QPushButton::clicked, this, [this] { guarded(this, [this] { Button2Click(); }); });
    m_vatField = hiddenAmountField(QStringLiteral("EditKdv"), sheet);

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    addRows(grid, {{QStringLiteral("Fatura No :"), number},
                   {QStringLiteral("Fatura Tarihi :"), date},
                   {QStringLiteral("İrsaliye No :"), waybill},
                   {QStringLiteral("İrsaliye Tarihi :"), waybillDate}});
    addRows(grid, {{QStringLiteral("Firma :"), company},
                   {QStringLiteral("Tutar :"), amount},
                   {QStringLiteral("İskonto :"), discount},
                   {QStringLiteral("Toplam :"), total}},
            2);
    auto *vatRow = new QHBoxLayout;
    vatRow->addWidget(check);
    vatRow->addWidget(vat);
    grid->addLayout(vatRow, 0, 4);
    grid->addWidget(compute, 1, 4, Qt::AlignLeft);
    layout->addLayout(grid);
    layout->addWidget(createGrid(QStringLiteral("SrDBGrid4"), *context().data, sheet), 1);

    QWidget *const order[] = {number, date, waybill, waybillDate, company, amount, discount, compute, check};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    return singleTabPanel(QStringLiteral("FATURALAR          "), sheet, this);
}

void FatTakipPage::Button2Click()
{
    Dataset &row = *m_invoices;
    row.edit(); // on a period without invoices this starts a new one
    if (row.text(QStringLiteral("Iskonto")).trimmed().isEmpty())
        row.setText(QStringLiteral("Iskonto"), QStringLiteral("0,00"));
    const bool addVat = m_addVat->isChecked();
    // The rate is read now: a change in the settings counts at once.
    const double rate = addVat ? vatRate(context().setting(QStringLiteral("Kdv"))) : 0.0;
    const InvoiceAmounts amounts = invoiceAmounts(row.asDouble(QStringLiteral("Tutar")),
                                                  row.asDouble(QStringLiteral("Iskonto")), addVat, rate);
    m_vatField->setTextAsFloat(amounts.kdv);
    if (addVat)
        row.setValue(QStringLiteral("Kdv"), amounts.kdv);
    else
        row.setText(QStringLiteral("Kdv"), QStringLiteral("0,00"));
    row.setValue(QStringLiteral("Toplam"), amounts.toplam);
}

} // namespace tk
