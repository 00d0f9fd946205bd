#include "EconomicsTables.h"

#include "Store.h"

namespace korvan {

void createEconomicsTables(Store &store)
{
    store.exec(QStringLiteral("CREATE TABLE \"econom.db\" (\"Kod0\" INTEGER PRIMARY KEY, \"Rate\" REAL NOT NULL, "
                              "\"Life\" INTEGER NOT NULL, \"Maint\" REAL NOT NULL, \"Mont\" REAL NOT NULL)"));
    store.exec(QStringLiteral("CREATE TRIGGER \"econom.db:project\" AFTER DELETE ON \"project0.db\" "
                              "BEGIN DELETE FROM \"econom.db\" WHERE \"Kod0\"=OLD.\"Kod\"; END"));
    store.exec(QStringLiteral("CREATE TABLE \"econrep.db\" (\"Kod\" INTEGER PRIMARY KEY, \"Econ\" INTEGER NOT NULL)"));
    store.exec(QStringLiteral("CREATE TRIGGER \"econrep.db:report\" AFTER DELETE ON \"report.DB\" "
                              "BEGIN DELETE FROM \"econrep.db\" WHERE \"Kod\"=OLD.\"Kod\"; END"));
    store.exec(QStringLiteral("INSERT INTO \"econrep.db\" SELECT \"Kod\", 1 FROM \"report.DB\" "
                              "WHERE \"Name\"='Полный отчет'"));
}

} // namespace korvan
