#pragma once
// The nine search boxes: each narrows its page's master list to the rows
// whose column begins with the typed text.
#include "DataModule.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>

namespace tk {

struct SearchDef {
    const char *box;       // EditN (its handler is EditNChange)
    const char *selector;  // ComboBoxN, or nullptr for a fixed column
    QVector<QPair<const char *, const char *>> entries; // selector text → column; one fixed column without selector
    const char *dataset;
    const char *clearButton; // SpeedButtonN
};

// In the order the clear-search button empties them.
const QVector<SearchDef> &searchDefs();
const SearchDef &searchDef(const QString &box);

// The statement of a search for the rows whose `column` begins with `typed`,
// with its parameters (the text is never part of the statement).
struct SearchStatement {
    QString sql;
    QVariantList params;
};
SearchStatement searchStatement(const QString &table, const QString &column, const QString &typed);

struct SearchWidgets {
    QComboBox *selector = nullptr; // null on pages without one
    QLineEdit *box = nullptr;
    QToolButton *clear = nullptr;
};

// Builds the search box `box` (with its selector and clear-search button) on
// `page` and wires the search pattern to it.
SearchWidgets createSearchBox(const QString &box, DataModule *data, QWidget *page);

// Runs the search of `def` with the box's current text (EditNChange).
void runSearch(const SearchDef &def, DataModule *data, QWidget *page);
// SpeedButton1Click: empties all nine boxes (found below `area`), in order.
void clearAllSearches(QWidget *area);

} // namespace tk
