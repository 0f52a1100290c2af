#pragma once
// The connection and the datasets behind the pages; which datasets, the pages
// declare (their PageDef) and the main window hands over in page order.
#include "Dataset.h"

#include <QObject>
#include <memory>

namespace tk {

struct DatasetDef {
    const char *name;       // dataset (and table) name
    const char *dataSource; // the name the pages' controls and tool bars use
    const char *sql;        // initial statement
    const char *master;     // dataset it follows, or nullptr
};

class DataModule : public QObject {
    Q_OBJECT
public:
    // Opens `databasePath` and every dataset of `datasets` (a master before its
    // details); throws DatabaseError on failure.
    DataModule(const QString &databasePath, const QVector<DatasetDef> &datasets, QObject *parent = nullptr);
    ~DataModule() override;

    Connection *connection() const { return m_connection.get(); }
    // By dataset name ("MusTakip1") or data source name ("DS1_1"); throws when unknown.
    Dataset *dataset(const QString &name) const;
    const QVector<Dataset *> &datasets() const { return m_datasets; }

    // Closes every dataset and destroys the connection (before maintenance).
    void releaseConnection();

private:
    std::unique_ptr<Connection> m_connection;
    QVector<Dataset *> m_datasets;
};

} // namespace tk
