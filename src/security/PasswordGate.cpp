#include "PasswordGate.h"

#include "TGetPassWdFrm.h"

namespace tk {

bool CheckPassword(QWidget *parent, const PasswordStore &store, bool onlyWhenActive)
{
    if (onlyWhenActive && !store.IsProtectionActive())
        return true;
    TGetPassWdFrm dialog(parent);
    return dialog.Execute(store.ReadStoredPassword());
}

} // namespace tk
