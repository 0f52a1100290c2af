#include "RecordKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QToolButton>
#include <iterator>

namespace tk {

namespace {

const char *const partProperty = "tkRecordPart";

enum Operation { Add, Delete, Post, Cancel, First, Prior, Next, Last };

// One entry per operation, in the order of Operation.
struct RecordKey {
    Operation operation;
    QKeyCombination key;
    const char *text;      // as the tool tip shows it
    const char *action;    // the dataset action's operation, or null for the page's own handlers
};

const RecordKey recordKeys[] = {
    {Add, Qt::CTRL | Qt::Key_N, "Ctrl+N", nullptr},
    {Delete, Qt::CTRL | Qt::Key_Delete, "Ctrl+Del", nullptr},
    {Post, Qt::CTRL | Qt::Key_S, "Ctrl+S", "Post"},
    {Cancel, QKeyCombination(Qt::Key_Escape), "Esc", "Cancel"},
    {First, Qt::CTRL | Qt::Key_Home, "Ctrl+Home", "First"},
    {Prior, Qt::CTRL | Qt::Key_PageUp, "Ctrl+PgUp", "Prior"},
    {Next, Qt::CTRL | Qt::Key_PageDown, "Ctrl+PgDn", "Next"},
    {Last, Qt::CTRL | Qt::Key_End, "Ctrl+End", "Last"},
};

QAction *datasetAction(RecordActions *actions, const ToolBarDef &def, const char *operation)
{
    return actions->action(QString::fromLatin1(def.actionPrefix) + QString::fromLatin1(operation)
                           + QString::fromLatin1(def.actionSuffix));
}

QString withKey(const QString &tip, const RecordKey &key)
{
    return tip + QStringLiteral(" (") + QString::fromLatin1(key.text) + QLatin1Char(')');
}

static_assert(std::size(recordKeys) == Last + 1);

} // namespace

void setRecordPart(QWidget *widget, const QString &dataset) { widget->setProperty(partProperty, dataset); }

QString recordPart(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QString part = w->property(partProperty).toString();
        if (!part.isEmpty())
            return part;
    }
    return {};
}

RecordKeys::RecordKeys(QWidget *window, QWidget *area, RecordActions *actions, const QVector<ToolBarDef> &toolBars)
    : QObject(window), m_window(window), m_area(area), m_actions(actions), m_toolBars(toolBars)
{
    setObjectName(QStringLiteral("RecordKeys"));
    window->installEventFilter(this);
    for (const RecordKey &key : recordKeys) {
        auto *shortcut = new QShortcut(QKeySequence(key.key), window);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, op = key.operation] { press(op); });
    }
    // Every tool bar button tells its key. The dataset actions carry the tip,
    // as their buttons take it from them whenever the action changes.
    for (const ToolBarDef &def : std::as_const(m_toolBars)) {
        auto *bar = area->findChild<QToolBar *>(QString::fromLatin1(def.toolBar));
        if (!bar)
            continue;
        setRecordPart(bar, QString::fromLatin1(def.dataset)); // a focused tool bar button is its own part
        for (const RecordKey &key : recordKeys) {
            if (key.action) {
                QAction *action = datasetAction(m_actions, def, key.action);
                action->setToolTip(withKey(action->toolTip(), key));
            } else if (QAbstractButton *b = button(bar, def, key.operation)) {
                b->setToolTip(withKey(b->toolTip(), key));
            }
        }
    }
}

bool RecordKeys::eventFilter(QObject *watched, QEvent *event)
{
    // The line edit claims Ctrl+Home and Ctrl+End before any shortcut sees
    // them, then leaves its caret where it is and lets the key travel up to
    // the window: here the box gets the caret move it kept the key for.
    if (watched == m_window && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *box = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        const bool toStart = key->matches(QKeySequence::MoveToStartOfDocument) || key->matches(QKeySequence::SelectStartOfDocument);
        const bool toEnd = key->matches(QKeySequence::MoveToEndOfDocument) || key->matches(QKeySequence::SelectEndOfDocument);
        if (box && m_window->isAncestorOf(box) && (toStart || toEnd)) {
            const bool select = key->modifiers() & Qt::ShiftModifier;
            toStart ? box->home(select) : box->end(select);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

QAbstractButton *RecordKeys::button(QToolBar *bar, const ToolBarDef &def, int operation) const
{
    if (operation == Add)
        return bar->findChild<QToolButton *>(QString::fromLatin1(def.addButton));
    if (operation == Delete)
        return bar->findChild<QToolButton *>(QString::fromLatin1(def.deleteButton));
    QAction *action = datasetAction(m_actions, def, recordKeys[operation].action);
    return qobject_cast<QAbstractButton *>(bar->widgetForAction(action));
}

const ToolBarDef *RecordKeys::target(QToolBar **bar) const
{
    const QString part = recordPart(QApplication::focusWidget());
    const ToolBarDef *found = nullptr;
    for (const ToolBarDef &def : m_toolBars) {
        auto *candidate = m_area->findChild<QToolBar *>(QString::fromLatin1(def.toolBar));
        if (!candidate || !candidate->isVisibleTo(m_window))
            continue;
        const bool ofPart = part == QLatin1String(def.dataset);
        if (ofPart || !found) { // the part's own tool bar, else the shown page's first
            found = &def;
            *bar = candidate;
        }
        if (ofPart)
            break;
    }
    return found;
}

QToolBar *RecordKeys::targetToolBar() const
{
    QToolBar *bar = nullptr;
    target(&bar);
    return bar;
}

void RecordKeys::press(int operation)
{
    QToolBar *bar = nullptr;
    const ToolBarDef *def = target(&bar);
    if (!def)
        return;
    // The buttons' states follow their datasets at idle time; a key can come sooner.
    m_actions->updateEnabled();
    if (QAbstractButton *b = button(bar, *def, operation); b && b->isEnabled())
        b->click();
}

} // namespace tk
