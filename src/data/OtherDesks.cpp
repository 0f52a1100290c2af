#include "OtherDesks.h"

#include "core/UiSeam.h"

namespace tk {

OtherDesks::OtherDesks(DataModule *data, QObject *parent) : QObject(parent), m_data(data)
{
    if (Store *store = m_data->store())
        store->changedElsewhere(); // from now on
    m_timer.setInterval(kPollMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        // A failing look (the server gone, say) is shown once, not every
        // quarter second: watching resumes with the next save here.
        m_timer.stop();
        guarded(nullptr, [this] {
            check();
            m_timer.start();
        });
    });
    for (Dataset *ds : m_data->datasets())
        connect(ds, &Dataset::tableWritten, &m_timer, [this] {
            if (!m_timer.isActive())
                m_timer.start();
        });
    m_timer.start();
}

bool OtherDesks::check()
{
    Store *store = m_data->store();
    if (!store)
        return false;
    const QStringList tables = store->changedElsewhere();
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
