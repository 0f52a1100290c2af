#include "PrintButtons.h"

#include "core/Error.h"
#include "core/UiSeam.h"
#include "reports/Report.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace tk {

namespace {

// Which page sits above `widget`: its boxes are looked up there.
QWidget *pageOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget())
        if (qobject_cast<RecordPage *>(w))
            return w;
    return widget ? widget->window() : nullptr;
}

// The definition of `button` on the record page at or above `page`.
const PrintButtonDef *findPrintButton(const QString &button, QWidget *page)
{
    for (QWidget *w = page; w; w = w->parentWidget())
        if (auto *recordPage = qobject_cast<RecordPage *>(w))
            return recordPage->pageDef().printButton(button);
    return nullptr;
}

} // namespace

QString displayedText(const QWidget *box)
{
    if (auto *edit = qobject_cast<const QLineEdit *>(box))
        return edit->text();
    if (auto *memo = qobject_cast<const QPlainTextEdit *>(box))
        return memo->toPlainText();
    if (auto *rich = qobject_cast<const QTextEdit *>(box))
        return rich->toPlainText();
    if (auto *combo = qobject_cast<const QComboBox *>(box))
        return combo->currentText();
    if (auto *spin = qobject_cast<const QAbstractSpinBox *>(box))
        return spin->text();
    if (auto *label = qobject_cast<const QLabel *>(box))
        return label->text();
    throw Error(QStringLiteral("%1 bir metin kutusu değil").arg(box ? box->objectName() : QString()));
}

PrintButtons::PrintButtons(const PageContext &context, QObject *parent) : QObject(parent), m_context(context)
{
    setObjectName(QStringLiteral("PrintButtons"));
}

PrintButtons::~PrintButtons() = default;

PrintButtons *PrintButtons::of(QWidget *mainWindow, const PageContext &context)
{
    if (auto *existing = mainWindow->findChild<PrintButtons *>(QString(), Qt::FindDirectChildrenOnly))
        return existing;
    return new PrintButtons(context, mainWindow);
}

reports::Report &PrintButtons::report(const QString &templateName)
{
    auto found = m_reports.find(templateName);
    if (found != m_reports.end())
        return *found->second;
    auto report = std::make_unique<reports::Report>(templateName);
    for (const reports::DatasetLink &link : report->tmpl().links) {
        Dataset *dataset = m_context.data ? m_context.data->dataset(link.dataset) : nullptr;
        if (!dataset)
            throw Error(QStringLiteral("%1 raporunun veri kümesi yok: %2").arg(templateName, link.dataset));
        report->setDataset(link.name, dataset);
    }
    return *m_reports.emplace(templateName, std::move(report)).first->second;
}

reports::Report &PrintButtons::fill(const QString &button, QWidget *page)
{
    const PrintButtonDef *def = findPrintButton(button, page);
    if (!def)
        throw Error(QStringLiteral("Bilinmeyen yazdırma düğmesi: %1").arg(button));
    const auto setting = [this](const char *key) {
        return m_context.setting ? m_context.setting(QLatin1String(key)) : QString();
    };
    reports::Report &report = this->report(QLatin1String(def->report));
    report.setCellText(QStringLiteral("Memo1"), setting(def->titleSetting));
    for (const PrintCellSource &cell : def->cells) {
        QString text;
        if (cell.kind == PrintCellSource::Setting) {
            text = setting(cell.source);
        } else {
            const QWidget *source = page ? page->findChild<QWidget *>(QLatin1String(cell.source)) : nullptr;
            if (!source)
                throw Error(QStringLiteral("Sayfada %1 kutusu yok").arg(QLatin1String(cell.source)));
            text = displayedText(source);
        }
        report.setCellText(QLatin1String(cell.cell), text + QLatin1String(cell.suffix));
    }
    return report;
}

void PrintButtons::press(const QString &button, QWidget *page)
{
    guarded(page, [&] {
        reports::Report &report = fill(button, page);
        QWidget *owner = page ? page->window() : nullptr;
        if (m_context.setting && m_context.setting(QStringLiteral("--P")) == QLatin1String("1"))
            report.showPreview(owner);
        else
            report.prepareAndPrint(owner);
    });
}

bool PrintButtons::attach(QAbstractButton *button)
{
    if (!button || !findPrintButton(button->objectName(), button))
        return false;
    if (m_attached.contains(button))
        return true;
    m_attached.insert(button);
    connect(button, &QObject::destroyed, this, [this, button] { m_attached.remove(button); });
    connect(button, &QAbstractButton::clicked, this,
            [this, button] { press(button->objectName(), pageOf(button)); });
    return true;
}

void connectPrintButton(QAbstractButton *button, const PageContext &context)
{
    if (!button)
        return;
    PrintButtons::of(button->window(), context)->attach(button);
}

int connectPrintButtons(QWidget *mainWindow, const PageContext &context)
{
    PrintButtons *registry = PrintButtons::of(mainWindow, context);
    int connected = 0;
    // Only buttons on a record page: dialogs of the main window have BitBtn1/2 of their own.
    for (RecordPage *page : mainWindow->findChildren<RecordPage *>())
        for (QAbstractButton *button : page->findChildren<QAbstractButton *>())
            if (registry->attach(button))
                ++connected;
    return connected;
}

} // namespace tk
