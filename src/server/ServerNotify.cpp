#include "ServerNotify.h"

#include "ServerSchema.h"

namespace tk {

QStringList serverNotifyStatements()
{
    // One notification per statement, and the server folds equal ones of a
    // transaction into one: a long copy costs a notification, not one a row.
    QStringList statements{QStringLiteral(
        "CREATE FUNCTION tekvanis_degisti() RETURNS trigger LANGUAGE plpgsql AS $$\n"
        "BEGIN\n"
        "    PERFORM pg_notify('%1', TG_TABLE_NAME);\n"
        "    RETURN NULL;\n"
        "END $$").arg(QLatin1String(changeChannel))};
    for (const ServerTable &t : serverTables())
        statements << QStringLiteral("CREATE TRIGGER %1_Degisti AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON %1 "
                                     "FOR EACH STATEMENT EXECUTE FUNCTION tekvanis_degisti()")
                          .arg(t.name);
    return statements;
}

} // namespace tk
