#pragma once
// What every record page is given and offers. A page lives on its tab sheet
// for the whole run; its controls carry the names the rest of the program
// (status bar, settings, print buttons, tests) finds them by.
#include "data/BoundControls.h"
#include "pages/PageDef.h"

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

// A bound box placed as "label: box" in a grid of label and box column pairs.
struct BoxPlace {
    const char *name;  // DBEditN
    const char *field;
    const char *label;
    int row;
    int column;        // the pair: label in grid column 2 × column, box right of it
    int span = 1;      // grid columns the box takes
    int width = 0;     // fixed width in pixels; 0 leaves it to the layout
};

class RecordPage : public QWidget {
    Q_OBJECT
public:
    RecordPage(const PageDef &def, const PageContext &context, QWidget *parent);

    Dataset *dataset(const QString &name) const { return m_context.data->dataset(name); }
    const PageContext &context() const { return m_context; }
    // What the page declares: its lists, tool bars, search box and print buttons.
    const PageDef &pageDef() const { return m_def; }

protected:
    // A box bound to `field`, named `name`; typing goes through the shared
    // upper-case key handler.
    DBEdit *boundEdit(const QString &name, const QString &dataset, const QString &field);
    // The page's record tool bar `toolBar` ("ToolBar2" …) with its buttons and actions.
    QToolBar *recordToolBar(const QString &toolBar);
    // The page's search box `box` ("Edit1" …) with its selector and clear-search button.
    SearchWidgets searchBox(const QString &box);
    // The page's list `grid` ("SrDBGrid1" …) under `parent` (the page when null).
    TSrDBGrid *list(const QString &grid, QWidget *parent = nullptr);
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
    // Adds rows "label: box" to a grid layout, one per entry.
    void addRows(QGridLayout *grid, const QVector<QPair<QString, QWidget *>> &rows, int column = 0, int firstRow = 0);
    // Boxes bound to `dataset`, placed by `places` in `grid`; the tab order
    // follows the table. Returns the boxes in table order.
    QVector<DBEdit *> placeBoxes(QGridLayout *grid, const QString &dataset, const QVector<BoxPlace> &places);
    // Tab goes from each widget to the next, in the order given.
    void chainTabOrder(const QVector<QWidget *> &order);

private:
    const PageDef &m_def;
    PageContext m_context;
};

} // namespace tk
