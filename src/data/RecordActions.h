#pragma once
// The record tool bars of the pages, their six dataset actions per data
// source, and the add and delete patterns, driven by the pages' ToolBarDefs.
#include "DataModule.h"

#include <QAction>
#include <QToolBar>

namespace tk {

struct ToolBarDef {
    const char *toolBar;       // ToolBarN
    const char *dataset;
    const char *actionPrefix;  // Mus, Fat, IrsaliyeUst, ...
    const char *actionSuffix;  // "1" on the detail lists of most pages
    const char *addButton;     // ToolButtonN (its handler is ToolButtonNClick)
    const char *focusBox;      // the box the add handler focuses first
    const char *deleteButton;
    const char *deleteColumn;  // quoted in the delete question
    const char *question;      // follows the quoted value
    int buttonWidth;
};

// What an action of a data source does to its dataset.
enum class RecordOperation { First, Prior, Next, Last, Post, Cancel };

// The eight tool bar pictures (add, delete, save, cancel, first, previous,
// next, last), cut from one picture strip.
QIcon recordPicture(int index);

// The delete question: the value in single quotes (quotes inside doubled),
// then the page's text.
QString deleteQuestion(const QString &value, const QString &question);

// Holds the six actions of every data source (ActionList1) and keeps them
// enabled by the state of their datasets at idle time.
class RecordActions : public QObject {
    Q_OBJECT
public:
    // The six actions of each tool bar of `toolBars`.
    RecordActions(DataModule *data, const QVector<ToolBarDef> &toolBars, QObject *parent);
    QAction *action(const QString &name) const; // "MusFirst", "FatPost1", ...
    // Every action, or only those of `only`'s tool bars.
    void updateEnabled(const Dataset *only = nullptr);

private:
    struct Entry {
        QAction *action;
        Dataset *dataset;
        RecordOperation operation;
    };
    QVector<Entry> m_entries;
};

// Builds the record tool bar of `def` on `page`: add and delete buttons with
// their patterns, save, cancel, a separator and the four moves. `def` must
// live as long as the page.
QToolBar *createRecordToolBar(const ToolBarDef &def, RecordActions *actions, DataModule *data, QWidget *page);

// The add pattern: focus the table's first box, then append a row (a detail
// row needs its master saved first).
void addRecord(const ToolBarDef &def, DataModule *data, QWidget *page);
// The delete pattern: ask with the quoted value, delete on Yes.
void deleteRecord(const ToolBarDef &def, DataModule *data, QWidget *page);

} // namespace tk
