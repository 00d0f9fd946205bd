#include "core/data/Seeder.h"
#include "core/data/Fields.h"

#include "core/data/ResonanceTables.h"
#include "core/data/Schema.h"
#include "core/data/Statement.h"
#include "core/data/Store.h"
#include "core/Messages.h"

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

long long Seeder::insert(const QString &table, const QStringList &fields, const QVariantList &values)
{
    QStringList quotedFields, marks;
    for (const QString &f : fields) {
        quotedFields << QLatin1Char('"') + f + QLatin1Char('"');
        marks << QStringLiteral("?");
    }
    Statement &q = m_store.prepared(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (%3)")
                                        .arg(table, quotedFields.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
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
        const long long kod0 = insert(tbl::sKU0, {fld::Company}, {company[fld::Company].toString()});
        for (const QJsonValue &t : company[QLatin1String("types")].toArray()) {
            const QJsonObject type = t.toObject();
            const long long kod1 = insert(
                tbl::sKU1, {fld::Kod0, fld::Name, fld::Q, fld::Pp, fld::Unom, fld::Cena},
                {kod0, type[fld::Name].toString(), number(type[fld::Q]), number(type[fld::Pp]),
                 type[fld::Unom].isDouble() ? QVariant(type[fld::Unom].toInt()) : QVariant(), number(type[fld::Cena])});
            // Detuned installations (capacitors with series reactors) carry their reactor's p, %.
            if (const QJsonValue p = type[QLatin1String("Detuning")]; p.isDouble())
                resonance_tables::setDetuning(m_store, kod1, p.toDouble());
            for (const QJsonValue &m : type[QLatin1String("modules")].toArray()) {
                const QJsonObject module = m.toObject();
                insert(tbl::sKU2, {fld::Kod0, fld::Qstup, fld::Kol_vo},
                       {kod1, number(module[fld::Qstup]), module[fld::Kol_vo].toInt()});
            }
        }
    }
}

void Seeder::seedTypicalGraphs(const QJsonArray &industries)
{
    for (const QJsonValue &i : industries) {
        const QJsonObject industry = i.toObject();
        const long long kod0 = insert(tbl::sSutGraphic0, {fld::Otrasl}, {industry[fld::Otrasl].toString()});
        for (const QJsonValue &e : industry[QLatin1String("enterprises")].toArray()) {
            const QJsonObject enterprise = e.toObject();
            const long long kod1 =
                insert(tbl::sSutGraphic1, {fld::Kod0, fld::Name}, {kod0, enterprise[fld::Name].toString()});
            for (const QJsonValue &p : enterprise[QLatin1String("periods")].toArray()) {
                const QJsonObject period = p.toObject();
                insert(tbl::sSutGraphic2, {fld::Kod0, fld::T1, fld::T2, fld::P, fld::Q},
                       {kod1, number(period[fld::T1]), number(period[fld::T2]), number(period[fld::P]),
                        number(period[fld::Q])});
            }
        }
    }
}

void Seeder::seedReportSettings(const QJsonArray &records)
{
    const TableDef *t = tableDef(tbl::report);
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
        insert(tbl::report, fields, values);
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
        insert(tbl::Hints, {fld::TableName, fld::FieldName, fld::FieldHint},
               {hint[fld::TableName].toString(), hint[fld::FieldName].toString(), hint[fld::FieldHint].toString()});
    }
}

} // namespace korvan
