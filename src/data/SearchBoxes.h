#pragma once
// The search boxes of the pages: each narrows its page's master list to the
// rows whose column begins with the typed text.
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

// The statement of a search for the rows whose `column` begins with `typed`,
// with its parameters (the text is never part of the statement).
struct SearchStatement {
    QString sql;
    QVariantList params;
};
SearchStatement searchStatement(const Store &store, const QString &table, const QString &column, const QString &typed);

struct SearchWidgets {
    QComboBox *selector = nullptr; // null on pages without one
    QLineEdit *box = nullptr;
    QToolButton *clear = nullptr;
};

// Builds the search box of `def` (with its selector and clear-search button)
// on `page` and wires the search pattern to it. `def` must live as long as the page.
SearchWidgets createSearchBox(const SearchDef &def, DataModule *data, QWidget *page);

// Runs the search of `def` with `box`'s current text over the column
// `selector` names (EditNChange); `selector` is null on pages without one.
void runSearch(const SearchDef &def, DataModule *data, QWidget *page, QLineEdit *box, QComboBox *selector);
// SpeedButton1Click: empties every search box below `area`, in the order of
// their numbers (Edit1 first).
void clearAllSearches(QWidget *area);

} // namespace tk
