#include "CariPage.h"

#include "AccountMath.h"
#include "controls/UiSeam.h"
#include "data/GridTable.h"
#include "pages/PageParts.h"
#include "pages/shared/PrintButton.h"
#include "pages/RunningTotal.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

namespace {
const QString kCompanies = QStringLiteral("Cari");
const QString kEntries = QStringLiteral("Cari1");
} // namespace

CariPage::CariPage(const PageContext &context, QWidget *parent)
    : RecordPage(context, parent), m_entries(dataset(kEntries))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(searchColumn(searchBox(QStringLiteral("Edit8")),
                                   createGrid(QStringLiteral("SrDBGrid10"), *context.data, this), this));
    auto *right = new QVBoxLayout;
    right->addWidget(buildCompanyPanel());
    right->addWidget(buildEntryPanel(), 1);
    layout->addLayout(right, 1);

    m_entries->afterPost = [this](Dataset &) { Cari1AfterPost(); };
}

QWidget *CariPage::buildCompanyPanel()
{
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(recordToolBar(QStringLiteral("ToolBar9")));
    auto *row = new QHBoxLayout;
    DBEdit *company = boundEdit(QStringLiteral("DBEdit59"), kCompanies, QStringLiteral("Firma"));
    company->setMinimumWidth(250);
    row->addWidget(labelFor(QStringLiteral("Firma Adı :"), company));
    row->addWidget(company);
    row->addStretch();
    row->addWidget(createPrintButton(QStringLiteral("BitBtn5"), QStringLiteral("|Cari hesap formu..."), panel));
    layout->addLayout(row);
    return panel;
}

QWidget *CariPage::buildEntryPanel()
{
    auto *sheet = new QWidget;
    auto *layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(recordToolBar(QStringLiteral("ToolBar10")));

    const auto edit = [this](const char *name, const char *field) {
        return boundEdit(QLatin1String(name), kEntries, QLatin1String(field));
    };
    DBEdit *number = edit("DBEdit61", "FatNo");
    DBEdit *date = edit("DBEdit62", "FatTarihi");
    DBEdit *kind = edit("DBEdit63", "Tipi");
    DBEdit *amount = edit("DBEdit65", "Tutar");
    DBEdit *discount = edit("DBEdit66", "Iskonto");
    DBEdit *paid = edit("DBEdit67", "Odenen");
    DBEdit *total = edit("DBEdit68", "Toplam");
    DBEdit *vat = edit("DBEdit69", "Kdv");
    for (DBEdit *box : {total, vat}) {
        box->setAlwaysReadOnly(true);
        showAsTotal(box);
    }
    vat->setAccessibleName(QStringLiteral("KDV tutarı"));
    m_paid = totalBox(QStringLiteral("Edit13"));
    m_remaining = totalBox(QStringLiteral("Edit14"));
    showAsTotal(m_paid);
    showAsTotal(m_remaining);
    for (QLineEdit *box : std::initializer_list<QLineEdit *>{number, date, amount, discount, paid, total, m_paid, m_remaining})
        box->setFixedWidth(88);
    vat->setFixedWidth(70);
    kind->setMinimumWidth(120);

    auto *check = new DBCheckBox(m_entries, QStringLiteral("KdvOnay"), QStringLiteral("Kdv Ekle"), sheet);
    check->setObjectName(QStringLiteral("DBCheckBox2"));
    m_addVat = check;
    auto *compute = new QPushButton(QStringLiteral("Hesapla"), sheet);
    compute->setObjectName(QStringLiteral("Button3"));
    connect(compute, &QPushButton::clicked, this, [this] { guarded(this, [this] { Button3Click(); }); });
    auto *totals = new QPushButton(QStringLiteral("Button4"), sheet);
    totals->setObjectName(QStringLiteral("Button4"));
    totals->hide();
    connect(totals, &QPushButton::clicked, this, [this] { guarded(this, [this] { Button4Click(); }); });
    m_vatField = hiddenAmountField(QStringLiteral("EditKdv2"), sheet);
    m_paidField = hiddenAmountField(QStringLiteral("QiroEdit1"), sheet);
    m_remainingField = hiddenAmountField(QStringLiteral("QiroEdit2"), sheet);

    auto *grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    addRows(grid, {{QStringLiteral("Fatura No :"), number},
                   {QStringLiteral("Fatura Tarihi :"), date},
                   {QStringLiteral("Ödenen :"), paid},
                   {QStringLiteral("T.Ödenen Tutar :"), m_paid},
                   {QStringLiteral("T. Kalan Tutar :"), m_remaining}});
    addRows(grid, {{QStringLiteral("Tipi :"), kind},
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
    layout->addWidget(createGrid(QStringLiteral("SrDBGrid11"), *context().data, sheet), 1);

    QWidget *const order[] = {number, kind, date, amount, paid, discount, total, vat, check, compute, m_paid, m_remaining};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    return singleTabPanel(QStringLiteral("FATURALAR          "), sheet, this);
}

void CariPage::Button3Click()
{
    Dataset &row = *m_entries;
    row.edit(); // a company without entries gets its first one
    for (const char *field : {"Iskonto", "Odenen", "Tutar", "Kalan", "Toplam"})
        if (row.text(QLatin1String(field)).trimmed().isEmpty())
            row.setText(QLatin1String(field), QStringLiteral("0,00"));
    const bool addVat = m_addVat->isChecked();
    // The rate is read now: a change in the settings counts at once.
    const double rate = addVat ? vatRate(context().setting(QStringLiteral("Kdv"))) : 0.0;
    const EntryAmounts amounts =
        entryAmounts(row.asDouble(QStringLiteral("Tutar")), row.asDouble(QStringLiteral("Iskonto")),
                     row.asDouble(QStringLiteral("Odenen")), addVat, rate);
    m_vatField->setTextAsFloat(amounts.kdv);
    if (addVat)
        row.setValue(QStringLiteral("Kdv"), amounts.kdv);
    else
        row.setText(QStringLiteral("Kdv"), QStringLiteral("0,00"));
    row.setValue(QStringLiteral("Toplam"), amounts.toplam);
    row.setValue(QStringLiteral("Kalan"), amounts.kalan);
}

void CariPage::Cari1AfterPost() { Button4Click(); }

void CariPage::Button4Click()
{
    // An entry without a paid or remaining amount stops here: the boxes keep
    // their texts and the list stays on that entry.
    m_entries->first();
    int paid = 0;
    int remaining = 0;
    while (!m_entries->eof()) {
        paid = addToRunningTotal(paid, m_entries->value(QStringLiteral("Odenen")));
        remaining = addToRunningTotal(remaining, m_entries->value(QStringLiteral("Kalan")));
        m_entries->next();
    }
    m_paidField->setTextAsFloat(paid);
    m_remainingField->setTextAsFloat(remaining);
    m_paid->setText(m_paidField->text());
    m_remaining->setText(m_remainingField->text());
    m_entries->first();
}

} // namespace tk
