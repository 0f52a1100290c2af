#include "TAyarFrm.h"

#include "DatabasePage.h"
#include "core/Cp1254.h"
#include "core/UiSeam.h"
#include "security/ProtectionPage.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QValidator>
#include <QVBoxLayout>

namespace tk {

namespace {

struct TitleBox {
    const char *label;
    const char *box;
    const char *key;
    const char *value;
};

// The report titles, left column then right column (the tab order follows).
const TitleBox titleBoxes[] = {
    {"Müşteri Takip :", "Edit2", "Rp1", "XXX TEKVANİS"},
    {"Hasar Takip :", "Edit3", "Rp2", "HASAR TAKİP"},
    {"Fatura Takip :", "Edit4", "Rp3", "FATURALAR"},
    {"Cari Hesaplar :", "Edit5", "Rp4", "CARİ HESAPLAR"},
    {"İrsaliyeler :", "Edit6", "Rp5", "İRSALİYELER"},
    {"Kasa Takip :", "Edit7", "Rp6", "KASA"},
    {"Ödeme Planı :", "Edit8", "Rp7", "ÖDEME PLANI"},
    {"Alınan Senetler :", "Edit9", "Rp8", "ALINAN SENETLER"},
    {"Verilen Senetler :", "Edit10", "Rp9", "VERİLEN SENETLER"},
    {"Stok :", "Edit11", "Rp10", "YEDEK PARÇA LİSTESİ"},
    {"Maaş Ödeme :", "Edit12", "Rp11", "MAAŞ"},
};

// S-Veri.ini is kept in Windows-1254: a character beyond it (the lira sign,
// an emoji) would come back as "?" at the next start. The boxes refuse it
// as it is typed or pasted and say why, so what a box shows is what is kept.
class SettingsFileText : public QValidator {
public:
    explicit SettingsFileText(QLineEdit *box) : QValidator(box)
    {
        connect(box, &QLineEdit::inputRejected, this, [this, box] {
            ui().warn(box->window(), QStringLiteral("Uyarı"),
                      QStringLiteral("'%1' karakteri ayar dosyasına yazılamaz; yerine başka bir karakter yazın.")
                          .arg(m_refused));
        });
    }

