#pragma once
// The print buttons of the record pages: one procedure for all of them,
// driven by what each page declares its buttons copy into their reports'
// cells (PageDef::printButtons).
//
// A press sets the title cell from the button's title setting, copies the
// page's boxes as they display their text (unsaved typing included) into
// the listed cells, then shows the preview when the preview switch "--P" is
// "1", or else prepares the report and prints it through the print dialog.
// Nothing is restored afterwards. Texts copied this way are printed as they
// stand: a complaint "[ACİL] fren" is never read as an expression.
#include "pages/RecordPage.h"

#include <QObject>
#include <QSet>
#include <map>
#include <memory>
#include <vector>

class QAbstractButton;

namespace tk::reports {
class Report;
}

namespace tk {

// The text a box shows at this moment, as the user sees it.
// Throws tk::Error for a widget that shows no text.
QString displayedText(const QWidget *box);

// Owns the eleven reports (loaded at first use, kept with the texts set into
// them) and runs the print procedure. One lives under the main window.
class PrintButtons : public QObject {
    Q_OBJECT
public:
    PrintButtons(const PageContext &context, QObject *parent);
    ~PrintButtons() override;

    // The registry under `mainWindow`, created on first use.
    static PrintButtons *of(QWidget *mainWindow, const PageContext &context);

    // Runs `button`'s print procedure; its definition and boxes are looked up
    // on `page`.
    // Errors end up in one error box over `page`.
    void press(const QString &button, QWidget *page);
    // Sets the cells of `button`'s report from the settings and the boxes
    // under `page`, and returns the report ready to run (no run yet).
    reports::Report &fill(const QString &button, QWidget *page);
    // The report of a template, loaded and bound to its datasets at first use.
    reports::Report &report(const QString &templateName);

    // Connects `button` (by its objectName) once, however often it is
    // called; false when its page declares no such print button.
    bool attach(QAbstractButton *button);

private:
    PageContext m_context;
    std::map<QString, std::unique_ptr<reports::Report>> m_reports;
    QSet<QAbstractButton *> m_attached;
};

// Connects one page's print button, looked up in the table by its objectName.
void connectPrintButton(QAbstractButton *button, const PageContext &context);
// Connects every print button of the record pages under `mainWindow`
// (again calling it connects nothing twice); returns how many print buttons
// are connected, 11 when all pages are present.
int connectPrintButtons(QWidget *mainWindow, const PageContext &context);

} // namespace tk
