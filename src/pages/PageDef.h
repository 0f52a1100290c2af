#pragma once
// Everything one record page declares, in one place: its datasets, record
// tool bars, lists, search box, print buttons, its row in the main window's
// page column and status bar, and the totals kept in S-Veri.ini. Each page
// folder fills one (<Page>Def.cpp); the main window holds the ordered list.
#include "data/DataModule.h"
#include "data/GridTable.h"
#include "data/RecordActions.h"
#include "data/SearchBoxes.h"

#include <QStringList>
#include <QVector>
#include <functional>
#include <vector>

class QWidget;

namespace tk {

class RecordPage;
struct PageContext;

// What a print button copies into one cell of its report.
struct PrintCellSource {
    enum Kind { Setting, Box };
    const char *cell;   // MemoN of the template
    Kind kind;
    const char *source; // setting key or the box's objectName
    const char *suffix; // appended to the text ("" or " TL")
};

struct PrintButtonDef {
    const char *button;       // BitBtnN
    const char *report;       // template name
    const char *titleSetting; // Rp1 … Rp11, into Memo1
    std::vector<PrintCellSource> cells;
};

// A cell filled from a box of the page, as the box shows its text.
constexpr PrintCellSource boxCell(const char *cell, const char *box) { return {cell, PrintCellSource::Box, box, ""}; }

// One part of the record count in the status bar.
struct CountPart {
    const char *label;   // text before the number
    const char *dataset; // whose rows are counted
};

// A total box of the page whose text S-Veri.ini keeps between runs.
struct SavedTotal {
    const char *section;
    const char *key;
    const char *box; // the page's box
};

struct PageDef {
    // The page column and the status bar.
    const char *button;  // RzButtonN
    const char *caption; // button caption and tab name
    const char *hint;    // two-part hint of the button
    const char *tabSheet;
    std::function<RecordPage *(const PageContext &, QWidget *)> create;
    QVector<CountPart> count;
    const char *currentLabel;
    QStringList currentBoxes; // boxes whose shown text is the current record
    const char *boxSeparator;

    // What the page is built from.
    QVector<DatasetDef> datasets; // masters before their details
    QVector<ToolBarDef> toolBars;
    QVector<GridDef> grids;
    QVector<SearchDef> searches;
    std::vector<PrintButtonDef> printButtons;
    QVector<SavedTotal> savedTotals;

    // By objectName; the first three throw tk::Error for a name the page does not declare.
    const ToolBarDef &toolBar(const QString &name) const;
    const GridDef &grid(const QString &name) const;
    const SearchDef &search(const QString &name) const;
    const PrintButtonDef *printButton(const QString &name) const; // nullptr when not the page's
};

// The `create` of a page class.
template <typename Page>
RecordPage *makePage(const PageContext &context, QWidget *parent)
{
    return new Page(context, parent);
}

} // namespace tk
