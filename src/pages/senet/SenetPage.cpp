#include "SenetPage.h"

#include "pages/shared/PrintButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace tk {

// One register: its sheet, print button, five boxes (number, due date, bank,
// the other firm, amount), tool bar and list.
struct NoteRegisterDef {
    const char *title;
    const char *dataset;
    const char *printButton;
    const char *printHint;
    const char *boxes[5];
    const char *firmField;
    const char *firmLabel;
    const char *toolBar;
    const char *grid;
};

namespace {
const NoteRegisterDef kIssued = {
    "VERİLEN SENETLER", "SenetVer", "BitBtn9", "|Verilen senet listesini yazdır...",
    {"DBEdit60", "DBEdit70", "DBEdit71", "DBEdit72", "DBEdit73"}, "V_Firma", "V. Firma :", "ToolBar11", "SrDBGrid13",
};
const NoteRegisterDef kReceived = {
    "ALINAN SENETLER", "SenetAl", "BitBtn10", "|Alınan senet listesini yazdır...",
    {"DBEdit74", "DBEdit75", "DBEdit76", "DBEdit77", "DBEdit78"}, "A_Firma", "A. Firma :", "ToolBar12", "SrDBGrid12",
};
constexpr int kUpperHeight = 239;
constexpr int kPanelWidth = 221;
constexpr int kShortBox = 97;
constexpr int kLongBox = 153;
} // namespace

SenetPage::SenetPage(const PageContext &context, QWidget *parent) : RecordPage(senetPageDef(), context, parent)
{
    auto *layout = new QVBoxLayout(this);
    QWidget *upper = buildRegister(kIssued);
    upper->setFixedHeight(kUpperHeight);
    layout->addWidget(upper);
    layout->addWidget(buildRegister(kReceived), 1);
}

QWidget *SenetPage::buildRegister(const NoteRegisterDef &def)
{
    const QString ds = QString::fromLatin1(def.dataset);
    auto *tabs = new QTabWidget(this);
    auto *sheet = new QWidget(tabs);
    tabs->addTab(sheet, QString::fromUtf8(def.title));
    tabs->tabBar()->setTabEnabled(0, false); // the only tab; its sheet stays shown

    auto *panel = new QWidget(sheet);
    panel->setFixedWidth(kPanelWidth);
    auto *form = new QGridLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    form->setVerticalSpacing(3);
    form->addWidget(createPrintButton(QString::fromLatin1(def.printButton), QString::fromUtf8(def.printHint), panel),
                    0, 0, 1, 2, Qt::AlignLeft);

    DBEdit *number = boundEdit(QString::fromLatin1(def.boxes[0]), ds, QStringLiteral("SenetNo"));
    DBEdit *due = boundEdit(QString::fromLatin1(def.boxes[1]), ds, QStringLiteral("VadeTarihi"));
    number->setFixedWidth(kShortBox);
    due->setFixedWidth(kShortBox);
    form->addWidget(labelFor(QStringLiteral("Senet No"), number), 1, 0);
    form->addWidget(labelFor(QStringLiteral("Vade Tarihi"), due), 1, 1);
    form->addWidget(number, 2, 0);
    form->addWidget(due, 2, 1);

    const QPair<const char *, const char *> rows[] = {
        {"Banka", "Banka :"}, {def.firmField, def.firmLabel}, {"Tutar", "TUTAR :"}};
    auto *lower = new QGridLayout;
    int row = 0;
    for (const auto &[field, label] : rows) {
        DBEdit *box = boundEdit(QString::fromLatin1(def.boxes[2 + row]), ds, QString::fromLatin1(field));
        box->setFixedWidth(kLongBox);
        lower->addWidget(labelFor(QString::fromUtf8(label), box), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        lower->addWidget(box, row, 1);
        ++row;
    }
    form->addLayout(lower, 3, 0, 1, 2);
    form->setRowStretch(4, 1);
    // Eight buttons of 24 pixels and the gap fill the panel's width: no handle, no spacing.
    QToolBar *bar = recordToolBar(QString::fromLatin1(def.toolBar));
    bar->setMovable(false);
    bar->layout()->setSpacing(0);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    form->addWidget(bar, 5, 0, 1, 2);

    auto *sheetLayout = new QHBoxLayout(sheet);
    sheetLayout->setSpacing(10);
    sheetLayout->addWidget(panel);
    sheetLayout->addWidget(list(QString::fromLatin1(def.grid)), 1);
    return tabs;
}

} // namespace tk
