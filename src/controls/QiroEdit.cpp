#include "QiroEdit.h"

#include "QiroNumber.h"

#include <QKeyEvent>
#include <QMetaObject>
#include <algorithm>

namespace tk {
namespace {

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// Keys that leave a fully selected amount alone (everything else starts it anew).
bool keepsSelectedAmount(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return: case Qt::Key_Enter:
    case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Alt: case Qt::Key_Meta: case Qt::Key_AltGr:
    case Qt::Key_End: case Qt::Key_Home:
    case Qt::Key_Left: case Qt::Key_Up: case Qt::Key_Right: case Qt::Key_Down:
        return true;
    case Qt::Key_Plus: case Qt::Key_Minus:
        return e->modifiers() & Qt::KeypadModifier;
    default:
        return false;
    }
}

// Ctrl/Alt combinations are the edit box's own commands (copy, paste, select
// all); they must not wipe the amount the way a typed key does. Ctrl+Alt with
// a printable character is AltGr typing.
bool isCommand(const QKeyEvent *e)
{
    const auto mods = e->modifiers();
    if ((mods & Qt::ControlModifier) && (mods & Qt::AltModifier) && !e->text().isEmpty()
        && e->text().front().isPrint())
        return false;
    return mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

int selectedLength(const QLineEdit *edit) { return int(edit->selectedText().size()); }

// Start of the selection, or the caret when nothing is selected.
int selectedFrom(const QLineEdit *edit)
{
    return edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
}

// Characters after the end of the selection: the caret is restored by this
// distance from the right end, so regrouping on the left does not move it.
int tailLength(const QLineEdit *edit)
{
    return int(edit->text().size()) - selectedFrom(edit) - selectedLength(edit);
}

} // namespace

TQiroEdit::TQiroEdit(QWidget *parent) : QLineEdit(parent)
{
    resize(120, 24);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_constructionFont = palette().color(QPalette::Active, QPalette::Text);
    m_constructionSoil = palette().color(QPalette::Active, QPalette::Base);
    m_windowFont = m_constructionFont;
    m_windowSoil = m_constructionSoil;
    m_activeFont = QColor(Qt::red);
    m_activeSoil = m_constructionSoil;
}

QString TQiroEdit::about() const
{
    return QStringLiteral("[ QiroEdit 3.0 ]\nTutar ve metin giriş kutusu");
}

QString TQiroEdit::suffixOf(TCurrSymbolSet symbol)
{
    switch (symbol) {
    case TCurrSymbolSet::None: return {};
    case TCurrSymbolSet::TL: return QStringLiteral(" TL");
    case TCurrSymbolSet::YTL: return QStringLiteral(" YTL");
    case TCurrSymbolSet::EURO: return QStringLiteral(" €");
    case TCurrSymbolSet::DOLAR: return QStringLiteral(" $");
    }
    return {};
}

// --- settings ---------------------------------------------------------------

void TQiroEdit::setDecimals(int decimals)
{
    reapplyDecimals(decimals);
    appendSuffix();
}

void TQiroEdit::reapplyDecimals(int decimals)
{
    if (m_type != CurrencyType)
        return;
    if (decimals == 0 || (decimals > 0 && decimals < m_maxLength - 1)) {
        m_decimals = decimals;
        m_format = QiroNumber::displayFormat(decimals);
    }
    setQiroMaxLength(m_maxLength);
    // A suffix shown while unfocused is not part of the amount.
    setText(QiroNumber::reformat(withoutSuffix(text()), m_decimals));
}

void TQiroEdit::setQiroMaxLength(int length)
{
    if (length < 22 && length > m_decimals + 1)
        m_maxLength = length;
    // The integer part must never end where a thousands separator would go.
    if ((m_maxLength - m_decimals - 1) % 4 == 0)
        --m_maxLength;
}

void TQiroEdit::setCurrencySymbol(TCurrSymbolSet symbol)
{
    reapplyDecimals(m_decimals);
    m_symbol = symbol;
    appendSuffix();
}

void TQiroEdit::setQiroEditType(TQiroEditTypeSet type)
{
    if (m_type == CurrencyType) {
        m_type = type;
        setText(QString());
        m_symbol = TCurrSymbolSet::None;
    } else {
        m_type = type;
        reapplyDecimals(m_decimals);
    }
    recreateWindow();
}

double TQiroEdit::textAsFloat() const
{
    return QiroNumber::read(withoutSuffix(text()), m_decimals);
}

void TQiroEdit::setTextAsFloat(double value)
{
    if (m_type == CurrencyType)
        setText(QiroNumber::format(value, m_decimals));
    recreateWindow();
}

QString TQiroEdit::withoutSuffix(const QString &text) const
{
    const QString suffix = suffixOf(m_symbol);
    if (m_type == CurrencyType && !suffix.isEmpty() && text.endsWith(suffix))
        return text.chopped(suffix.size());
    return text;
}

void TQiroEdit::appendSuffix()
{
    const QString suffix = suffixOf(m_symbol);
    if (m_type == CurrencyType && !suffix.isEmpty() && !hasFocus() && !text().endsWith(suffix))
        setText(text() + suffix);
}

// What the field does whenever its native window would be made anew: take the
// current colours as the ones to return to, align by type, and show a currency
// amount freshly formatted with its suffix.
void TQiroEdit::recreateWindow()
{
    if (!m_showsActiveColors) {
        m_windowFont = palette().color(QPalette::Active, QPalette::Text);
        m_windowSoil = palette().color(QPalette::Active, QPalette::Base);
    }
    setAlignment((m_type == CurrencyType ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (m_type == CurrencyType) {
        reapplyDecimals(m_decimals);
        appendSuffix();
        setCursorPosition(1);
    }
}

void TQiroEdit::showEvent(QShowEvent *event)
{
    QLineEdit::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        recreateWindow();
    }
}

// --- focus and pointer ----------------------------------------------------------

void TQiroEdit::paint(const QColor &font, const QColor &soil)
{
    QPalette pal = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Text, font);
        pal.setColor(group, QPalette::Base, soil);
    }
    setPalette(pal);
}

void TQiroEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    if (event->reason() == Qt::PopupFocusReason) // back from the context menu
        return;
    paint(m_activeFont, m_activeSoil);
    m_showsActiveColors = true;
    m_notFocused = false;
    if (m_type == CurrencyType) {
        const QString bare = withoutSuffix(text());
        if (bare != text())
            setText(bare);
        selectAll();
    }
}

void TQiroEdit::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() == Qt::PopupFocusReason)
        return;
    paint(m_windowFont, m_windowSoil);
    m_showsActiveColors = false;
    m_notFocused = true;
    appendSuffix();
}

void TQiroEdit::enterEvent(QEnterEvent *event)
{
    QLineEdit::enterEvent(event);
    paint(m_activeFont, m_activeSoil);
    m_showsActiveColors = true;
}

void TQiroEdit::leaveEvent(QEvent *event)
{
    QLineEdit::leaveEvent(event);
    if (m_notFocused) {
        paint(m_constructionFont, m_constructionSoil);
        m_showsActiveColors = false;
    }
}

// Posted, so that the key being handled is finished before the focus moves.
void TQiroEdit::postFocusMove(bool next)
{
    QMetaObject::invokeMethod(this, [this, next] { focusNextPrevChild(next); }, Qt::QueuedConnection);
}

// --- keys ---------------------------------------------------------------------

void TQiroEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (m_passing && (key == Qt::Key_Up || key == Qt::Key_Down))
        postFocusMove(key == Qt::Key_Down);
    if (m_passing && isEnter(key)) {
        event->accept();
        postFocusMove(true);
        return;
    }
    if (m_type != CurrencyType || isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }

    if (isCommand(event)) {
        const QString before = text();
        QLineEdit::keyPressEvent(event);
        if (text() != before)
            setTextKeepingTail(text(), tailLength(this));
        return;
    }

    if (selectedLength(this) == text().size() && !keepsSelectedAmount(event)) {
        setText(m_decimals > 0 ? QStringLiteral("0,") + QString(m_decimals, u'0') : QString());
        setCursorPosition(key == Qt::Key_Delete ? 0 : 1);
    }

    if (key == Qt::Key_Delete) {
        deleteKey();
        event->accept();
        return;
    }

    const QString typed = event->text();
    if (key == Qt::Key_Backspace) {
        typedChar(u'\b');
    } else if (isEnter(key)) {
        typedChar(u'\r');
    } else if (typed.size() == 1 && typed.front().isPrint()) {
        typedChar(typed.front());
    } else {
        // Caret moves, Escape and the like; Shift+Insert pastes.
        const QString before = text();
        QLineEdit::keyPressEvent(event);
        if (text() != before)
            setTextKeepingTail(text(), tailLength(this));
        return;
    }
    event->accept();
}

