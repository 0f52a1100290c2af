#include "DataModule.h"

#include "SchemaVersion.h"
#include "TurkishOrder.h"

namespace tk {

const QVector<DatasetDef> &datasetDefs()
{
    static const QVector<DatasetDef> defs = {
        {"MusTakip", "DS1", "Select * From MusTakip Order By Tarih", nullptr},
        {"MusTakip1", "DS1_1", "Select * From MusTakip1 where SiraNo=:SiraNo", "MusTakip"},
        {"HasTakip", "DSHasTakip", "Select * From HasTakip", nullptr},
        {"FatTakip", "DSFatTakip", "Select * From FatTakip Order By Yil", nullptr},
        {"FatTakip1", "DSFatTakip1", "Select * From FatTakip1 where SiraNo=:SiraNo", "FatTakip"},
        {"Cari", "DSCari", "Select * From Cari Order By " + turkishKey(QStringLiteral("Firma")), nullptr},
        {"Cari1", "DSCari1", "Select * From Cari1 where SiraNo=:SiraNo", "Cari"},
        {"IrsaliyeUst", "DSIrsaliyeUst", "Select * From IrsaliyeUst", nullptr},
        {"Irsaliye", "DSIrsaliye", "Select * From Irsaliye where SiraNo=:SiraNo", "IrsaliyeUst"},
        {"Kasa", "DSKasa", "Select * From Kasa", nullptr},
        {"Kasa1", "DSKasa1", "Select * From Kasa1 where SiraNo=:SiraNo", "Kasa"},
        {"Odeme", "DSOdeme", "Select * From Odeme", nullptr},
        {"Odeme1", "DSOdeme1", "Select * From Odeme1 where SiraNo=:SiraNo", "Odeme"},
        {"SenetVer", "DSSenetVer", "Select * From SenetVer", nullptr},
        {"SenetAl", "DSSenetAl", "Select * From SenetAl", nullptr},
        {"Stok", "DSStok", "Select * From Stok", nullptr},
        {"Maas", "DSMaas", "Select * From Maas", nullptr},
        {"Maas1", "DSMaas1", "Select * From Maas1 where SiraNo=:SiraNo", "Maas"},
    };
    return defs;
}

namespace {

// The program works on files at the newest schema version only.
std::unique_ptr<Connection> openUpgraded(const QString &path)
{
    upgradeDataFile(path);
    return std::make_unique<Connection>(path);
}

} // namespace

DataModule::DataModule(const QString &databasePath, QObject *parent)
    : QObject(parent), m_connection(openUpgraded(databasePath))
{
    for (const DatasetDef &def : datasetDefs()) {
        const QString name = QString::fromLatin1(def.name);
        auto *ds = new Dataset(m_connection.get(), name, name, def.sql, this);
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
