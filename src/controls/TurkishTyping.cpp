#include "TurkishTyping.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <functional>

namespace tk {

QChar Edit1KeyPress(QChar key)
{
    switch (key.unicode()) {
    case u'i': return u'İ';
    case u'ı': return u'I';
    case u'ç': return u'Ç';
    case u'ğ': return u'Ğ';
    case u'ö': return u'Ö';
    case u'ü': return u'Ü';
    case u'ş': return u'Ş';
    case u'q': case u'w': return key;
    }
    if (key >= u'a' && key <= u'z')
        return QChar(key.unicode() - u'a' + u'A');
    return key;
}

QChar TurkishUpCase(QChar key)
{
    if (key == u'q' || key == u'w')
        return QChar(key.unicode() - u'a' + u'A');
    return Edit1KeyPress(key);
}

QChar DBEdit10KeyPress(const QString &text, int caret, QChar key)
{
    if (caret <= 0 || caret > text.size())
        return TurkishUpCase(key);
    const QChar before = text[caret - 1];
    return before == u' ' || before == u'.' ? TurkishUpCase(key) : key;
}

namespace {

using Rule = std::function<QChar(const QString &text, int caret, QChar key)>;

// Gives the key event its changed text; the event object itself travels on,
// so the box and anything else that watches it sees the changed character.
struct KeyText : QKeyEvent {
    static void set(QKeyEvent *event, const QString &text) { event->*(&KeyText::m_text) = text; }
};

class TypingRule : public QObject {
public:
    TypingRule(QLineEdit *edit, QObject *owner, Rule rule)
        : QObject(owner), m_edit(edit), m_rule(std::move(rule)) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const QString typed = key->text();
            if (!typed.isEmpty() && typed.front().isPrint()) {
                const QString changed = apply(typed);
                if (changed != typed)
                    KeyText::set(key, changed);
            }
        } else if (event->type() == QEvent::InputMethod) {
            // Composed characters are typed too; they arrive without a key.
            auto *im = static_cast<QInputMethodEvent *>(event);
            if (!im->commitString().isEmpty()) {
                const QString changed = apply(im->commitString());
                if (changed != im->commitString())
                    im->setCommitString(changed, im->replacementStart(), im->replacementLength());
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Each character sees the text as it will be once the ones before it are in.
    QString apply(const QString &typed) const
    {
        QString text = m_edit->text();
        int caret = m_edit->cursorPosition();
        if (m_edit->hasSelectedText()) {
            caret = m_edit->selectionStart();
            text.remove(caret, m_edit->selectedText().size());
        }
        QString out;
        for (QChar c : typed) {
            const QChar changed = m_rule(text, caret, c);
            out += changed;
            text.insert(caret++, changed);
        }
        return out;
    }

    QLineEdit *m_edit;
    Rule m_rule;
};

void attach(QLineEdit *edit, QObject *watched, Rule rule)
{
    watched->installEventFilter(new TypingRule(edit, watched, std::move(rule)));
}

QChar upperCase(const QString &, int, QChar key) { return Edit1KeyPress(key); }

} // namespace

void attachUpperCaseTyping(QLineEdit *edit)
{
    attach(edit, edit, upperCase);
}

void attachUpperCaseTyping(QComboBox *box)
{
    // Keys reach the list box, which hands them to its line edit directly.
    if (QLineEdit *edit = box->lineEdit()) {
        attach(edit, box, upperCase);
        attach(edit, edit, upperCase);
    }
}

void attachWordCapitalTyping(QLineEdit *edit)
{
    attach(edit, edit, DBEdit10KeyPress);
}

} // namespace tk
