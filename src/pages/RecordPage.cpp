#include "RecordPage.h"

#include "controls/Error.h"
#include "controls/TurkishTyping.h"

#include "pages/shared/PrintButton.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace tk {

RecordPage::RecordPage(const PageContext &context, QWidget *parent) : QWidget(parent), m_context(context) {}

DBEdit *RecordPage::boundEdit(const QString &name, const QString &datasetName, const QString &field)
{
    auto *box = new DBEdit(dataset(datasetName), field, this);
    box->setObjectName(name);
    attachUpperCaseTyping(box);
    return box;
}

QToolBar *RecordPage::recordToolBar(const QString &toolBar)
{
    return createRecordToolBar(toolBar, m_context.actions, m_context.data, this);
}

SearchWidgets RecordPage::searchBox(const QString &box) { return createSearchBox(box, m_context.data, this); }

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

void RecordPage::chainTabOrder(std::initializer_list<const char *> names)
{
    QWidget *previous = nullptr;
    for (const char *name : names) {
        auto *next = findChild<QWidget *>(QLatin1String(name));
        if (!next)
            throw Error(QStringLiteral("Sayfada %1 denetimi yok.").arg(QLatin1String(name)));
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    }
}

} // namespace tk
