#include "RecordPage.h"

#include "ListMenu.h"

#include "controls/TurkishTyping.h"
#include "core/Error.h"
#include "pages/shared/PrintButton.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

RecordPage::RecordPage(const PageDef &def, const PageContext &context, QWidget *parent)
    : QWidget(parent), m_def(def), m_context(context)
{
}

DBEdit *RecordPage::boundEdit(const QString &name, const QString &datasetName, const QString &field)
{
    auto *box = new DBEdit(dataset(datasetName), field, this);
    box->setObjectName(name);
    attachUpperCaseTyping(box);
    return box;
}

QToolBar *RecordPage::recordToolBar(const QString &toolBar)
{
    return createRecordToolBar(m_def.toolBar(toolBar), m_context.actions, m_context.data, this);
}

SearchWidgets RecordPage::searchBox(const QString &box) { return createSearchBox(m_def.search(box), m_context.data, this); }

TSrDBGrid *RecordPage::list(const QString &grid, QWidget *parent)
{
    TSrDBGrid *list = createGrid(m_def.grid(grid), *m_context.data, parent ? parent : this);
    attachListMenu(list);
    return list;
}

DBMemo *RecordPage::boundMemo(const QString &name, const QString &datasetName, const QString &field)
{
    auto *box = new DBMemo(dataset(datasetName), field, this);
    box->setObjectName(name);
    box->setTabChangesFocus(true);
    return box;
}

QLabel *RecordPage::labelFor(const QString &text, QWidget *box)
{
    auto *label = new QLabel(text, this);
    label->setBuddy(box);
    QString name = text;
    name.remove(QLatin1Char('&'));
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    box->setAccessibleName(name.trimmed());
    return label;
}

QLineEdit *RecordPage::totalBox(const QString &name)
{
    auto *box = new QLineEdit(this);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QWidget *RecordPage::yearMonthPanel(const YearMonthPanel &def)
{
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(recordToolBar(def.toolBar));
    auto *row = new QHBoxLayout;
    DBEdit *year = boundEdit(def.yearBox, def.dataset, QStringLiteral("Yil"));
    DBEdit *month = boundEdit(def.monthBox, def.dataset, QStringLiteral("Aylar"));
    year->setFixedWidth(60);
    month->setFixedWidth(121);
    row->addWidget(labelFor(QStringLiteral("Yıl :"), year));
    row->addWidget(year);
    row->addSpacing(12);
    row->addWidget(labelFor(QStringLiteral("Ay :"), month));
    row->addWidget(month);
    row->addStretch();
    row->addWidget(createPrintButton(def.printButton, def.printHint, panel));
    layout->addLayout(row);
    return panel;
}

void RecordPage::addRows(QGridLayout *grid, const QVector<QPair<QString, QWidget *>> &rows, int column, int firstRow)
{
    int row = firstRow;
    for (const auto &[text, box] : rows) {
        grid->addWidget(labelFor(text, box), row, column, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(box, row, column + 1);
        ++row;
    }
}

QVector<DBEdit *> RecordPage::placeBoxes(QGridLayout *grid, const QString &datasetName, const QVector<BoxPlace> &places)
{
    QVector<DBEdit *> boxes;
    for (const BoxPlace &place : places) {
        DBEdit *box = boundEdit(QString::fromLatin1(place.name), datasetName, QString::fromLatin1(place.field));
        if (place.width > 0)
            box->setFixedWidth(place.width);
        grid->addWidget(labelFor(QString::fromUtf8(place.label), box), place.row, place.column * 2,
                        Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(box, place.row, place.column * 2 + 1, 1, place.span);
        boxes.append(box);
    }
    chainTabOrder({boxes.begin(), boxes.end()});
    return boxes;
}

void RecordPage::chainTabOrder(const QVector<QWidget *> &order)
{
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void RecordPage::chainTabOrder(std::initializer_list<const char *> names)
{
    QVector<QWidget *> order;
    for (const char *name : names) {
        auto *widget = findChild<QWidget *>(QLatin1String(name));
        if (!widget)
            throw Error(QStringLiteral("Sayfada %1 denetimi yok.").arg(QLatin1String(name)));
        order.append(widget);
    }
    chainTabOrder(order);
}

} // namespace tk
