#pragma once
// What every record page is given and offers. A page lives on its tab sheet
// for the whole run; its controls carry the names the rest of the program
// (status bar, settings, print buttons, tests) finds them by.
#include "data/BoundControls.h"
#include "data/DataModule.h"
#include "data/RecordActions.h"
#include "data/SearchBoxes.h"

#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <functional>

class QGridLayout;

namespace tk {

struct PageContext {
    DataModule *data = nullptr;
    RecordActions *actions = nullptr; // ActionList1: the dataset actions of every tool bar
    // Live value of a setting, read from the settings dialog at the moment of
    // use: "Kdv", "Rp1" … "Rp11", "Mhs1", "Mhs2"; "--P" answers "1" or "0".
    std::function<QString(const QString &key)> setting;
};

class RecordPage : public QWidget {
    Q_OBJECT
public:
    RecordPage(const PageContext &context, QWidget *parent);

    Dataset *dataset(const QString &name) const { return m_context.data->dataset(name); }
    const PageContext &context() const { return m_context; }

protected:
    // A box bound to `field`, named `name`; typing goes through the shared
    // upper-case key handler.
    DBEdit *boundEdit(const QString &name, const QString &dataset, const QString &field);
    // The record tool bar `toolBar` ("ToolBar2" …) with its buttons and actions.
    QToolBar *recordToolBar(const QString &toolBar);
    // The search box `box` ("Edit1" …) with its selector and clear-search button.
    SearchWidgets searchBox(const QString &box);
    DBMemo *boundMemo(const QString &name, const QString &dataset, const QString &field);
    // A label whose buddy is `box`; its text is the box's accessible name.
    QLabel *labelFor(const QString &text, QWidget *box);
    // A read-only total box of the page (kept in S-Veri.ini between runs).
    QLineEdit *totalBox(const QString &name);
    // The framed period block of the invoice and waybill pages: the tool bar,
    // "Yıl :" and "Ay :" bound to `Yil` and `Aylar`, and the print button.
    struct YearMonthPanel {
        QString toolBar, dataset, yearBox, monthBox, printButton, printHint;
    };
    QWidget *yearMonthPanel(const YearMonthPanel &def);
    // The Tab key goes through the page's controls of these names in this order.
    void chainTabOrder(std::initializer_list<const char *> names);
    // Adds rows "label: box" to a grid layout, one per entry.
    void addRows(QGridLayout *grid, const QVector<QPair<QString, QWidget *>> &rows, int column = 0, int firstRow = 0);

private:
    PageContext m_context;
};

} // namespace tk
