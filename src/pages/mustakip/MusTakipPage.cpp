#include "MusTakipPage.h"

#include "controls/TurkishTyping.h"
#include "core/UiSeam.h"
#include "pages/PageParts.h"
#include "pages/shared/PrintButton.h"
#include "pages/RunningTotal.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tk {

namespace {
const QString kJobs = QStringLiteral("MusTakip");
const QString kOperations = QStringLiteral("MusTakip1");
} // namespace

MusTakipPage::MusTakipPage(const PageContext &context, QWidget *parent)
    : RecordPage(musTakipPageDef(), context, parent), m_operations(dataset(kOperations))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(searchColumn(searchBox(QStringLiteral("Edit1")),
                                   list(QStringLiteral("SrDBGrid1")), this));
    auto *right = new QVBoxLayout;
    right->addWidget(buildJobPanel());
    right->addWidget(buildOperationsPanel(), 1);
    layout->addLayout(right, 1);

    m_operations->afterPost = [this](Dataset &) { MusTakip1AfterPost(); };
}

QWidget *MusTakipPage::buildJobPanel()
{
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 4);

    auto *strip = new QHBoxLayout;
    strip->addWidget(recordToolBar(QStringLiteral("ToolBar2")));
    strip->addStretch();
    strip->addWidget(createPrintButton(QStringLiteral("BitBtn3"), QStringLiteral("|Müşteri formu yazdır..."), panel));
    layout->addLayout(strip);

    const auto edit = [this](const char *name, const char *field, int width) {
        DBEdit *box = boundEdit(QLatin1String(name), kJobs, QLatin1String(field));
        box->setFixedWidth(width);
        return box;
    };
    auto *blocks = new QHBoxLayout;
    auto *job = new QGridLayout;
    job->setVerticalSpacing(3);
    addRows(job, {{QStringLiteral("Müşteri Kodu :"), edit("DBEdit1", "MusteriKodu", 121)},
                  {QStringLiteral("Müşteri Adı :"), edit("DBEdit12", "AdiSoyadi", 121)},
                  {QStringLiteral("Araç Plaka :"), edit("DBEdit2", "AracPlaka", 121)},
                  {QStringLiteral("Araç Markası :"), edit("DBEdit3", "AracCinsi", 121)}});
    // Model and Km share one row.
    DBEdit *model = edit("DBEdit4", "Model", 41);
    DBEdit *km = edit("DBEdit5", "Km", 57);
    auto *modelRow = new QHBoxLayout;
    modelRow->setSpacing(4);
    modelRow->addWidget(model);
    modelRow->addWidget(labelFor(QStringLiteral("Km :"), km));
    modelRow->addWidget(km);
    modelRow->addStretch();
    job->addWidget(labelFor(QStringLiteral("Model :"), model), 4, 0, Qt::AlignRight | Qt::AlignVCenter);
    job->addLayout(modelRow, 4, 1);
    addRows(job, {{QStringLiteral("Tarih :"), edit("DBEdit6", "Tarih", 121)}}, 0, 5);
    job->setRowStretch(6, 1);
    blocks->addLayout(job);

    auto *contact = new QVBoxLayout;
    auto *phones = new QGridLayout;
    phones->setVerticalSpacing(1);
    const struct {
        const char *label, *name, *field;
    } phoneBoxes[] = {{"Cep Tel.", "DBEdit7", "TelefonCep"},
                      {"Ev Tel.", "DBEdit8", "TelefonEv"},
                      {"İş Tel.", "DBEdit9", "TelefonIs"}};
    int column = 0;
    for (const auto &p : phoneBoxes) {
        DBEdit *box = edit(p.name, p.field, 100);
        phones->addWidget(labelFor(QString::fromUtf8(p.label), box), 0, column);
        phones->addWidget(box, 1, column++);
    }
    phones->setColumnStretch(column, 1);
    contact->addLayout(phones);
    auto *notes = new QTabWidget(panel);
    notes->setObjectName(QStringLiteral("PageControl2"));
    notes->addTab(boundMemo(QStringLiteral("DBMemo1"), kJobs, QStringLiteral("Sikayet")), QStringLiteral("Şikayet"));
    notes->addTab(boundMemo(QStringLiteral("DBMemo2"), kJobs, QStringLiteral("Aciklama")), QStringLiteral("Açıklama"));
    findChild<QWidget *>(QStringLiteral("DBMemo1"))->setAccessibleName(QStringLiteral("Şikayet"));
    findChild<QWidget *>(QStringLiteral("DBMemo2"))->setAccessibleName(QStringLiteral("Açıklama"));
    notes->setMaximumHeight(110);
    contact->addWidget(notes);
    blocks->addSpacing(12);
    blocks->addLayout(contact, 1);
    layout->addLayout(blocks);
    return panel;
}

QWidget *MusTakipPage::buildOperationsPanel()
{
    auto *sheet = new QWidget;
    auto *layout = new QHBoxLayout(sheet);
    layout->setContentsMargins(4, 4, 4, 4);

    auto *form = new QVBoxLayout;
    form->addWidget(recordToolBar(QStringLiteral("ToolBar3")));
    // The operation box capitalises each word instead of the whole text.
    auto *operation = new DBEdit(m_operations, QStringLiteral("Islem"), sheet);
    operation->setObjectName(QStringLiteral("DBEdit10"));
    operation->setFixedWidth(209);
    attachWordCapitalTyping(operation);
    form->addWidget(labelFor(QStringLiteral("Yapılan İşlem :"), operation));
    form->addWidget(operation);

    DBEdit *amount = boundEdit(QStringLiteral("DBEdit11"), kOperations, QStringLiteral("Tutar"));
    amount->setFixedWidth(89);
    m_total = totalBox(QStringLiteral("Edit2"));
    m_total->setFixedWidth(89);
    showAsTotal(m_total);
    auto *amounts = new QGridLayout;
    addRows(amounts, {{QStringLiteral("Tutar :"), amount}});
    QLabel *totalLabel = labelFor(QStringLiteral("TOPLAM :"), m_total);
    QFont bold = totalLabel->font();
    bold.setBold(true);
    totalLabel->setFont(bold);
    amounts->addWidget(totalLabel, 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    amounts->addWidget(m_total, 1, 1);
    amounts->setColumnStretch(2, 1);
    form->addLayout(amounts);
    form->addStretch();

    m_totalField = hiddenAmountField(QStringLiteral("QiroEdit4"), sheet);
    m_totalButton = new QPushButton(QStringLiteral("Button1"), sheet);
    m_totalButton->setObjectName(QStringLiteral("Button1"));
    m_totalButton->hide();
    connect(m_totalButton, &QPushButton::clicked, this, [this] { guarded(this, [this] { Button1Click(); }); });

    layout->addLayout(form);
    QWidget *operationList = list(QStringLiteral("SrDBGrid2"), sheet);
    operationList->setFixedWidth(267);
    layout->addWidget(operationList);
    return singleTabPanel(QStringLiteral("YAPILAN İŞLEMLER          "), sheet, this);
}

void MusTakipPage::MusTakip1AfterPost() { Button1Click(); }

void MusTakipPage::Button1Click()
{
    // An empty amount or a total beyond the integer range stops here: the
    // box keeps its text and the list stays on the row that failed.
    m_operations->first();
    int total = 0;
    while (!m_operations->eof()) {
        total = addToRunningTotal(total, m_operations->value(QStringLiteral("Tutar")));
        m_operations->next();
    }
    m_totalField->setTextAsFloat(total);
    m_total->setText(m_totalField->text());
    m_operations->first();
}

} // namespace tk
