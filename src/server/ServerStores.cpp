#include "ServerStores.h"

#include "PgStore.h"
#include "data/StoreOpener.h"

namespace tk {

void registerServerStores()
{
    static const int registration = registerStoreOpener(
        [](const QString &where) { return isServerAddress(where); },
        [](const QString &where) -> std::unique_ptr<Store> { return std::make_unique<PgStore>(where); });
    Q_UNUSED(registration);
}

} // namespace tk
