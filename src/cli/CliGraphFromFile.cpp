// A daily load graph from a meter's interval file: korvan-vkp-cli graph-from-file.
#include "cli/CliCommandList.h"
#include "cli/CliContext.h"
#include "cli/JsonText.h"
#include "core/data/Fields.h"

#include "core/calc/Numbers.h"
#include "core/graphs/MeterFile.h"
#include "core/Messages.h"

#include <cstdio>

namespace korvan::cli {

QByteArray graphFromFile(Context &context)
{
    MeterReadOptions options;
    options.stampMarksStart = context.takeFlag(QStringLiteral("--stamp-start"));
    const bool energies = context.takeFlag(QStringLiteral("--energies"));
    const bool powers = context.takeFlag(QStringLiteral("--powers"));
    if (energies && powers)
        throw KorvanError(QStringLiteral("Укажите что-то одно: --energies или --powers."));
    if (energies)
        options.units = MeterReadOptions::Units::Energies;
    if (powers)
        options.units = MeterReadOptions::Units::Powers;

    MeterDayChoice choice;
    int kinds = 0;
    const QString day = context.takeOption(QStringLiteral("--day"));
    if (!day.isNull()) {
        ++kinds;
        choice.date = QDate::fromString(day, QStringLiteral("dd.MM.yyyy"));
        if (!choice.date.isValid())
            throw KorvanError(QStringLiteral("Дата «%1» должна быть в виде ДД.ММ.ГГГГ.").arg(day));
    }
    if (context.takeFlag(QStringLiteral("--workdays"))) {
        ++kinds;
        choice.kind = MeterDayChoice::Kind::Workdays;
    }
    if (context.takeFlag(QStringLiteral("--max-day"))) {
        ++kinds;
        choice.kind = MeterDayChoice::Kind::MaxDay;
    }
    if (kinds > 1)
        throw KorvanError(QStringLiteral("Укажите что-то одно: --day, --workdays или --max-day."));
    double period = 1;
    const QString periodText = context.takeNumber(QStringLiteral("--period"));
    if (!periodText.isNull()) {
        const auto v = parseNumber(periodText);
        if (!v)
            throw KorvanError(QStringLiteral("Длина периода «%1» не является числом.").arg(periodText));
        period = *v;
    }
    const QString path = context.takePositional(QStringLiteral("файл измерений"));
    context.requireNoArguments();

    const MeterData data = readMeterFile(path, options);
    const QList<LoadPeriod> periods = meterDayGraph(data, choice, period);
    // What was found but not filled: the user must know.
    for (const QString &w : data.warnings)
        Messages::warning(w);
    QList<QByteArray> items;
    for (const LoadPeriod &g : periods)
        items << json::object({{fld::T1, json::value(g.T1)},
                               {fld::T2, json::value(g.T2)},
                               {fld::P, json::value(g.P)},
                               {fld::Q, json::value(g.Q)}});
    return json::array(items);
}

} // namespace korvan::cli
