#include "core/data/ReportFrontTables.h"
#include "core/data/Fields.h"

#include "core/data/Engine.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"

#include <QStringList>

namespace korvan {

QString ReportEngineer::text() const
{
    QStringList parts;
    for (const QString &part : {name, position, organisation}) {
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    }
    return parts.join(QStringLiteral(", "));
}

void createReportFrontTables(Store &store)
{
    Engine &engine = store.engine();
    const QString integer = engine.valueType(Engine::Value::Integer);
    const QString text = engine.valueType(Engine::Value::Text);
    store.exec(QStringLiteral("CREATE TABLE \"report_front.db\" (\"Kod\" %1 PRIMARY KEY, \"Summary\" %1 NOT NULL, "
                              "\"Contents\" %1 NOT NULL)")
                   .arg(integer));
    engine.createDeleteTrigger(QStringLiteral("report_front.db:report"), tbl::report, fld::Kod,
                               QStringLiteral("report_front.db"), fld::Kod);
    store.exec(QStringLiteral("CREATE TABLE \"report_engineer.db\" (\"Kod\" %1 PRIMARY KEY, \"Name\" %2 NOT NULL, "
                              "\"Position\" %2 NOT NULL, \"Organisation\" %2 NOT NULL)")
                   .arg(integer, text));
    engine.createDeleteTrigger(QStringLiteral("report_engineer.db:report"), tbl::report, fld::Kod,
                               QStringLiteral("report_engineer.db"), fld::Kod);
    store.exec(QStringLiteral("INSERT INTO \"report_front.db\" SELECT \"Kod\", 1, 1 FROM \"report.DB\""));
}

ReportFront reportFront(Store &store, qint64 settingsKod)
{
    Statement &q =
        store.prepared(QStringLiteral("SELECT \"Summary\", \"Contents\" FROM \"report_front.db\" WHERE \"Kod\"=?"));
    q.bind(0, settingsKod);
    ReportFront front;
    if (q.next()) {
        front.summary = q.column(0).toInt() != 0;
        front.contents = q.column(1).toInt() != 0;
    }
    q.reset();
    return front;
}

void setReportFront(Store &store, qint64 settingsKod, const ReportFront &front)
{
    Statement &q = store.prepared(
        QStringLiteral("INSERT INTO \"report_front.db\" (\"Kod\", \"Summary\", \"Contents\") VALUES (?, ?, ?) "
                       "ON CONFLICT (\"Kod\") DO UPDATE SET \"Summary\"=excluded.\"Summary\", "
                       "\"Contents\"=excluded.\"Contents\""));
    q.bind(0, settingsKod);
    q.bind(1, front.summary ? 1 : 0);
    q.bind(2, front.contents ? 1 : 0);
    q.run();
}

ReportEngineer reportEngineer(Store &store, qint64 settingsKod)
{
    Statement &q = store.prepared(
        QStringLiteral("SELECT \"Name\", \"Position\", \"Organisation\" FROM \"report_engineer.db\" WHERE \"Kod\"=?"));
    q.bind(0, settingsKod);
    ReportEngineer engineer;
    if (q.next())
        engineer = {q.column(0).toString(), q.column(1).toString(), q.column(2).toString()};
    q.reset();
    return engineer;
}

void setReportEngineer(Store &store, qint64 settingsKod, const ReportEngineer &engineer)
{
    if (engineer.isEmpty()) {
        Statement &q = store.prepared(QStringLiteral("DELETE FROM \"report_engineer.db\" WHERE \"Kod\"=?"));
        q.bind(0, settingsKod);
        q.run();
        return;
    }
    Statement &q = store.prepared(QStringLiteral(
        "INSERT INTO \"report_engineer.db\" (\"Kod\", \"Name\", \"Position\", \"Organisation\") VALUES (?, ?, ?, ?) "
        "ON CONFLICT (\"Kod\") DO UPDATE SET \"Name\"=excluded.\"Name\", \"Position\"=excluded.\"Position\", "
        "\"Organisation\"=excluded.\"Organisation\""));
    q.bind(0, settingsKod);
    q.bind(1, engineer.name.trimmed());
    q.bind(2, engineer.position.trimmed());
    q.bind(3, engineer.organisation.trimmed());
    q.run();
}

} // namespace korvan
