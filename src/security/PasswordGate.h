#pragma once
// The password gate: at start (only when protection is on) and before the
// protection check box may change.
#include "security/PasswordStore.h"

class QWidget;

namespace tk {

// When `onlyWhenActive` and protection is off: true without asking.
// Otherwise shows "Şifre Gir" expecting the stored password and answers
// whether it was given; "İptal", Escape and the close box answer false.
// Writes nothing.
bool CheckPassword(QWidget *parent, const PasswordStore &store, bool onlyWhenActive);

} // namespace tk
