#include "DataModule.h"

namespace tk {

DataModule::DataModule(const QString &databasePath, const QVector<DatasetDef> &datasets, QObject *parent)
    : QObject(parent), m_connection(std::make_unique<Connection>(databasePath))
{
    for (const DatasetDef &def : datasets) {
        const QString name = QString::fromLatin1(def.name);
        auto *ds = new Dataset(m_connection.get(), name, name, QString::fromLatin1(def.sql), this);
        ds->setProperty("dataSource", QString::fromLatin1(def.dataSource));
        if (def.master)
            ds->setMaster(dataset(QString::fromLatin1(def.master)));
        m_datasets.append(ds);
    }
    // Masters open first; each detail then follows its master's first row.
    for (Dataset *ds : std::as_const(m_datasets))
        if (!ds->master())
            ds->open();
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

void DataModule::releaseConnection()
{
    for (Dataset *ds : std::as_const(m_datasets))
        ds->detachConnection();
    m_connection.reset();
}

} // namespace tk
