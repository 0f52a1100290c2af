#pragma once
// The shape shared by the pages that keep records by period (cash book,
// payment plan, salary sheet): a left column with the search box and the
// period list, a period panel with its tool bar, the "Yıl / Ay :" box and the
// print button, and below it a single-tab sheet with the entries' tool bar,
// the page's own entry boxes and the entry list.
#include "pages/RecordPage.h"

class QGridLayout;
class QLineEdit;
class QTabWidget;
class QToolBar;

namespace tk {

// The rest comes from the page's PageDef: its search box, the periods' and
// the entries' datasets, tool bars and lists (in that order), its print button.
struct PeriodPageDef {
    const char *periodBox;  // DBEditN bound to Aylar
    const char *printHint;
    const char *sheetTitle; // the single tab
};

class PeriodPage : public RecordPage {
    Q_OBJECT
protected:
    PeriodPage(const PageDef &page, const PageContext &context, QWidget *parent, const PeriodPageDef &def);

    // Where the page lays out its entry boxes (between the tool bar and the list).
    QGridLayout *entryBoxes() const { return m_entryBoxes; }
    QWidget *sheet() const { return m_sheet; }
    QToolBar *entryToolBar() const { return m_entryToolBar; }

    // A box the user reads but does not type into: button-face background,
    // window-text letters.
    static void showAsComputed(QLineEdit *box);

private:
    QWidget *m_sheet = nullptr;
    QGridLayout *m_entryBoxes = nullptr;
    QToolBar *m_entryToolBar = nullptr;
};

} // namespace tk
