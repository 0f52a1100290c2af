#pragma once
// The entry point of the print buttons.
//
//   tk::reports::Report report(QStringLiteral("RpStok"));       // :/reports/templates/RpStok.json
//   report.setDataset(QStringLiteral("DBStok"), stokDataset);     // by link or dataset name
//   report.setCellText(QStringLiteral("Memo1"), titleSetting);    // printed as it stands
//   if (previewSwitchOn) report.showPreview(mainWindow);          // modal "Önizleme"
//   else report.prepareAndPrint(mainWindow);                      // print dialog, no preview
//
// A Report keeps its template (with the texts set into it) and its last
// prepared pages for as long as it lives; the owner keeps one per template.
#include "reports/engine/Layout.h"
#include "reports/engine/PreparedReport.h"
#include "reports/engine/Template.h"

#include <QHash>

class QWidget;

namespace tk {
class Dataset;
}

namespace tk::reports {

class Report {
public:
    explicit Report(const QString &templateName); // throws tk::Error when it cannot be loaded
    explicit Report(Template tmpl);

    Template &tmpl() { return m_template; }
    const Template &tmpl() const { return m_template; }
    PreparedReport &prepared() { return m_prepared; }
    const PreparedReport &prepared() const { return m_prepared; }
    const QHash<QString, Dataset *> &datasets() const { return m_datasets; }

    // Case-insensitive; throws tk::Error when the template has no such cell.
    void setCellText(const QString &cellName, const QString &text);
    void setDataset(const QString &linkOrDatasetName, Dataset *dataset);

    // Lays the report out. On errors shows "Hata" / "Aşağıdaki hata(lar) oluştu:"
    // with the error lines (through tk::ui()) and returns false; the pages laid
    // out before the error stay.
    bool prepare(QWidget *parent);
    // Opens the modal preview window and lays the report out inside it.
    void showPreview(QWidget *parent);
    // Prepares, then prints through the print dialog (also after an error:
    // the pages laid out so far are printed).
    void prepareAndPrint(QWidget *parent);
    // Prints the prepared pages through the print dialog.
    void print(QWidget *parent, int currentPage = 0);

    // The errors of the last run.
    const QStringList &lastErrors() const { return m_errors; }
    void setLastErrors(const QStringList &errors) { m_errors = errors; }

private:
    Template m_template;
    PreparedReport m_prepared;
    QHash<QString, Dataset *> m_datasets;
    QStringList m_errors;
};

} // namespace tk::reports
