#include "core/data/EconomicsTables.h"
#include "core/data/Fields.h"

#include "core/data/Engine.h"
#include "core/data/Store.h"

namespace korvan {

void createEconomicsTables(Store &store)
{
    Engine &engine = store.engine();
    const QString real = engine.valueType(Engine::Value::Real);
    const QString integer = engine.valueType(Engine::Value::Integer);
    store.exec(QStringLiteral("CREATE TABLE \"econom.db\" (\"Kod0\" %2 PRIMARY KEY, \"Rate\" %1 NOT NULL, "
                              "\"Life\" %2 NOT NULL, \"Maint\" %1 NOT NULL, \"Mont\" %1 NOT NULL)")
                   .arg(real, integer));
    engine.createDeleteTrigger(QStringLiteral("econom.db:project"), tbl::project0, fld::Kod,
                               QStringLiteral("econom.db"), fld::Kod0);
    store.exec(
        QStringLiteral("CREATE TABLE \"econrep.db\" (\"Kod\" %1 PRIMARY KEY, \"Econ\" %1 NOT NULL)").arg(integer));
    engine.createDeleteTrigger(QStringLiteral("econrep.db:report"), tbl::report, fld::Kod, QStringLiteral("econrep.db"),
                               fld::Kod);
    store.exec(QStringLiteral("INSERT INTO \"econrep.db\" SELECT \"Kod\", 1 FROM \"report.DB\" "
                              "WHERE \"Name\"='Полный отчет'"));
}

} // namespace korvan
