#include "MaasPage.h"

#include "SalaryLine.h"

#include <QGridLayout>
#include <QToolBar>

namespace tk {

namespace {
const PeriodPageDef kMaas = {"DBEdit91", "|Maaş ödeme çıktısı yazdır...", "MAAŞ ÇİZELGESİ"};

constexpr int kAmountWidth = 65;

// Four pairs of columns; the computed boxes stand in the last one, but for
// the paid amount.
const QVector<BoxPlace> kAmountBoxes = {
    {"DBEdit93", "Maas", "Maaş :", 1, 0, 1, kAmountWidth},
    {"DBEdit94", "Yol", "Yol :", 1, 1, 1, kAmountWidth},
    {"DBEdit95", "Mesai", "Mesai :", 1, 2, 1, kAmountWidth},
    {"DBEdit96", "Toplam", "Toplam :", 1, 3, 1, kAmountWidth},
    {"DBEdit97", "Avans", "Avans :", 2, 0, 1, kAmountWidth},
    {"DBEdit98", "Kesinti", "Kesinti :", 2, 1, 1, kAmountWidth},
    {"DBEdit99", "K_Toplam", "K. Toplam :", 2, 3, 1, kAmountWidth},
    {"DBEdit100", "O_Tutar", "Ö. Tutarı :", 3, 0, 1, kAmountWidth},
    {"DBEdit101", "O_Tutari", "Öd. Tutar :", 3, 1, 1, kAmountWidth},
    {"DBEdit102", "Kalan", "Kalan :", 3, 3, 1, kAmountWidth},
};

// The fields the line computes before it is saved: read, not typed into.
const QStringList kComputedFields = {QStringLiteral("Toplam"), QStringLiteral("K_Toplam"), QStringLiteral("O_Tutar"),
                                     QStringLiteral("Kalan")};

// The entered amounts first, then the computed ones, then the tool bar.
const char *const kTabOrder[] = {"DBEdit92", "DBEdit93", "DBEdit94", "DBEdit95", "DBEdit97", "DBEdit98",
                                 "DBEdit101", "DBEdit100", "DBEdit96", "DBEdit99", "DBEdit102"};
const QString kLines = QStringLiteral("Maas1");
} // namespace

MaasPage::MaasPage(const PageContext &context, QWidget *parent) : PeriodPage(maasPageDef(), context, parent, kMaas)
{
    QGridLayout *grid = entryBoxes();
    DBEdit *person = boundEdit(QStringLiteral("DBEdit92"), kLines, QStringLiteral("Personel"));
    person->setFixedWidth(425);
    grid->addWidget(labelFor(QStringLiteral("PERSONEL :"), person), 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(person, 0, 1, 1, 7, Qt::AlignLeft);
    for (DBEdit *box : placeBoxes(grid, kLines, kAmountBoxes))
        if (kComputedFields.contains(box->field()))
            showAsComputed(box);
    grid->setColumnStretch(8, 1);

    QVector<QWidget *> order;
    for (const char *name : kTabOrder)
        order.append(findChild<QWidget *>(QString::fromLatin1(name)));
    if (QWidget *firstButton = entryToolBar()->findChild<QWidget *>(QStringLiteral("ToolButton145")))
        order.append(firstButton);
    chainTabOrder(order);

    dataset(kLines)->beforePost = [this](Dataset &line) { Maas1BeforePost(line); };
}

void MaasPage::Maas1BeforePost(Dataset &line)
{
    computeSalaryLine([&line](const QString &field) { return line.asDouble(field); },
                      [&line](const QString &field, double value) { line.setValue(field, value); });
}

} // namespace tk
