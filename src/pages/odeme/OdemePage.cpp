#include "OdemePage.h"

#include "PlanTotal.h"
#include "core/UiSeam.h"
#include "pages/PageParts.h"

#include <QGridLayout>
#include <QPushButton>

namespace tk {

namespace {
const PeriodPageDef kOdeme = {"DBEdit79", "|Ödeme planını yazdır...", "ÖDEME PLANI"};
const QString kEntries = QStringLiteral("Odeme1");
} // namespace

OdemePage::OdemePage(const PageContext &context, QWidget *parent) : PeriodPage(odemePageDef(), context, parent, kOdeme)
{
    DBEdit *date = boundEdit(QStringLiteral("DBEdit80"), kEntries, QStringLiteral("Tarih"));
    DBEdit *amount = boundEdit(QStringLiteral("DBEdit81"), kEntries, QStringLiteral("Tutar"));
    DBEdit *note = boundEdit(QStringLiteral("DBEdit84"), kEntries, QStringLiteral("Aciklama"));
    m_total = totalBox(QStringLiteral("Edit15"));
    showAsComputed(m_total);

    // Date and description share the first row, amount and grand total the second.
    QGridLayout *grid = entryBoxes();
    grid->addWidget(labelFor(QStringLiteral("Tarih :"), date), 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(date, 0, 1);
    grid->addWidget(labelFor(QStringLiteral("Açıklama :"), note), 0, 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(note, 0, 3);
    grid->addWidget(labelFor(QStringLiteral("TUTAR :"), amount), 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(amount, 1, 1);
    grid->addWidget(labelFor(QStringLiteral("G. TOPLAM :"), m_total), 1, 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_total, 1, 3, Qt::AlignLeft);
    m_total->setFixedWidth(140);
    grid->setColumnStretch(3, 1);
    date->setFixedWidth(120);
    amount->setFixedWidth(120);
    setTabOrder(date, amount);
    setTabOrder(amount, note);

    // Hidden helpers of the total: the numeric field that formats it and the
    // button whose click computes it.
    m_qiroEdit3 = hiddenAmountField(QStringLiteral("QiroEdit3"), sheet());
    m_button5 = new QPushButton(sheet());
    m_button5->setObjectName(QStringLiteral("Button5"));
    m_button5->hide();
    connect(m_button5, &QPushButton::clicked, this, [this] { guarded(this, [this] { Button5Click(); }); });

    dataset(kEntries)->afterPost = [this](Dataset &entries) { Odeme1AfterPost(entries); };
}

void OdemePage::Odeme1AfterPost(Dataset &) { Button5Click(); }

void OdemePage::Button5Click()
{
    Dataset *entries = dataset(kEntries);
    PlanTotal total;
    entries->first();
    while (!entries->eof()) {
        total.add(entries->value(QStringLiteral("Tutar"))); // an error leaves the list on this entry
        entries->next();
    }
    m_qiroEdit3->setTextAsFloat(total.value());
    m_total->setText(m_qiroEdit3->text());
    entries->first();
}

} // namespace tk
