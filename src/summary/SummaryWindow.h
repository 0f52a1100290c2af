#pragma once
// The window "Özet": one tab each for the cash book, the service jobs, the
// current accounts, the notes falling due and the stock, each a small table
// of figures beside its chart. Non-modal; it follows the books as they are
// saved, and saves or prints the chart of the tab shown.
#include "SummarySheet.h"

#include <QDate>
#include <QTimer>
#include <QVector>
#include <QWidget>

class QChartView;
class QDateEdit;
class QTabWidget;
class QTableWidget;

namespace tk {

class DataModule;

class SummaryWindow : public QWidget {
    Q_OBJECT
public:
    // `today` chooses the month the figures are shown for at first.
    SummaryWindow(DataModule *data, QDate today, QWidget *parent = nullptr);

    QDate month() const;
    const SummarySheet &sheet(int tab) const { return m_sheets[tab]; }
    // The tab shown, its figures brought up to date first when the books changed.
    void refreshCurrent();
    // Tables another desk wrote ("*": any): the tabs reading them are read again.
    void changedElsewhere(const QStringList &tables);

    // The buttons' work on the tab shown.
    void saveImage();
    void savePdf();
    void print();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildTab(int tab);
    void markStale(const QString &table);
    void markAllStale();
    void showSheet(int tab);
    // Asks for a file (the suffix added when left off) and writes the shown tab's chart.
    void saveAs(const QString &caption, const QString &suffix, const QString &filter,
                void (*write)(const SummarySheet &, const QString &));

    DataModule *m_data;
    QDateEdit *m_month = nullptr;
    QTabWidget *m_tabs = nullptr;
    QVector<QTableWidget *> m_tables;
    QVector<QChartView *> m_views;
    QVector<SummarySheet> m_sheets;
    QVector<bool> m_stale;
    QTimer m_refreshTimer; // gathers a burst of saves into one refresh
};

} // namespace tk
