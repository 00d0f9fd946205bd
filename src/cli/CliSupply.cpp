// The supply command of the command-line program and the resonance check's JSON.
#include "cli/CliSupply.h"
#include "core/data/Fields.h"

#include "cli/CliCommandList.h"
#include "cli/CliContext.h"
#include "cli/CliSupport.h"
#include "cli/JsonText.h"

#include "core/calc/Numbers.h"
#include "core/compensation/ResonanceCommands.h"
#include "core/data/ResonanceTables.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/Messages.h"

#include <QJsonArray>
#include <QJsonObject>

namespace korvan::cli {

namespace {

QByteArray number(const std::optional<double> &v) { return v ? json::value(*v) : QByteArray("null"); }

QByteArray orders(const std::vector<int> &list)
{
    QList<QByteArray> items;
    for (int n : list)
        items << QByteArray::number(n);
    return json::array(items);
}

QByteArray valuesJson(const ResonanceValues &v)
{
    return json::object({{QStringLiteral("Hr_min"), number(v.Hr_min)},
                         {QStringLiteral("Hr_max"), number(v.Hr_max)},
                         {QStringLiteral("Resonance"), v.Resonance ? orders(*v.Resonance) : QByteArray("null")},
                         {QStringLiteral("dU_max"), number(v.dU_max)},
                         {QStringLiteral("Hours_lead"), json::value(v.Hours_lead)}});
}

// Harmonic orders, an array of whole numbers (as numbers or texts) that the shape check passed.
QString harmonicsText(const QJsonObject &in)
{
    const QString key = QStringLiteral("Harmonics");
    if (!in.contains(key))
        return SupplyInput().harmonics;
    QStringList parts;
    for (const QJsonValue &n : in.value(key).toArray())
        parts << QString::number(n.isString() ? parseNumber(decimalComma(n.toString())).value_or(0) : n.toDouble(), 'g',
                                 17);
    return parts.join(QStringLiteral(", "));
}

} // namespace

void importSupply(TDataModule1 &data, const QJsonValue &supply)
{
    if (supply.isUndefined()) // the shape check refused anything but an object
        return;
    const QJsonObject in = supply.toObject();
    SupplyInput input;
    input.str = numberText(in, QStringLiteral("Str"));
    input.uk = numberText(in, QStringLiteral("Uk"));
    input.sscNet = numberText(in, QStringLiteral("Ssc_net"));
    input.harmonics = harmonicsText(in);
    setSupply(data, input);
}

QByteArray supplyJson(Store &store, qint64 projectKod)
{
    const auto s = resonance_tables::supply(store, projectKod);
    if (!s)
        return "null";
    return json::object({{QStringLiteral("Str"), json::value(s->Str)},
                         {QStringLiteral("Uk"), json::value(s->Uk)},
                         {QStringLiteral("Ssc_net"), number(s->Ssc_net)},
                         {QStringLiteral("Harmonics"), orders(s->Harmonics)}});
}

QByteArray variantHarmonicsJson(Store &store, qint64 variantKod)
{
    return valuesJson(resonance_tables::variantValues(store, variantKod));
}

QByteArray candidateHarmonicsJson(Store &store, qint64 rowKod)
{
    return valuesJson(resonance_tables::candidateValues(store, rowKod));
}

QByteArray supplyCommand(Context &context)
{
    const bool clear = context.takeFlag(QStringLiteral("--clear"));
    SupplyInput input;
    input.str = context.takeNumber(QStringLiteral("--str"));
    input.uk = context.takeNumber(QStringLiteral("--uk"));
    input.sscNet = context.takeNumber(QStringLiteral("--ssc-net"));
    const QString harmonics = context.takeOption(QStringLiteral("--harmonics"));
    if (!harmonics.isNull())
        input.harmonics = harmonics;
    const qint64 kod = takeProject(context);
    context.requireNoArguments();
    TDataModule1 &data = context.data();
    if (clear) {
        if (!input.str.isNull() || !input.uk.isNull() || !input.sscNet.isNull() || !harmonics.isNull())
            throw KorvanError(QStringLiteral("Параметр --clear нельзя сочетать с параметрами питания."));
        clearSupply(data);
    } else {
        setSupply(data, input);
    }
    return json::object(
        {{fld::Kod, QByteArray::number(kod)}, {QStringLiteral("supply"), supplyJson(data.store(), kod)}});
}

} // namespace korvan::cli
