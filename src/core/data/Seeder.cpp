#include "Seeder.h"

#include "Messages.h"
#include "ResonanceTables.h"
#include "Schema.h"
#include "Statement.h"
#include "Store.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <QVariant>

static void initSeedResources() { Q_INIT_RESOURCE(seed); }

namespace korvan {

QJsonArray Seeder::readResource(const QString &name)
{
    initSeedResources();
    QFile file(QStringLiteral(":/seed/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw KorvanError(QStringLiteral("Не найдены поставляемые данные «%1».").arg(name));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !doc.isArray())
        throw KorvanError(QStringLiteral("Поставляемые данные «%1» повреждены: %2").arg(name, error.errorString()));
    return doc.array();
}

void Seeder::seedAll()
{
    seedCatalogue(readResource(QStringLiteral("catalogue.json")));
    seedTypicalGraphs(readResource(QStringLiteral("typical_graphs.json")));
    seedReportSettings(readResource(QStringLiteral("report_settings.json")));
    seedHints(readResource(QStringLiteral("hints.json")));
}

long long Seeder::insert(const char *table, const QStringList &fields, const QVariantList &values)
{
    QStringList quotedFields, marks;
    for (const QString &f : fields) {
        quotedFields << QLatin1Char('"') + f + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    Statement &q = m_store.prepared(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                        .arg(QLatin1String(table), quotedFields.join(QLatin1Char(',')),
                                             marks.join(QLatin1Char(','))));
    for (int i = 0; i < values.size(); ++i)
        q.bind(i, values[i]);
    q.run();
    return m_store.lastInsertId();
}

static QVariant number(const QJsonValue &v) { return v.isDouble() ? QVariant(v.toDouble()) : QVariant(); }

void Seeder::seedCatalogue(const QJsonArray &companies)
{
    for (const QJsonValue &c : companies) {
        const QJsonObject company = c.toObject();
        const long long kod0 = insert("sKU0.db", {QStringLiteral("Company")}, {company[QLatin1String("Company")].toString()});
        for (const QJsonValue &t : company[QLatin1String("types")].toArray()) {
            const QJsonObject type = t.toObject();
            const long long kod1 = insert("sKU1.DB",
                                          {QStringLiteral("Kod0"), QStringLiteral("Name"), QStringLiteral("Q"),
                                           QStringLiteral("Pp"), QStringLiteral("Unom"), QStringLiteral("Cena")},
                                          {kod0, type[QLatin1String("Name")].toString(), number(type[QLatin1String("Q")]),
                                           number(type[QLatin1String("Pp")]),
                                           type[QLatin1String("Unom")].isDouble() ? QVariant(type[QLatin1String("Unom")].toInt()) : QVariant(),
                                           number(type[QLatin1String("Cena")])});
            // Detuned installations (capacitors with series reactors) carry their reactor's p, %.
            if (const QJsonValue p = type[QLatin1String("Detuning")]; p.isDouble())
                resonance_tables::setDetuning(m_store, kod1, p.toDouble());
            for (const QJsonValue &m : type[QLatin1String("modules")].toArray()) {
                const QJsonObject module = m.toObject();
                insert("sKU2.DB", {QStringLiteral("Kod0"), QStringLiteral("Qstup"), QStringLiteral("Kol_vo")},
                       {kod1, number(module[QLatin1String("Qstup")]), module[QLatin1String("Kol_vo")].toInt()});
            }
        }
    }
}

void Seeder::seedTypicalGraphs(const QJsonArray &industries)
{
    for (const QJsonValue &i : industries) {
        const QJsonObject industry = i.toObject();
        const long long kod0 = insert("sSutGraphic0.db", {QStringLiteral("Otrasl")}, {industry[QLatin1String("Otrasl")].toString()});
        for (const QJsonValue &e : industry[QLatin1String("enterprises")].toArray()) {
            const QJsonObject enterprise = e.toObject();
            const long long kod1 = insert("sSutGraphic1.db", {QStringLiteral("Kod0"), QStringLiteral("Name")},
                                          {kod0, enterprise[QLatin1String("Name")].toString()});
            for (const QJsonValue &p : enterprise[QLatin1String("periods")].toArray()) {
                const QJsonObject period = p.toObject();
                insert("sSutGraphic2.db",
                       {QStringLiteral("Kod0"), QStringLiteral("T1"), QStringLiteral("T2"), QStringLiteral("P"), QStringLiteral("Q")},
                       {kod1, number(period[QLatin1String("T1")]), number(period[QLatin1String("T2")]),
                        number(period[QLatin1String("P")]), number(period[QLatin1String("Q")])});
            }
        }
    }
}

void Seeder::seedReportSettings(const QJsonArray &records)
{
    const TableDef *t = tableDef(QStringLiteral("report.DB"));
    for (const QJsonValue &r : records) {
        const QJsonObject record = r.toObject();
        QStringList fields;
        QVariantList values;
        for (const FieldDef &f : t->fields) {
            if (f.type == FieldType::AutoInc)
                continue;
            const QJsonValue v = record[QLatin1String(f.name)];
            fields << QLatin1String(f.name);
            if (v.isBool())
                values << QVariant(v.toBool() ? 1 : 0);
            else if (v.isDouble())
                values << QVariant(v.toInt());
            else if (v.isString())
                values << QVariant(v.toString());
            else
                values << QVariant();
        }
        insert("report.DB", fields, values);
    }
    switchResonanceOnInFullReport();
}

void Seeder::switchResonanceOnInFullReport()
{
    Statement &q = m_store.prepared(QStringLiteral("SELECT \"Kod\" FROM \"report.DB\" WHERE \"Name\" = ?"));
    q.bind(0, QStringLiteral("Полный отчет"));
    QList<long long> kods;
    while (q.next())
        kods << q.column(0).toLongLong();
    for (long long kod : kods)
        resonance_tables::setReportFlag(m_store, kod, true);
}

void Seeder::seedHints(const QJsonArray &hints)
{
    for (const QJsonValue &h : hints) {
        const QJsonObject hint = h.toObject();
        insert("Hints.DB", {QStringLiteral("TableName"), QStringLiteral("FieldName"), QStringLiteral("FieldHint")},
               {hint[QLatin1String("TableName")].toString(), hint[QLatin1String("FieldName")].toString(),
                hint[QLatin1String("FieldHint")].toString()});
    }
}

} // namespace korvan
