#pragma once
// Which store opens the books a path or address names. A database file is
// the default; another engine registers the addresses it opens
// ("postgresql://…"), so the data layer never names it.
#include "Store.h"

#include <functional>
#include <memory>

namespace tk {

using StoreOpener = std::function<std::unique_ptr<Store>(const QString &where)>;

// `opener` opens what `accepts` says yes to; the latest registration is
// asked first. Returns a number that unregisters it.
int registerStoreOpener(std::function<bool(const QString &where)> accepts, StoreOpener opener);
void unregisterStoreOpener(int registration);

// True when `where` names books kept in a database file (no registered
// opener takes it): only those have a file to lock, copy or compact.
bool opensAsFile(const QString &where);

// The books at `where`: a registered opener's store, or the database file
// brought to the newest schema version.
std::unique_ptr<Store> openStore(const QString &where);

} // namespace tk
