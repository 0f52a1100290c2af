#pragma once
// The keys of the record tool bars: Ctrl+N add, Ctrl+Del delete, Ctrl+S
// save, Esc cancel, Ctrl+Home/PgUp/PgDn/End first, prior, next, last. A key
// goes to the tool bar of the part of the page that has the focus: the tool
// bar of the dataset the focused control shows or searches, else the shown
// page's first tool bar. Keys the focused control uses itself (an edit box's
// Ctrl+Home, a list's Ctrl+Del) stay with that control.
#include "RecordActions.h"

#include <QObject>

class QAbstractButton;

namespace tk {

// Marks `widget` as part of the record set `dataset` (bound boxes, lists,
// search boxes), so that a tool bar key pressed on it reaches that set's tool bar.
void setRecordPart(QWidget *widget, const QString &dataset);
// The record set of `widget` or of the nearest marked parent; empty when none.
QString recordPart(const QWidget *widget);

class RecordKeys : public QObject {
    Q_OBJECT
public:
    // Keys work in `window` on the tool bars `toolBars` below `area`; each
    // tool bar button's tool tip shows its key.
    RecordKeys(QWidget *window, QWidget *area, RecordActions *actions, const QVector<ToolBarDef> &toolBars);

    // The tool bar a key pressed now would reach, or null.
    QToolBar *targetToolBar() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void press(int operation);
    // The definition of the tool bar a key goes to now, and that tool bar in `bar`.
    const ToolBarDef *target(QToolBar **bar) const;
    QAbstractButton *button(QToolBar *bar, const ToolBarDef &def, int operation) const;

    QWidget *m_window;
    QWidget *m_area;
    RecordActions *m_actions;
    QVector<ToolBarDef> m_toolBars;
};

} // namespace tk
