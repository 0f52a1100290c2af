#pragma once
// The nineteen record lists of the main window: which dataset each shows,
// with which columns, and the one appearance they share. The pages build
// their lists through createGrid.
#include "DataModule.h"
#include "controls/TSrDBGrid.h"

#include <QVector>

namespace tk {

struct GridColumnDef {
    const char *field;
    const char *title = nullptr; // nullptr: the column shows its field name
    int width = 0;               // pixels; 0: wide enough for its title
    bool hidden = false;         // kept in the column list, not shown
    const char *font = nullptr;  // a font family of the column's own
};

struct GridDef {
    const char *grid;    // objectName of the list
    const char *dataset; // dataset name in the DataModule
    const char *what;    // accessible name: the page and what the list holds
    QVector<GridColumnDef> columns;
};

// All nineteen, in the order of the pages.
const QVector<GridDef> &gridDefs();
// nullptr when `gridName` is not one of them.
const GridDef *findGridDef(const QString &gridName);

// The colours, title row and wheel step every list of the main window uses.
void applyMainWindowAppearance(TSrDBGrid *grid);

// Builds the list `gridName` ("SrDBGrid1" … "SrDBGrid19") over its dataset of
// `data`: model, cursor and grid (the grid owns the first two), with its
// objectName, columns, widths and appearance. Throws tk::Error for an unknown name.
TSrDBGrid *createGrid(const QString &gridName, DataModule &data, QWidget *parent);

} // namespace tk
