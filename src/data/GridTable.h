#pragma once
// The record lists of the main window: a list is built from its definition
// (which dataset it shows, with which columns; the pages declare theirs) and
// every list shares one appearance.
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

// The colours, title row and wheel step every list of the main window uses.
void applyMainWindowAppearance(TSrDBGrid *grid);

// Builds the list of `def` over its dataset of `data`: model, cursor and grid
// (the grid owns the first two), with its objectName, columns, widths and
// appearance; a click on a column title sorts the dataset by that column.
TSrDBGrid *createGrid(const GridDef &def, DataModule &data, QWidget *parent);

// Title clicks of `grid` sort `dataset` by the clicked column (again: the other
// way), with an arrow on that title; the arrow goes when the dataset's order
// is dropped elsewhere (a cleared search).
void attachHeaderSort(TSrDBGrid *grid, Dataset *dataset);

} // namespace tk
