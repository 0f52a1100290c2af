#include "ServerNotify.h"

#include "PgConnection.h"
#include "ServerSchema.h"

namespace tk {

namespace {

// One notification per statement, and the server folds equal ones of a
// transaction into one: a long copy costs a notification, not one a row.
QString notifyFunction()
{
    return QStringLiteral("CREATE OR REPLACE FUNCTION tekvanis_degisti() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                          "BEGIN\n"
                          "    PERFORM pg_notify('%1', TG_TABLE_NAME);\n"
                          "    RETURN NULL;\n"
                          "END $$")
        .arg(QLatin1String(changeChannel));
}

QString notifyTrigger(const QString &table)
{
    return QStringLiteral("CREATE OR REPLACE TRIGGER %1_Degisti AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON %1 "
                          "FOR EACH STATEMENT EXECUTE FUNCTION tekvanis_degisti()")
        .arg(table);
}

} // namespace

QStringList serverNotifyStatements()
{
    QStringList statements{notifyFunction()};
    for (const ServerTable &t : serverTables())
        statements << notifyTrigger(t.name);
    return statements;
}

void addMissingNotifyTriggers(PgConnection &db)
{
    QStringList tables;
    for (const ServerTable &t : serverTables())
        tables << t.name.toLower(); // as the server keeps unquoted names
    const PgResult missing = db.exec(QStringLiteral("SELECT t FROM unnest($1::text[]) t WHERE NOT EXISTS "
                                                    "(SELECT 1 FROM pg_trigger WHERE tgrelid = to_regclass(t) "
                                                    "AND tgname = t || '_degisti')"),
                                     {QLatin1Char('{') + tables.join(QLatin1Char(',')) + QLatin1Char('}')});
    if (missing.rows() == 0)
        return;
    db.inTransaction([&] {
        db.run(notifyFunction());
        for (int i = 0; i < missing.rows(); ++i)
            db.run(notifyTrigger(QString::fromUtf8(missing.value(i, 0))));
    });
}

} // namespace tk