    State validate(QString &input, int &) const override
    {
        for (qsizetype i = 0; i < input.size(); ++i) {
            const qsizetype length = input[i].isHighSurrogate() && i + 1 < input.size() ? 2 : 1;
            if (!cp1254::canEncode(QStringView(input).sliced(i, length))) {
                m_refused = input.mid(i, length);
                return Invalid;
            }
            i += length - 1;
        }
        return Acceptable;
    }

private:
    mutable QString m_refused;
};

const char *const skyBlue = "QLineEdit { background: rgb(166, 202, 240); }";

QLabel *buddyLabel(const QString &text, QLineEdit *box, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(box);
    box->setAccessibleName(QString(text).remove(QLatin1Char(':')).trimmed());
    return label;
}

} // namespace

TAyarFrm::TAyarFrm(const QString &winIniPath, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AyarFrm"));
    setWindowTitle(QStringLiteral("Genel Ayarlar"));
    setModal(true);

    m_tabs = new QTabWidget(this);
    m_tabs->setMovable(true);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));

    m_protection = new ProtectionPage(winIniPath, m_tabs);
    m_tabs->addTab(m_protection, ProtectionPage::tabCaption());

    // Yazıcı / KDV
    auto *printer = new QWidget;
    auto *printerLayout = new QVBoxLayout(printer);
    auto *upper = new QGroupBox(printer);
    auto *upperLayout = new QVBoxLayout(upper);
    m_preview = new QCheckBox(QStringLiteral("Yazıcı Önizleme Pencerelerini Göster"), upper);
    m_preview->setObjectName(QStringLiteral("ChkYazdir"));
    m_preview->setChecked(true);
    upperLayout->addWidget(m_preview);
    auto *lower = new QGroupBox(printer);
    auto *lowerLayout = new QHBoxLayout(lower);
    QLineEdit *vat = addBox(QStringLiteral("Edit1"), QStringLiteral("18"), 49);
    lowerLayout->addWidget(buddyLabel(QStringLiteral("KDV Belirle :"), vat, lower));
    lowerLayout->addWidget(vat);
    lowerLayout->addStretch();
    printerLayout->addWidget(upper);
    printerLayout->addWidget(lower);
    printerLayout->addStretch();
    m_tabs->addTab(printer, QStringLiteral("Yazıcı / KDV"));

    // Rapor Başlıkları: five boxes in the left column, six in the right.
    auto *titles = new QWidget;
    auto *titleGrid = new QGridLayout(titles);
    // Six rows stand in the fixed dialog only when packed closely.
    titleGrid->setContentsMargins(6, 2, 6, 2);
    titleGrid->setVerticalSpacing(2);
    int i = 0;
    for (const TitleBox &t : titleBoxes) {
        QLineEdit *box = addBox(QString::fromLatin1(t.box), QString::fromUtf8(t.value), 121);
        const int column = i < 5 ? 0 : 2;
        const int row = i < 5 ? i : i - 5;
        titleGrid->addWidget(buddyLabel(QString::fromUtf8(t.label), box, titles), row, column, Qt::AlignRight);
        titleGrid->addWidget(box, row, column + 1);
        ++i;
    }
    m_tabs->addTab(titles, QStringLiteral(" Rapor Başlıkları "));

    // Muhasebe
    auto *accounting = new QWidget;
    auto *accountingLayout = new QVBoxLayout(accounting);
    QLineEdit *signer = addBox(QStringLiteral("Edit13"), QStringLiteral("AD SOYAD"), 217);
    QLineEdit *program = addBox(QStringLiteral("Edit14"), QStringLiteral("XXX Tekvanis"), 217);
    for (QLineEdit *box : {signer, program}) {
        auto *group = new QGroupBox(accounting);
        auto *row = new QHBoxLayout(group);
        row->addWidget(buddyLabel(box == signer ? QStringLiteral("Muhasebe / Yetkili :") : QStringLiteral("Program Adı :"),
                                  box, group));
        row->addWidget(box);
        row->addStretch();
        accountingLayout->addWidget(group);
    }
    accountingLayout->addStretch();
    m_tabs->addTab(accounting, QStringLiteral(" Muhasebe"));

    m_database = new DatabasePage(QFileInfo(winIniPath).absolutePath(), m_tabs);
    m_tabs->addTab(m_database, DatabasePage::tabCaption());

    // Tab order: the title boxes down the left column, then down the right one.
    for (int k = 2; k <= 12; ++k)
        setTabOrder(box(QStringLiteral("Rp%1").arg(k - 1)), k < 12 ? box(QStringLiteral("Rp%1").arg(k)) : nullptr);

    auto *cancel = new QPushButton(QStringLiteral("İptal"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto *ok = new QPushButton(QStringLiteral("TAMAM"), this);
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        // a refused write of the protection flag keeps the dialog open
        if (m_protection->OkBtnClick())
            guarded(this, [this] {
                m_database->save();
                accept();
            });
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_protection->CancelBtnClick();
        m_database->revert();
        reject();
    });

    cancel->setFixedHeight(25);
    ok->setFixedHeight(25);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(7, 7, 7, 7);
    layout->setSpacing(4);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    setFixedSize(460, 216);
}

QLineEdit *TAyarFrm::addBox(const QString &name, const QString &value, int width)
{
    auto *box = new QLineEdit(value, this);
    box->setObjectName(name);
    // The height the dialog was drawn for: six of them stand in a column.
    box->setFixedSize(width, 21);
    box->setStyleSheet(QString::fromLatin1(skyBlue));
    box->setValidator(new SettingsFileText(box));
    box->setCursorPosition(0); // a text longer than the box is seen from its start
    return box;
}

QLineEdit *TAyarFrm::box(const QString &key) const
{
    QString name;
    if (key == QLatin1String("Kdv"))
        name = QStringLiteral("Edit1");
    else if (key == QLatin1String("Mhs1"))
        name = QStringLiteral("Edit13");
    else if (key == QLatin1String("Mhs2"))
        name = QStringLiteral("Edit14");
    else
        for (const TitleBox &t : titleBoxes)
            if (key == QLatin1String(t.key))
                name = QString::fromLatin1(t.box);
    return name.isEmpty() ? nullptr : findChild<QLineEdit *>(name);
}

QString TAyarFrm::setting(const QString &key) const
{
    if (key == QLatin1String("--P"))
        return m_preview->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
    const QLineEdit *b = box(key);
    return b ? b->text() : QString();
}

} // namespace tk
