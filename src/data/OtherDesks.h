#pragma once
// Other desks' work reaching this one. The store is asked on a short timer
// which tables other desks wrote (the file's data_version, the server's
// notifications); a dataset showing one of them reads its rows again, keeping
// its current row, as soon as it is not being edited: at once when idle,
// after its save or cancel when it is.
#include "DataModule.h"

#include <QObject>
#include <QSet>
#include <QTimer>

namespace tk {

class OtherDesks : public QObject {
    Q_OBJECT
public:
    // How often the store is asked; a change shows well within a second.
    static constexpr int kPollMs = 250;
    // How often it is asked again while it does not answer (a server away).
    static constexpr int kRetryMs = 2000;

    // Starts watching the store of `data` (which must outlive this).
    explicit OtherDesks(DataModule *data, QObject *parent = nullptr);

    // One look at the store, and the reloads it allows now; what the timer runs.
    // Returns whether a dataset was reloaded.
    bool check();
    // Datasets waiting for their edit to end before they reload.
    int waiting() const { return int(m_stale.size()); }

signals:
    // Datasets now show what other desks saved.
    void reloaded();
    // The tables other desks wrote, as soon as they are known ("*": any may
    // have changed), for what reads the books beside the datasets.
    void tablesChanged(const QStringList &tables);

private:
    void look();

    DataModule *m_data;
    QTimer m_timer;
    QSet<Dataset *> m_stale;
    bool m_failing = false;
};

} // namespace tk
