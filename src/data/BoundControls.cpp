#include "BoundControls.h"

#include "RecordKeys.h"
#include "core/UiSeam.h"

namespace tk {

namespace {

// Every change of the dataset that can alter what a bound box shows. New
// rows always come with a current row, so rowsReset needs no refresh of its own.
template <typename Box, typename Refresh>
void follow(Box *box, Dataset *dataset, const QString &field, Refresh refresh)
{
    setRecordPart(box, dataset->name());
    QObject::connect(dataset, &Dataset::currentChanged, box, refresh);
    QObject::connect(dataset, &Dataset::stateChanged, box, refresh);
    QObject::connect(dataset, &Dataset::fieldChanged, box, [field, refresh](const QString &changed) {
        if (changed.compare(field, Qt::CaseInsensitive) == 0)
            refresh();
    });
}

} // namespace

DBEdit::DBEdit(Dataset *dataset, const QString &field, QWidget *parent)
    : QLineEdit(parent), m_dataset(dataset), m_field(field)
{
    follow(this, dataset, field, [this] { refresh(); });
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) {
        // The dataset echoes the change back (state, field); the box already shows it.
        m_typing = true;
        guarded(this, [&] {
            if (m_dataset)
                m_dataset->setText(m_field, text);
        });
        m_typing = false;
        refresh();
    });
    refresh();
}

void DBEdit::setAlwaysReadOnly(bool on)
{
    m_alwaysReadOnly = on;
    refresh();
}

void DBEdit::refresh()
{
    if (m_typing)
        return;
    const bool open = m_dataset && m_dataset->isOpen();
    setReadOnly(!open || m_alwaysReadOnly);
    const QString shown = open && m_dataset->keysRead() ? m_dataset->text(m_field) : QString();
    if (text() != shown) {
        const int cursor = cursorPosition();
        setText(shown);
        if (hasFocus())
            setCursorPosition(std::min<int>(cursor, int(shown.size())));
        else
            setCursorPosition(0);
    }
}

DBMemo::DBMemo(Dataset *dataset, const QString &field, QWidget *parent)
    : QPlainTextEdit(parent), m_dataset(dataset), m_field(field)
{
    follow(this, dataset, field, [this] { refresh(); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (m_updating)
            return;
        // The first key on a saved row starts its edit, which tells the old
        // text back before the new one: the box keeps what it shows, and its caret.
        m_typing = true;
        guarded(this, [&] {
            if (m_dataset)
                m_dataset->setText(m_field, toPlainText());
        });
        m_typing = false;
        refresh();
    });
    refresh();
}

void DBMemo::refresh()
{
    if (m_typing)
        return;
    const bool open = m_dataset && m_dataset->isOpen();
    setReadOnly(!open);
    const QString shown = open && m_dataset->keysRead() ? m_dataset->text(m_field) : QString();
    if (toPlainText() != shown) {
        m_updating = true;
        setPlainText(shown);
        m_updating = false;
    }
}

DBCheckBox::DBCheckBox(Dataset *dataset, const QString &field, const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent), m_dataset(dataset), m_field(field)
{
    follow(this, dataset, field, [this] { refresh(); });
    connect(this, &QCheckBox::toggled, this, [this](bool on) {
        if (m_updating)
            return;
        guarded(this, [&] {
            if (m_dataset)
                m_dataset->setText(m_field, on ? QStringLiteral("True") : QStringLiteral("False"));
        });
    });
    refresh();
}

void DBCheckBox::refresh()
{
    const bool open = m_dataset && m_dataset->isOpen();
    setEnabled(open);
    const bool on = open && m_dataset->keysRead() && m_dataset->text(m_field) == QLatin1String("True");
    if (isChecked() != on) {
        m_updating = true;
        setChecked(on);
        m_updating = false;
    }
}

} // namespace tk
