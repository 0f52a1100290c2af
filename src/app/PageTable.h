#pragma once
// The ten record pages in the order of the left column: their buttons, tab
// sheets, pages and what the status bar shows for each.
#include "pages/RecordPage.h"

#include <QStringList>
#include <functional>

namespace tk {

struct CountPart {
    const char *label;   // text before the number
    const char *dataset; // whose rows are counted
};

struct PageDef {
    const char *button;  // RzButtonN
    const char *caption; // button caption and tab name
    const char *hint;    // two-part hint of the button
    const char *tabSheet;
    std::function<RecordPage *(const PageContext &, QWidget *)> create;
    QVector<CountPart> count;
    const char *currentLabel;
    QStringList currentBoxes;  // boxes whose shown text is the current record
    const char *boxSeparator;
};

const QVector<PageDef> &pageDefs();

} // namespace tk
