// The installation catalogue through the command-line program: import and export.
#include "cli/CliCatalogue.h"
#include "cli/CliCommandList.h"
#include "cli/CliContext.h"
#include "cli/CliSupport.h"
#include "cli/Interrupt.h"
#include "cli/JsonShape.h"
#include "cli/JsonText.h"
#include "core/data/Fields.h"

#include "core/compensation/ResonanceCommands.h"
#include "core/data/CommandScope.h"
#include "core/data/ResonanceTables.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/Messages.h"

#include <QJsonArray>

namespace korvan::cli {

namespace {

// A JSON member as the value to store; absent and null are null (the catalogue's checks decide).
QVariant member(const QJsonObject &o, const QString &key)
{
    const QJsonValue v = o.value(key);
    if (v.isDouble())
        return v.toDouble();
    if (v.isString())
        return v.toString();
    return {};
}

} // namespace

QByteArray importCatalogue(Context &context)
{
    const QString path = context.takePositional(QStringLiteral("файл справочника"));
    context.requireNoArguments();
    return importCatalogueJson(context.data(), readJsonInput(path));
}

QByteArray importCatalogueJson(TDataModule1 &data, const QJsonValue &input)
{
    checkJson(catalogueInput(), input);
    TTable &companies = *data.tblsKU0, &types = *data.tblsKU1, &groups = *data.tblsKU2;
    QList<QByteArray> added;
    CommandScope command(data.store(), {&groups, &types, &companies});
    for (const QJsonValue &c : input.toArray()) {
        const QJsonObject company = c.toObject();
        const QString name = textOf(company, fld::Company);
        if (name.isEmpty() || !companies.locate(fld::Company, name)) {
            companies.append();
            companies.setValue(fld::Company, name);
            companies.post();
        }
        for (const QJsonValue &t : company.value(QStringLiteral("types")).toArray()) {
            const QJsonObject type = t.toObject();
            types.append();
            types.setValue(fld::Name, member(type, fld::Name));
            types.setValue(fld::Q, member(type, fld::Q));
            types.setValue(fld::Pp, member(type, fld::Pp));
            types.setValue(fld::Unom, member(type, fld::Unom));
            types.setValue(fld::Cena, member(type, fld::Cena));
            types.post();
            // Detuned installations carry their reactor's p, %; absent, null or 0: none.
            setCurrentTypeDetuning(data, numberText(type, QStringLiteral("Detuning")));
            for (const QJsonValue &m : type.value(QStringLiteral("modules")).toArray()) {
                const QJsonObject module = m.toObject();
                groups.append();
                groups.setValue(fld::Qstup, member(module, fld::Qstup));
                groups.setValue(fld::Kol_vo, member(module, fld::Kol_vo));
                groups.post();
            }
            added << json::object({{fld::Company, json::string(companies.asString(fld::Company))},
                                   {fld::Name, json::string(types.asString(fld::Name))},
                                   {fld::KodKU0, QByteArray::number(companies.currentKod())},
                                   {fld::KodKU1, QByteArray::number(types.currentKod())}});
        }
    }
    throwIfInterrupted();
    command.commit();
    return json::array(added);
}

QByteArray exportCatalogue(Context &context)
{
    context.requireNoArguments();
    TDataModule1 &data = context.data();
    TTable &companies = *data.tblsKU0, &types = *data.tblsKU1, &groups = *data.tblsKU2;
    QList<QByteArray> out;
    for (companies.first(); !companies.eof(); companies.next()) {
        QList<QByteArray> typeItems;
        for (types.first(); !types.eof(); types.next()) {
            QList<QByteArray> modules;
            for (groups.first(); !groups.eof(); groups.next())
                modules << json::object({{fld::Qstup, json::value(groups.value(fld::Qstup))},
                                         {fld::Kol_vo, json::value(groups.value(fld::Kol_vo))}});
            QList<QPair<QString, QByteArray>> members;
            for (const QString &f : {fld::Name, fld::Q, fld::Pp, fld::Unom, fld::Cena})
                members.append({f, json::value(types.value(f))});
            const auto detuning = resonance_tables::detuning(data.store(), types.currentKod());
            members.append({QStringLiteral("Detuning"), detuning ? json::value(*detuning) : QByteArray("null")});
            members.append({QStringLiteral("modules"), json::array(modules)});
            typeItems << json::object(members);
        }
        out << json::object({{fld::Company, json::string(companies.asString(fld::Company))},
                             {QStringLiteral("types"), json::array(typeItems)}});
    }
    return json::array(out);
}

} // namespace korvan::cli
