#pragma once
// Pieces the record pages share beside the framework of RecordPage: the
// left column with the search box and the master list, the single-tab
// panels, the print buttons and the hidden numeric fields.
#include "controls/QiroEdit.h"
#include "data/SearchBoxes.h"

#include <QPushButton>
#include <QTabWidget>

namespace tk {

// The left column (148 pixels): the selector if any, the search box with its
// clear-search button, and the master list filling the rest.
QWidget *searchColumn(const SearchWidgets &search, QWidget *list, QWidget *parent);

// A tab control with one tab whose caption cannot be clicked; its sheet is
// always shown and works.
QTabWidget *singleTabPanel(const QString &caption, QWidget *sheet, QWidget *parent);

// A hidden numeric entry field with two decimals and no suffix: assigning an
// amount and reading it back rounds it (halves away from zero), its text is
// the amount as totals are shown ("1.234,00").
TQiroEdit *hiddenAmountField(const QString &name, QWidget *parent);

// A read-only box in the button-face colour, as the page totals are shown.
void showAsTotal(QLineEdit *box);

} // namespace tk
