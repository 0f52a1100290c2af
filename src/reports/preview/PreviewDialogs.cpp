#include "PreviewDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace tk::reports {

namespace {

QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Tamam"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("İptal"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QDoubleSpinBox *millimetres(QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setRange(0, 2000);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

} // namespace

FindDialog::FindDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Bul"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("Aranacak kelime:"), this);
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("edFind"));
    label->setBuddy(m_text);
    m_case = new QCheckBox(QStringLiteral("Büyük/küçük harf duyarlı"), this);
    m_case->setObjectName(QStringLiteral("cbCase"));
    m_fromStart = new QCheckBox(QStringLiteral("Baştan ara"), this);
    m_fromStart->setObjectName(QStringLiteral("cbFromStart"));
    layout->addWidget(label);
    layout->addWidget(m_text);
    layout->addWidget(m_case);
    layout->addWidget(m_fromStart);
    layout->addWidget(okCancel(this));
}

QString FindDialog::text() const { return m_text->text(); }
bool FindDialog::caseSensitive() const { return m_case->isChecked(); }
bool FindDialog::fromStart() const { return m_fromStart->isChecked(); }

PageSetupDialog::PageSetupDialog(QWidget *parent, const PageSetup &setup) : QDialog(parent)
{
    setObjectName(QStringLiteral("PageSetupDialog"));
    setWindowTitle(QStringLiteral("Sayfa Ayarları"));
    auto *layout = new QVBoxLayout(this);
    auto *paperBox = new QGroupBox(QStringLiteral("Kağıt Boyutu"), this);
    auto *paperForm = new QFormLayout(paperBox);
    m_paper = new QComboBox(paperBox);
    m_paper->setAccessibleName(QStringLiteral("Kağıt Boyutu"));
    m_paper->addItem(QStringLiteral("A4"), QSizeF(210, 297));
    m_paper->addItem(QStringLiteral("A5"), QSizeF(148, 210));
    m_paper->addItem(QStringLiteral("A3"), QSizeF(297, 420));
    m_paper->addItem(QStringLiteral("Letter"), QSizeF(215.9, 279.4));
    m_paper->addItem(QStringLiteral("Özel"), QSizeF());
    m_width = millimetres(paperBox);
    m_height = millimetres(paperBox);
    paperForm->addRow(m_paper);
    paperForm->addRow(QStringLiteral("Genişlik"), m_width);
    paperForm->addRow(QStringLiteral("Yükseklik"), m_height);
    auto *orientation = new QGroupBox(QStringLiteral("Yönlendirme"), this);
    auto *orientationLayout = new QHBoxLayout(orientation);
    m_portrait = new QRadioButton(QStringLiteral("Dikey"), orientation);
    m_landscape = new QRadioButton(QStringLiteral("Yatay"), orientation);
    orientationLayout->addWidget(m_portrait);
    orientationLayout->addWidget(m_landscape);
    auto *margins = new QGroupBox(QStringLiteral("Kenar Boşlukları"), this);
    auto *marginForm = new QFormLayout(margins);
    m_left = millimetres(margins);
    m_top = millimetres(margins);
    m_right = millimetres(margins);
    m_bottom = millimetres(margins);
    marginForm->addRow(QStringLiteral("Sol"), m_left);
    marginForm->addRow(QStringLiteral("Üst"), m_top);
    marginForm->addRow(QStringLiteral("Sağ"), m_right);
    marginForm->addRow(QStringLiteral("Alt"), m_bottom);
    m_current = new QRadioButton(QStringLiteral("Geçerli sayfaya uygula"), this);
    m_all = new QRadioButton(QStringLiteral("Tüm sayfalara uygula"), this);
    m_all->setChecked(true);
    // Two choices of their own: without groups the orientation buttons and
    // these would take each other's check away.
    for (auto pair : {std::pair{m_portrait, m_landscape}, std::pair{m_current, m_all}}) {
        auto *group = new QButtonGroup(this);
        group->addButton(pair.first);
        group->addButton(pair.second);
    }
    layout->addWidget(paperBox);
    layout->addWidget(orientation);
    layout->addWidget(margins);
    layout->addWidget(m_current);
    layout->addWidget(m_all);
    layout->addWidget(okCancel(this));

    const double shortSide = std::min(setup.paperWidth, setup.paperHeight);
    const double longSide = std::max(setup.paperWidth, setup.paperHeight);
    int match = m_paper->count() - 1;
    for (int i = 0; i + 1 < m_paper->count(); ++i) {
        const QSizeF s = m_paper->itemData(i).toSizeF();
        if (qAbs(s.width() - shortSide) < 0.5 && qAbs(s.height() - longSide) < 0.5)
            match = i;
    }
    m_paper->setCurrentIndex(match);
    m_width->setValue(setup.paperWidth);
    m_height->setValue(setup.paperHeight);
    (setup.landscape ? m_landscape : m_portrait)->setChecked(true);
    m_left->setValue(setup.marginLeft);
    m_top->setValue(setup.marginTop);
    m_right->setValue(setup.marginRight);
    m_bottom->setValue(setup.marginBottom);
    connect(m_paper, &QComboBox::activated, this, &PageSetupDialog::paperChosen);
    connect(m_portrait, &QRadioButton::toggled, this, [this] { paperChosen(m_paper->currentIndex()); });
}

