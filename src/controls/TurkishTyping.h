#pragma once
// Typing rules of the record pages. Each rule changes one typed character
// before it reaches its box; text that is pasted or set by the program is
// left as it is.
#include <QChar>
#include <QString>

class QComboBox;
class QLineEdit;

namespace tk {

// The shared key handler of the edit boxes: Turkish upper case for the
// letters a–z except q and w (i → İ), ı → I, ç ğ ö ü ş → Ç Ğ Ö Ü Ş; every
// other character as typed. So "quiz" is typed as "qUİZ".
QChar Edit1KeyPress(QChar key);

// One character in Turkish upper case: i → İ, ı → I, ç ğ ö ü ş → Ç Ğ Ö Ü Ş,
// a–z → A–Z (q and w too); everything else unchanged.
QChar TurkishUpCase(QChar key);

// Word capitals of the operation box: at the start of the text, or after a
// blank or a full stop, the key becomes TurkishUpCase of it; elsewhere it
// stays as typed. `caret` is the start of the selection in `text`.
QChar DBEdit10KeyPress(const QString &text, int caret, QChar key);

// Attach a rule to a box: from then on every typed character goes through it.
// The rule object is a child of the box and ends with it.
void attachUpperCaseTyping(QLineEdit *edit);
void attachUpperCaseTyping(QComboBox *box); // an editable drop-down list
void attachWordCapitalTyping(QLineEdit *edit);

} // namespace tk
