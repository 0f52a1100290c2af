#include "DataModule.h"

#include "SqliteStore.h"
#include "StoreOpener.h"

namespace tk {

DataModule::DataModule(const QString &databasePath, const QVector<DatasetDef> &datasets, QObject *parent)
    : DataModule(openStore(databasePath), datasets, parent)
{
}

DataModule::DataModule(std::unique_ptr<Store> store, const QVector<DatasetDef> &datasets, QObject *parent)
    : QObject(parent), m_store(std::move(store))
{
    for (const DatasetDef &def : datasets) {
        const QString name = QString::fromLatin1(def.name);
        auto *ds = new Dataset(m_store.get(), name, name, def.sql, this);
        ds->setProperty("dataSource", QString::fromLatin1(def.dataSource));
        if (def.master)
            ds->setMaster(dataset(QString::fromLatin1(def.master)));
        m_datasets.append(ds);
    }
    // Keys are read when a dataset is first read (its page shown, say), a
    // detail's after its master's. Its columns are looked up now, so that an
    // error of the file's contents (a table missing, say) comes at start: it
    // names the file, as the errors of opening it do.
    try {
        for (Dataset *ds : std::as_const(m_datasets))
            ds->openOnFirstRead();
    } catch (const DatabaseError &e) {
        throw DatabaseError(QStringLiteral("%1\n%2").arg(e.text(), m_store->place()));
    }
}

DataModule::~DataModule()
{
    for (Dataset *ds : std::as_const(m_datasets))
        ds->detachConnection();
}

Dataset *DataModule::dataset(const QString &name) const
{
    for (Dataset *ds : m_datasets)
        if (ds->objectName() == name || ds->property("dataSource").toString() == name)
            return ds;
    throw Error(QStringLiteral("Veri kümesi bulunamadı: %1").arg(name));
}

Connection *DataModule::connection() const
{
    auto *file = dynamic_cast<SqliteStore *>(m_store.get());
    return file ? &file->connection() : nullptr;
}

void DataModule::releaseConnection()
{
    for (Dataset *ds : std::as_const(m_datasets))
        ds->detachConnection();
    m_store.reset();
}

} // namespace tk
