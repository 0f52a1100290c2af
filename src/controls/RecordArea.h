#pragma once
// The part of the main window that holds the record pages. Names such as
// "Edit1" recur in the dialogs the main window owns, so the pages' controls
// are looked up below this widget only.
class QWidget;

namespace tk {

// The central widget of the main window `w` belongs to, or that window.
QWidget *recordArea(QWidget *w);

} // namespace tk
