#include "StoreOpener.h"

#include "SchemaVersion.h"
#include "SqliteStore.h"

#include <QMutex>
#include <QVector>

namespace tk {

namespace {

struct Registration {
    int id;
    std::function<bool(const QString &)> accepts;
    StoreOpener opener;
};

QMutex registryLock;
QVector<Registration> &registry()
{
    static QVector<Registration> r;
    return r;
}

StoreOpener openerFor(const QString &where)
{
    QMutexLocker lock(&registryLock);
    for (auto it = registry().crbegin(); it != registry().crend(); ++it)
        if (it->accepts(where))
            return it->opener;
    return {};
}

} // namespace

int registerStoreOpener(std::function<bool(const QString &)> accepts, StoreOpener opener)
{
    static int next = 0;
    QMutexLocker lock(&registryLock);
    registry().append({++next, std::move(accepts), std::move(opener)});
    return next;
}

void unregisterStoreOpener(int registration)
{
    QMutexLocker lock(&registryLock);
    registry().removeIf([&](const Registration &r) { return r.id == registration; });
}

bool opensAsFile(const QString &where) { return !openerFor(where); }

std::unique_ptr<Store> openStore(const QString &where)
{
    const StoreOpener chosen = openerFor(where);
    if (chosen)
        return chosen(where);
    // The program works on files at the newest schema version only.
    upgradeDataFile(where);
    return std::make_unique<SqliteStore>(std::make_unique<Connection>(where));
}

} // namespace tk
