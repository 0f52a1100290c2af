// The one list of schema steps. A step, once released, never changes: a later
// change of the tables is a new step at the end.
#include "SchemaVersion.h"

#include "TurkishOrder.h"

namespace tk {

namespace {

// ISO dates (yyyy-MM-dd) as the damage page showed them; anything else as it is.
QString typedDate(const char *column)
{
    return QStringLiteral("CASE WHEN %1 GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]' "
                          "THEN substr(%1, 9, 2) || '.' || substr(%1, 6, 2) || '.' || substr(%1, 1, 4) "
                          "ELSE %1 END")
        .arg(QLatin1String(column));
}

// Version 2: the damage page's dates become text kept as typed; the ordered
// and searched columns get their indexes.
SchemaStep damageDatesAsTypedAndIndexes()
{
    // The table is made anew (SQLite cannot change a column's type), keeping
    // every row, its key and the key counter, so keys are never reused.
    QStringList statements = {
        QStringLiteral("CREATE TABLE HasTakip_yeni (\n"
                       "    SiraNo          INTEGER PRIMARY KEY AUTOINCREMENT,\n"
                       "    DosyaNo         TEXT,\n"
                       "    Plaka           TEXT,\n"
                       "    AracTipi        TEXT,\n"
                       "    AracModeli      TEXT,\n"
                       "    AracSahibi      TEXT,\n"
                       "    AracSahibiTC    TEXT,\n"
                       "    KazaTarihi      TEXT,\n"
                       "    SigortaFirma    TEXT,\n"
                       "    PoliceNo        TEXT,\n"
                       "    KazaNedeni      TEXT,\n"
                       "    KarsiAracPlaka  TEXT,\n"
                       "    KarsiAracTipi   TEXT,\n"
                       "    Kusur           TEXT,\n"
                       "    Exper           TEXT,\n"
                       "    ExperTel        TEXT,\n"
                       "    Vekalet         TEXT,\n"
                       "    OdemeTarihi     TEXT,\n"
                       "    Odeme           TEXT,\n"
                       "    FatNo           TEXT,\n"
                       "    TahminiHasar    TEXT,\n"
                       "    Aciklama        MEMO TEXT\n"
                       ")"),
        QStringLiteral("INSERT INTO HasTakip_yeni SELECT SiraNo, DosyaNo, Plaka, AracTipi, AracModeli, AracSahibi, "
                       "AracSahibiTC, %1, SigortaFirma, PoliceNo, KazaNedeni, KarsiAracPlaka, KarsiAracTipi, Kusur, "
                       "Exper, ExperTel, Vekalet, %2, Odeme, FatNo, TahminiHasar, Aciklama FROM HasTakip")
            .arg(typedDate("KazaTarihi"), typedDate("OdemeTarihi")),
        QStringLiteral("DELETE FROM sqlite_sequence WHERE name = 'HasTakip_yeni'"),
        QStringLiteral("UPDATE sqlite_sequence SET name = 'HasTakip_yeni' WHERE name = 'HasTakip'"),
        QStringLiteral("DROP TABLE HasTakip"),
        QStringLiteral("ALTER TABLE HasTakip_yeni RENAME TO HasTakip"),
    };
    statements << QStringLiteral("CREATE INDEX MusTakip_Tarih ON MusTakip(Tarih)")
               << QStringLiteral("CREATE INDEX FatTakip_Yil ON FatTakip(Yil)");
    statements += createKeyIndexStatements(2);
    return {2, QStringLiteral("Hasar takibinin tarihleri yazıldığı gibi saklanır; sıralanan ve aranan sütunlara dizin"),
            statements};
}

// Version 3: the summary window's monthly sums read their columns from
// covering indexes (the same ones a new file gets from the schema).
SchemaStep summaryIndexes()
{
    return {3, QStringLiteral("Özet penceresinin aylık toplamları için dizinler"),
            {QStringLiteral("CREATE INDEX IF NOT EXISTS Kasa1_Tarih ON Kasa1(Tarih, KKTahsis, Tahsilat, KKTediye, Tediye)"),
             QStringLiteral("CREATE INDEX IF NOT EXISTS SenetVer_VadeTarihi ON SenetVer(VadeTarihi, Tutar)"),
             QStringLiteral("CREATE INDEX IF NOT EXISTS SenetAl_VadeTarihi ON SenetAl(VadeTarihi, Tutar)")}};
}

} // namespace

const QVector<SchemaStep> &schemaSteps()
{
    static const QVector<SchemaStep> steps = {damageDatesAsTypedAndIndexes(), summaryIndexes()};
    return steps;
}

int newestSchemaVersion() { return schemaSteps().last().toVersion; }

} // namespace tk
