#include "OtherDesks.h"

#include "core/UiSeam.h"

#include <exception>
#include <utility>

namespace tk {

OtherDesks::OtherDesks(DataModule *data, QObject *parent) : QObject(parent), m_data(data)
{
    if (Store *store = m_data->store())
        store->changedElsewhere(); // from now on
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, &OtherDesks::look);
    m_timer.start();
}

void OtherDesks::look()
{
    // A failing look (the server gone, say) is shown once, not at every look.
    // The store is asked again every few seconds until it answers, so that a
    // desk that only reads sees the other desks' work again once the server
    // is back, without a save of its own.
    m_timer.stop();
    const bool failedBefore = std::exchange(m_failing, true);
    guarded(nullptr, [&] {
        try {
            check();
            m_failing = false;
        } catch (const std::exception &) {
            if (!failedBefore)
                throw;
        }
    });
    m_timer.start(m_failing ? kRetryMs : kPollMs);
}

bool OtherDesks::check()
{
    Store *store = m_data->store();
    if (!store)
        return false;
    const QStringList tables = store->changedElsewhere();
    if (!tables.isEmpty())
        emit tablesChanged(tables);
    const bool all = tables.contains(QStringLiteral("*"));
    for (Dataset *ds : m_data->datasets())
        if (all || tables.contains(ds->table(), Qt::CaseInsensitive))
            m_stale.insert(ds);
    if (m_stale.isEmpty())
        return false;

    bool any = false;
    // Masters come before their details: a master's reload takes its details along.
    for (Dataset *ds : m_data->datasets()) {
        if (!m_stale.contains(ds))
            continue;
        if (!ds->isOpen()) {
            m_stale.remove(ds);
            continue;
        }
        if (ds->isEditingHereOrBelow())
            continue;
        ds->reload();
        m_stale.remove(ds);
        for (Dataset *detail : m_data->datasets())
            if (detail->master() == ds)
                m_stale.remove(detail);
        any = true;
    }
    if (any)
        emit reloaded();
    return any;
}

} // namespace tk
