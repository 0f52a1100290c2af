#include "MaasPage.h"

#include "SalaryLine.h"

#include <QGridLayout>
#include <QToolBar>

namespace tk {

namespace {
const PeriodPageDef kMaas = {
    "Edit12", "SrDBGrid18", "ToolBar17", "DBEdit91", "Maas", "BitBtn1", "|Maaş ödeme çıktısı yazdır...",
    "MAAŞ ÇİZELGESİ", "ToolBar18", "SrDBGrid19",
};

struct LineBox {
    const char *name;
    const char *field;
    const char *label;
    int row;
    int column;    // 0 … 3; the computed boxes stand in the last one
    bool computed;
};
const LineBox kAmountBoxes[] = {
    {"DBEdit93", "Maas", "Maaş :", 1, 0, false},
    {"DBEdit94", "Yol", "Yol :", 1, 1, false},
    {"DBEdit95", "Mesai", "Mesai :", 1, 2, false},
    {"DBEdit96", "Toplam", "Toplam :", 1, 3, true},
    {"DBEdit97", "Avans", "Avans :", 2, 0, false},
    {"DBEdit98", "Kesinti", "Kesinti :", 2, 1, false},
    {"DBEdit99", "K_Toplam", "K. Toplam :", 2, 3, true},
    {"DBEdit100", "O_Tutar", "Ö. Tutarı :", 3, 0, true},
    {"DBEdit101", "O_Tutari", "Öd. Tutar :", 3, 1, false},
    {"DBEdit102", "Kalan", "Kalan :", 3, 3, true},
};
// The entered amounts first, then the computed ones, then the tool bar.
const char *const kTabOrder[] = {"DBEdit92", "DBEdit93", "DBEdit94", "DBEdit95", "DBEdit97", "DBEdit98",
                                 "DBEdit101", "DBEdit100", "DBEdit96", "DBEdit99", "DBEdit102"};
constexpr int kAmountWidth = 65;
const QString kLines = QStringLiteral("Maas1");
} // namespace

MaasPage::MaasPage(const PageContext &context, QWidget *parent) : PeriodPage(context, parent, kMaas)
{
    QGridLayout *grid = entryBoxes();
    DBEdit *person = boundEdit(QStringLiteral("DBEdit92"), kLines, QStringLiteral("Personel"));
    person->setFixedWidth(425);
    grid->addWidget(labelFor(QStringLiteral("PERSONEL :"), person), 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(person, 0, 1, 1, 7, Qt::AlignLeft);
    for (const LineBox &b : kAmountBoxes) {
        DBEdit *box = boundEdit(QString::fromLatin1(b.name), kLines, QString::fromLatin1(b.field));
        box->setFixedWidth(kAmountWidth);
        if (b.computed)
            showAsComputed(box);
        grid->addWidget(labelFor(QString::fromUtf8(b.label), box), b.row, b.column * 2, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(box, b.row, b.column * 2 + 1);
    }
    grid->setColumnStretch(8, 1);

    QWidget *previous = nullptr;
    for (const char *name : kTabOrder) {
        QWidget *box = findChild<QWidget *>(QString::fromLatin1(name));
        if (previous)
            setTabOrder(previous, box);
        previous = box;
    }
    if (QWidget *firstButton = entryToolBar()->findChild<QWidget *>(QStringLiteral("ToolButton145")))
        setTabOrder(previous, firstButton);

    dataset(kLines)->beforePost = [this](Dataset &line) { Maas1BeforePost(line); };
}

void MaasPage::Maas1BeforePost(Dataset &line)
{
    computeSalaryLine([&line](const QString &field) { return line.asDouble(field); },
                      [&line](const QString &field, double value) { line.setValue(field, value); });
}

} // namespace tk
