// The economic parameters and lifecycle figures in the command-line program.
#include "cli/CliEconomics.h"

#include "cli/CliCommandList.h"
#include "cli/CliContext.h"
#include "cli/CliSupport.h"
#include "cli/JsonText.h"

#include "core/calc/Numbers.h"
#include "core/data/TDataModule1.h"
#include "core/project/EconomicsCommands.h"

#include <QJsonObject>

namespace korvan::cli {

namespace {

const char *const Keys[] = {"Rate", "Life", "Maint", "Mont"};

QString *textFor(EconomicInput &in, int key)
{
    QString *texts[] = {&in.rate, &in.life, &in.maint, &in.mont};
    return texts[key];
}

QByteArray number(const std::optional<double> &v) { return v ? json::value(*v) : QByteArray("null"); }

QByteArray paramsJson(const EconomicParams &p)
{
    return json::object({{QStringLiteral("Rate"), json::value(p.Rate)},
                         {QStringLiteral("Life"), json::value(p.Life)},
                         {QStringLiteral("Maint"), json::value(p.Maint)},
                         {QStringLiteral("Mont"), json::value(p.Mont)}});
}

std::optional<double> money(const std::optional<double> &v)
{
    return v ? std::optional<double>(R(*v, 2)) : std::nullopt;
}

} // namespace

QByteArray currentEconomicsJson(TDataModule1 &data) { return paramsJson(currentEconomics(data)); }

QByteArray currentVariantEconomicsJson(TDataModule1 &data)
{
    const EconomicFigures f = currentVariantEconomics(data);
    return json::object({{QStringLiteral("C"), number(money(f.C))},
                         {QStringLiteral("A"), number(money(f.A))},
                         {QStringLiteral("NPV"), number(f.NPV)},
                         {QStringLiteral("IRR"), number(f.IRR)},
                         {QStringLiteral("DPP"), number(f.DPP)}});
}

QList<QPair<QString, QByteArray>> candidateEconomicsMembers(TDataModule1 &data, const EconomicParams &params)
{
    const TTable &table = *data.tblSel_KU;
    const EconomicFigures f = candidateEconomics(data.store(), table, table.currentRow(), params);
    return {{QStringLiteral("NPV"), number(f.NPV)},
            {QStringLiteral("IRR"), number(f.IRR)},
            {QStringLiteral("DPP"), number(f.DPP)}};
}

void importEconomics(TDataModule1 &data, const QJsonValue &economics)
{
    // The shape check has refused anything but an object of these keys.
    const QJsonObject object = economics.toObject();
    EconomicInput in = EconomicInput::of(EconomicParams{});
    for (int k = 0; k < 4; ++k) {
        QString *text = textFor(in, k);
        *text = numberText(object, QLatin1String(Keys[k]), *text);
    }
    setProjectEconomics(data, in);
}

QByteArray economicsCommand(Context &context)
{
    QList<std::pair<int, QString>> given;
    for (const auto &[option, key] :
         {std::pair{"--rate", 0}, std::pair{"--life", 1}, std::pair{"--maint", 2}, std::pair{"--mont", 3}}) {
        const QString value = context.takeNumber(QLatin1String(option));
        if (!value.isNull())
            given.append({key, value});
    }
    takeProject(context);
    context.requireNoArguments();
    TDataModule1 &data = context.data();
    if (!given.isEmpty()) {
        EconomicInput in = EconomicInput::of(currentEconomics(data));
        for (const auto &[key, value] : given)
            *textFor(in, key) = value;
        setProjectEconomics(data, in);
    }
    return currentEconomicsJson(data);
}

} // namespace korvan::cli