void PageSetupDialog::paperChosen(int index)
{
    const QSizeF s = m_paper->itemData(index).toSizeF();
    if (s.isEmpty())
        return;
    const bool landscape = m_landscape->isChecked();
    m_width->setValue(landscape ? s.height() : s.width());
    m_height->setValue(landscape ? s.width() : s.height());
}

PageSetup PageSetupDialog::setup() const
{
    PageSetup s;
    s.paperWidth = std::max(10.0, m_width->value());
    s.paperHeight = std::max(10.0, m_height->value());
    s.landscape = m_landscape->isChecked();
    // Margins may not swallow the paper: keep at least 10 mm to print on.
    s.marginLeft = std::min(m_left->value(), s.paperWidth - 10);
    s.marginRight = std::min(m_right->value(), s.paperWidth - 10 - s.marginLeft);
    s.marginTop = std::min(m_top->value(), s.paperHeight - 10);
    s.marginBottom = std::min(m_bottom->value(), s.paperHeight - 10 - s.marginTop);
    return s;
}

bool PageSetupDialog::applyToAll() const { return m_all->isChecked(); }

ExportOptionsDialog::ExportOptionsDialog(QWidget *parent, const QString &caption, const std::vector<Check> &checks,
                                         bool jpeg)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportOptionsDialog"));
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    auto *range = new QGroupBox(QStringLiteral("Sayfa aralığı"), this);
    auto *rangeLayout = new QVBoxLayout(range);
    m_all = new QRadioButton(QStringLiteral("Tümü"), range);
    m_current = new QRadioButton(QStringLiteral("Geçerli sayfa"), range);
    m_list = new QRadioButton(QStringLiteral("Sayfalar:"), range);
    m_pages = new QLineEdit(range);
    m_pages->setAccessibleName(QStringLiteral("Sayfalar"));
    m_pages->setObjectName(QStringLiteral("edPages"));
    m_all->setChecked(true);
    auto *listRow = new QHBoxLayout;
    listRow->addWidget(m_list);
    listRow->addWidget(m_pages);
    rangeLayout->addWidget(m_all);
    rangeLayout->addWidget(m_current);
    rangeLayout->addLayout(listRow);
    rangeLayout->addWidget(new QLabel(QStringLiteral("Sayfa numaralarını ve/veya sayfa aralıklarını virgülle "
                                                     "ayırarak girin. Örn. 1,3,5-12"), range));
    connect(m_pages, &QLineEdit::textEdited, m_list, [this] { m_list->setChecked(true); });
    layout->addWidget(range);
    auto *options = new QGroupBox(caption, this);
    auto *optionsLayout = new QVBoxLayout(options);
    if (jpeg) {
        auto *form = new QFormLayout;
        m_quality = new QSpinBox(options);
        m_quality->setRange(1, 100);
        m_quality->setValue(90);
        m_dpi = new QSpinBox(options);
        m_dpi->setRange(24, 600);
        m_dpi->setValue(96);
        form->addRow(QStringLiteral("JPEG kalitesi"), m_quality);
        form->addRow(QStringLiteral("Resolution (dpi)"), m_dpi);
        optionsLayout->addLayout(form);
    }
    for (const Check &c : checks) {
        auto *box = new QCheckBox(c.caption, options);
        box->setChecked(c.checked);
        box->setEnabled(c.available);
        optionsLayout->addWidget(box);
        m_checks.push_back(box);
    }
    layout->addWidget(options);
    layout->addWidget(okCancel(this));
}

ExportChoice ExportOptionsDialog::choice() const
{
    ExportChoice c;
    c.range = m_current->isChecked() ? ExportChoice::Current : m_list->isChecked() ? ExportChoice::List
                                                                                   : ExportChoice::All;
    c.list = m_pages->text();
    for (QCheckBox *box : m_checks)
        c.checks.push_back(box->isChecked());
    if (m_quality) {
        c.quality = m_quality->value();
        c.dpi = m_dpi->value();
    }
    return c;
}

} // namespace tk::reports
