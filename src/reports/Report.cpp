#include "Report.h"

#include "core/UiSeam.h"
#include "reports/engine/TemplateLoader.h"
#include "reports/preview/PreviewWindow.h"
#include "reports/preview/Printing.h"

#include <QApplication>

namespace tk::reports {

Report::Report(const QString &templateName) : m_template(loadTemplate(templateName)) {}

Report::Report(Template tmpl) : m_template(std::move(tmpl)) {}

void Report::setCellText(const QString &cellName, const QString &text)
{
    m_template.setCellText(cellName, text);
}

void Report::setDataset(const QString &linkOrDatasetName, Dataset *dataset)
{
    m_datasets.insert(linkOrDatasetName, dataset);
}

bool Report::prepare(QWidget *parent)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    LayoutRun run(m_template, m_prepared, m_datasets);
    const bool ok = run.runAll();
    QApplication::restoreOverrideCursor();
    m_errors = run.errors();
    if (!ok)
        ui().error(parent, QStringLiteral("Hata"), run.errorMessage());
    return ok;
}

void Report::showPreview(QWidget *parent)
{
    m_prepared.clear();
    PreviewWindow window(*this, parent);
    window.showMaximized();
    window.exec();
}

void Report::prepareAndPrint(QWidget *parent)
{
    prepare(parent);
    print(parent, 0);
}

void Report::print(QWidget *parent, int currentPage)
{
    printWithDialog(parent, m_prepared, currentPage);
}

} // namespace tk::reports
