#include "CariPage.h"

#include "AccountMath.h"
#include "core/UiSeam.h"
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
    : VatEntryPage(cariPageDef(), context, parent), m_entries(dataset(kEntries))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(searchColumn(searchBox(QStringLiteral("Edit8")),
                                   list(QStringLiteral("SrDBGrid10")), this));
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
    constexpr int w = 88;
    static const VatSheetDef def = {
        QStringLiteral("ToolBar10"), kEntries,
        {{"DBEdit61", "FatNo", "Fatura No :", 0, 0, 1, w}, {"DBEdit63", "Tipi", "Tipi :", 0, 1},
         {"DBEdit62", "FatTarihi", "Fatura Tarihi :", 1, 0, 1, w}, {"DBEdit65", "Tutar", "Tutar :", 1, 1, 1, w},
         {"DBEdit67", "Odenen", "Ödenen :", 2, 0, 1, w}, {"DBEdit66", "Iskonto", "İskonto :", 2, 1, 1, w},
         {"DBEdit68", "Toplam", "Toplam :", 3, 1, 1, w}},
        QStringLiteral("DBEdit69"), QStringLiteral("DBCheckBox2"), QStringLiteral("KdvOnay"), QStringLiteral("Button3"),
        QStringLiteral("EditKdv2"), QStringLiteral("SrDBGrid11"),
    };
    const VatSheet s = buildVatSheet(def, [this] { Button3Click(); });
    s.boxes[1]->setMinimumWidth(120); // Tipi

    m_paid = totalBox(QStringLiteral("Edit13"));
    m_remaining = totalBox(QStringLiteral("Edit14"));
    for (QLineEdit *box : {m_paid, m_remaining}) {
        showAsTotal(box);
        box->setFixedWidth(w);
    }
    addRows(s.grid, {{QStringLiteral("T.Ödenen Tutar :"), m_paid}, {QStringLiteral("T. Kalan Tutar :"), m_remaining}}, 0, 3);
    auto *totals = new QPushButton(QStringLiteral("Button4"), s.sheet);
    totals->setObjectName(QStringLiteral("Button4"));
    totals->hide();
    connect(totals, &QPushButton::clicked, this, [this] { guarded(this, [this] { Button4Click(); }); });
    m_paidField = hiddenAmountField(QStringLiteral("QiroEdit1"), s.sheet);
    m_remainingField = hiddenAmountField(QStringLiteral("QiroEdit2"), s.sheet);

    chainTabOrder({s.boxes.last(), s.vat, s.addVat, s.compute, m_paid, m_remaining});
    return s.panel;
}

void CariPage::Button3Click()
{
    Dataset &row = *m_entries;
    row.edit(); // a company without entries gets its first one
    for (const char *field : {"Iskonto", "Odenen", "Tutar", "Kalan", "Toplam"})
        if (row.text(QLatin1String(field)).trimmed().isEmpty())
            row.setText(QLatin1String(field), QStringLiteral("0,00"));
    const bool addVat = addsVat();
    const EntryAmounts amounts =
        entryAmounts(row.asDouble(QStringLiteral("Tutar")), row.asDouble(QStringLiteral("Iskonto")),
                     row.asDouble(QStringLiteral("Odenen")), addVat, vatRateFor(addVat));
    storeVat(row, addVat, amounts.kdv);
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
