#pragma once
// The store and the datasets behind the pages; which datasets, the pages
// declare (their PageDef) and the main window hands over in page order.
#include "Dataset.h"
#include "Store.h"

#include <QObject>
#include <memory>

namespace tk {

struct DatasetDef {
    const char *name;       // dataset (and table) name
    const char *dataSource; // the name the pages' controls and tool bars use
    QString sql;            // initial statement
    const char *master;     // dataset it follows, or nullptr
};

class DataModule : public QObject {
    Q_OBJECT
public:
    // Opens `databasePath` (a file, or an address a registered store opens:
    // StoreOpener.h) and every dataset of `datasets` (a master before its
    // details), each reading its keys when first read; throws DatabaseError
    // on failure.
    DataModule(const QString &databasePath, const QVector<DatasetDef> &datasets, QObject *parent = nullptr);
    // The same on any store (a database server, say).
    DataModule(std::unique_ptr<Store> store, const QVector<DatasetDef> &datasets, QObject *parent = nullptr);
    ~DataModule() override;

    // The store the datasets read and write through; null once released.
    Store *store() const { return m_store.get(); }
    // The Data.dat connection under the store; null when the store is not a
    // file, or once released.
    Connection *connection() const;
    // By dataset name ("MusTakip1") or data source name ("DS1_1"); throws when unknown.
    Dataset *dataset(const QString &name) const;
    const QVector<Dataset *> &datasets() const { return m_datasets; }

    // Closes every dataset and destroys the store and its connection (before maintenance).
    void releaseConnection();

private:
    std::unique_ptr<Store> m_store;
    QVector<Dataset *> m_datasets;
};

} // namespace tk
