#include "core/data/AnalysisInputs.h"

#include "core/data/Engine.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"

namespace korvan {

void createAnalysisInputTable(Store &store)
{
    Engine &engine = store.engine();
    store.exec(QStringLiteral("CREATE TABLE \"sel_ku_kp.db\" (\"Kod0\" %1 PRIMARY KEY, \"Kp\" %2 NOT NULL)")
                   .arg(engine.valueType(Engine::Value::Integer), engine.valueType(Engine::Value::Real)));
    engine.createDeleteTrigger(QStringLiteral("sel_ku_kp.db:delete"), QStringLiteral("sel_ku.DB"),
                               QStringLiteral("Kod"), QStringLiteral("sel_ku_kp.db"), QStringLiteral("Kod0"));
}

void setCandidateKp(Store &store, qint64 rowKod, double kp)
{
    Statement &q = store.prepared(QStringLiteral("INSERT INTO \"sel_ku_kp.db\" (\"Kod0\", \"Kp\") VALUES (?, ?) "
                                                 "ON CONFLICT (\"Kod0\") DO UPDATE SET \"Kp\"=excluded.\"Kp\""));
    q.bind(0, rowKod);
    q.bind(1, kp);
    q.write();
}

QHash<qint64, double> candidateKps(Store &store, qint64 projectKod)
{
    Statement &q = store.prepared(QStringLiteral("SELECT k.\"Kod0\", k.\"Kp\" FROM \"sel_ku_kp.db\" k JOIN "
                                                 "\"sel_ku.DB\" s ON s.\"Kod\" = k.\"Kod0\" WHERE s.\"Kod0\" = ?"));
    q.bind(0, projectKod);
    QHash<qint64, double> out;
    while (q.next())
        out.insert(q.column(0).toLongLong(), q.column(1).toDouble());
    q.reset();
    return out;
}

} // namespace korvan
