#pragma once
// One run of a template against its datasets, producing a PreparedReport.
//
// The run can go in slices (`step`), so that a window shows the finished pages
// while later rows are laid out, and can be stopped between rows.
#include "PreparedReport.h"
#include "Template.h"

#include <QHash>
#include <QStringList>
#include <memory>

namespace tk {
class Dataset;
}

namespace tk::reports {

class LayoutRun {
public:
    enum class Status { Running, Done, Failed, Stopped };

    // `datasets`: keyed by dataset link name (DBStok) or by dataset name (Stok).
    LayoutRun(const Template &tmpl, PreparedReport &out, const QHash<QString, Dataset *> &datasets);
    ~LayoutRun();
    LayoutRun(const LayoutRun &) = delete;
    LayoutRun &operator=(const LayoutRun &) = delete;

    // Lays out up to `rows` data rows (the first call binds and starts);
    // returns Running while more is to come.
    Status step(int rows);
    // Runs to the end; true when no error happened.
    bool runAll();
    // Ends the run after the current row; the pages so far stay.
    void stop() { m_stopRequested = true; }
    Status status() const { return m_status; }
    // One line per error: "Memo5: Söz dizimi hatası 'x.': alan adı bekleniyor".
    const QStringList &errors() const { return m_errors; }
    // The text of the error box ("Aşağıdaki hata(lar) oluştu:" and the lines).
    QString errorMessage() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    Status m_status = Status::Running;
    bool m_stopRequested = false;
    QStringList m_errors;
};

} // namespace tk::reports
