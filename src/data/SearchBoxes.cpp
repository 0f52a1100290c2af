#include "SearchBoxes.h"

#include "RecordKeys.h"
#include "TurkishOrder.h"
#include "controls/Hints.h"
#include "controls/RecordArea.h"
#include "controls/TurkishTyping.h"
#include "core/UiSeam.h"

#include <QPointer>
#include <QStyle>

#include <algorithm>

namespace tk {

SearchStatement searchStatement(const Store &store, const QString &table, const QString &column, const QString &typed)
{
    const Condition match = store.beginsWith(column, typed);
    return {QStringLiteral("SELECT * FROM %1 WHERE %2").arg(table, match.sql), match.params};
}

void runSearch(const SearchDef &def, DataModule *data, QWidget *page, QLineEdit *box, QComboBox *selector)
{
    Dataset *ds = data->dataset(QString::fromLatin1(def.dataset));

    // The column: fixed, or the selector's entry; a selector typed over
    // (no entry chosen) leaves the statement as it is.
    QString column;
    if (!def.selector) {
        column = QString::fromLatin1(def.entries.first().second);
    } else if (selector) {
        const int i = selector->currentIndex();
        if (i >= 0 && i < def.entries.size() && selector->currentText() == selector->itemText(i))
            column = QString::fromLatin1(def.entries[i].second);
    }
    if (!column.isEmpty()) {
        // A changed row, here or in a detail, is saved before the list is
        // replaced, as leaving it would: closing below would drop it unasked.
        ds->settleDetails();
        ds->checkBrowseMode();
        // An emptied search lists the rows in the statement's own order again:
        // a title click's order goes with it (closed first, so the rows are read once).
        if (box->text().isEmpty() && !ds->sortOrder().isEmpty()) {
            ds->close();
            ds->setSortOrder(QString());
        }
        if (!ds->store())
            throw DatabaseError(QStringLiteral("Veritabanı bağlantısı yok."));
        const SearchStatement search = searchStatement(*ds->store(), ds->table(), column, box->text());
        ds->setSql(search.sql, search.params); // opens on the first row: the details follow it once
    }
    if (ds->isOpen() && ds->rowCount() == 0) {
        ui().inform(page, QStringLiteral("Bilgi"), QStringLiteral("Aradığınız kriterlere uygun birim kaydı bulunamadı."));
        box->clear(); // itself a change: the search runs again with an empty text
    }
}

namespace {
const char *const kSearchBoxProperty = "tkSearchBox";

int numberIn(const QString &name)
{
    qsizetype start = name.size();
    while (start > 0 && name.at(start - 1).isDigit())
        --start;
    return name.mid(start).toInt();
}
} // namespace

void clearAllSearches(QWidget *window)
{
    QList<QLineEdit *> boxes;
    for (QLineEdit *box : window->findChildren<QLineEdit *>())
        if (box->property(kSearchBoxProperty).toBool())
            boxes.append(box);
    std::stable_sort(boxes.begin(), boxes.end(),
                     [](QLineEdit *a, QLineEdit *b) { return numberIn(a->objectName()) < numberIn(b->objectName()); });
    for (QLineEdit *box : boxes)
        box->setText(QString());
}

SearchWidgets createSearchBox(const SearchDef &def, DataModule *data, QWidget *page)
{
    SearchWidgets w;
    if (def.selector) {
        w.selector = new QComboBox(page);
        w.selector->setObjectName(QString::fromLatin1(def.selector));
        w.selector->setEditable(true);
        w.selector->setInsertPolicy(QComboBox::NoInsert);
        for (const auto &entry : def.entries)
            w.selector->addItem(QString::fromUtf8(entry.first));
        w.selector->setCurrentIndex(0);
        w.selector->setAccessibleName(QStringLiteral("Arama ölçütü"));
    }
    w.box = new QLineEdit(page);
    w.box->setObjectName(QString::fromLatin1(def.box));
    w.box->setProperty(kSearchBoxProperty, true);
    w.box->setAccessibleName(QStringLiteral("Arama"));
    setRecordPart(w.box, QString::fromLatin1(def.dataset));
    if (w.selector)
        setRecordPart(w.selector, QString::fromLatin1(def.dataset));
    attachUpperCaseTyping(w.box);
    // The box and its selector are known here: a keystroke looks nothing up
    // among the window's widgets.
    QObject::connect(w.box, &QLineEdit::textChanged, page,
                     [&def, data, page, box = w.box, selector = QPointer<QComboBox>(w.selector)] {
                         guarded(page, [&] { runSearch(def, data, page, box, selector); });
                     });
    w.clear = new QToolButton(page);
    w.clear->setObjectName(QString::fromLatin1(def.clearButton));
    w.clear->setAutoRaise(true);
    w.clear->setIcon(page->style()->standardIcon(QStyle::SP_LineEditClearButton));
    w.clear->setAccessibleName(QStringLiteral("Aramayı temizle"));
    QObject::connect(w.clear, &QToolButton::clicked, page, [page] { clearAllSearches(recordArea(page)); });
    return w;
}

} // namespace tk