void TQiroEdit::inputMethodEvent(QInputMethodEvent *event)
{
    if (m_type != CurrencyType || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // Composed characters arrive here instead of as keys; they are typed the same way.
    for (QChar c : event->commitString())
        typedChar(c);
    event->accept();
}

void TQiroEdit::deleteKey()
{
    QString t = text();
    const int length = int(t.size());
    const int start = selectedFrom(this);
    const int selected = selectedLength(this);
    const int d = m_decimals;
    int p = tailLength(this);

    if (selected > 0) {
        if (d == 0)
            t.replace(start, selected, QStringLiteral("0"));
        else
            eraseSelection(t, start, selected, p);
    } else if (d == 0) {
        if (p > 0) {
            if (p % 4 == 0)
                --p; // step over the separator to the digit behind it
            t.remove(length - p, 1);
            --p;
        }
    } else if (p > d + 1) {
        if ((p - d - 1) % 4 == 0)
            --p;
        t.remove(length - p, 1);
        --p;
    } else {
        if (p == d + 1)
            --p; // over the decimal separator
        if (p > 0) {
            t[length - p] = u'0';
            --p;
        }
    }
    setTextKeepingTail(t, p);
}

void TQiroEdit::typedChar(QChar c)
{
    QString t = text();
    const int length = int(t.size());
    const int start = selectedFrom(this);
    const int selected = selectedLength(this);
    const int d = m_decimals;
    int p = tailLength(this);

    if (c >= u'0' && c <= u'9') {
        if (d == 0 || p >= d + 1) {
            if (length < m_maxLength)
                t.insert(length - p, c);
        } else if (p >= 1) {
            t[length - p] = c; // the fraction is overwritten, caret moves right
            --p;
        }
    } else if (c == u',' || c == u'.') {
        p = d;
    } else if (c == u'-') {
        if (!t.isEmpty() && !t.startsWith(u'-'))
            t.prepend(u'-');
    } else if (c == u'+') {
        if (t.startsWith(u'-'))
            t.remove(0, 1);
    } else if (c == u'\b') {
        if (selected > 0) {
            if (d == 0)
                t.remove(start, selected);
            else
                eraseSelection(t, start, selected, p);
        } else if (d == 0 || p > d) {
            // Right of a thousands separator the digit before it goes.
            if ((d == 0 && p > 0 && (p + 1) % 4 == 0) || (d > 0 && (p - d) % 4 == 0))
                ++p;
            if (length - p > 0)
                t.remove(length - p - 1, 1);
        } else if (p == d) {
            ++p; // just after the separator: the last integer digit goes
            if (length - p > 0)
                t.remove(length - p - 1, 1);
        } else if (length - p - 1 >= 0) {
            t[length - p - 1] = u'0';
            ++p;
        }
    }
    setTextKeepingTail(t, p);
}

// Delete or Backspace over a selection of a field with decimals.
void TQiroEdit::eraseSelection(QString &t, int start, int selected, int &p) const
{
    const int d = m_decimals;
    const int separatorAt = selected - d - 1;
    if (separatorAt >= 0 && t[start + separatorAt] == QiroNumber::decimalSeparator) {
        // From the integer part to the end of the fraction: the integer digits
        // go and the fraction becomes zeros; the caret stands before the ",".
        t.remove(start, selected - d);
        int pos = start;
        for (int i = 0; i < d; ++i)
            t.replace(pos++, d, QStringLiteral("0"));
        p = d + 1;
    } else if (p < d) {
        // Ends inside the fraction: the selected digits become zeros. The
        // separators stay where they are, so no digit changes its place.
        for (int i = start; i < start + selected; ++i)
            if (t[i].isDigit())
                t[i] = u'0';
    } else {
        t.remove(start, selected);
    }
}

void TQiroEdit::setTextKeepingTail(const QString &raw, int p)
{
    const QString formatted = QiroNumber::reformat(raw, m_decimals);
    setText(formatted);
    setCursorPosition(std::clamp(int(formatted.size()) - p, 0, int(formatted.size())));
}

} // namespace tk
