#pragma once
// The ten record pages in the order of the left column. What each page
// declares lives in its own folder (src/pages/<page>/<Page>PageDef.cpp);
// here they are only put in order, and the views over all ten are taken.
#include "pages/PageDef.h"

namespace tk {

const QVector<const PageDef *> &pageDefs();

// Everything the ten pages declare, in page order.
const QVector<DatasetDef> &datasetDefs();
const QVector<ToolBarDef> &toolBarDefs();
const QVector<GridDef> &gridDefs();
const QVector<SearchDef> &searchDefs();
const std::vector<PrintButtonDef> &printButtonTable();
const QVector<SavedTotal> &savedTotalDefs();

// nullptr when no page declares `buttonName`.
const PrintButtonDef *findPrintButton(const QString &buttonName);
// Builds the list `gridName` of whichever page declares it (see createGrid in
// data/GridTable.h). Throws tk::Error for a name no page declares.
TSrDBGrid *createGrid(const QString &gridName, DataModule &data, QWidget *parent);

} // namespace tk
