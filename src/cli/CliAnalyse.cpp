// The analysis table of candidate installations through the command-line program.
#include "cli/CliCommandList.h"
#include "cli/CliContext.h"
#include "cli/CliEconomics.h"
#include "cli/CliSupply.h"
#include "cli/CliSupport.h"
#include "cli/Interrupt.h"
#include "cli/JsonText.h"
#include "core/data/Fields.h"

#include "core/compensation/AnalysisCommands.h"
#include "core/compensation/AnalysisFilters.h"
#include "core/compensation/ResonanceCommands.h"
#include "core/data/CommandScope.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/project/EconomicsCommands.h"

#include <functional>

namespace korvan::cli {

namespace {

using Drop = std::function<void(TDataModule1 &)>;

// One --drop argument as the filter it runs; refused before anything is written.
Drop parseDrop(const QString &text)
{
    if (text == QLatin1String("invalid"))
        return [](TDataModule1 &d) { dropInvalidCandidates(d); };
    if (text == QLatin1String("not-full-power"))
        return [](TDataModule1 &d) { dropNotFullPower(d); };
    if (text == QLatin1String("daily-criteria"))
        return [](TDataModule1 &d) { dropByDailyCriteria(d); };
    if (text == QLatin1String("period-criteria"))
        return [](TDataModule1 &d) { dropByPeriodCriteria(d); };
    if (text == QLatin1String("resonance"))
        return [](TDataModule1 &d) { dropResonanceRisk(d); };
    const QStringList parts = text.split(QLatin1Char(':'));
    const bool daily = parts.first() == QLatin1String("daily-value");
    if (parts.size() != 3 || !(daily || parts.first() == QLatin1String("period-value")))
        throw KorvanError(QStringLiteral("Неизвестный фильтр «%1».").arg(text));
    const auto op = comparisonByCaption(parts[1]);
    if (!op)
        throw KorvanError(QStringLiteral("Неизвестное сравнение «%1» в фильтре «%2».").arg(parts[1], text));
    const QString value = decimalComma(parts[2]);
    throwIf(checkFilterCosf(value));
    if (daily)
        return [op, value](TDataModule1 &d) { dropByDailyValue(d, *op, value, {}); };
    return [op, value](TDataModule1 &d) { dropByPeriodValue(d, *op, value, {}); };
}

int parseMode(const QString &text)
{
    bool ok = false;
    const int mode = text.trimmed().toInt(&ok);
    if (!ok || mode < 0 || mode >= kSelectionModeCount)
        throw KorvanError(QStringLiteral("Режим подбора «%1» должен быть числом от 0 до 4.").arg(text));
    return mode;
}

void locateTypeByKod(TDataModule1 &data, const QString &text)
{
    bool ok = false;
    const qint64 kod = text.toLongLong(&ok);
    if (!ok)
        throw KorvanError(QStringLiteral("Код конденсаторной установки «%1» должен быть целым числом.").arg(text));
    TTable types(data.store(), tbl::sKU1);
    types.open();
    if (!types.locate(fld::Kod, kod) || !data.tblsKU0->locate(fld::Kod, types.value(fld::Kod0)) ||
        !data.tblsKU1->locate(fld::Kod, kod))
        throw KorvanError(candidateNotFoundMessage());
}

void locateCompany(TDataModule1 &data, const QString &name)
{
    if (!data.tblsKU0->locate(fld::Company, name))
        throw KorvanError(QStringLiteral("Компания «%1» не найдена в справочнике конденсаторных установок.").arg(name));
}

} // namespace

QByteArray analyseProject(Context &context)
{
    SelectionInput input;
    const QString mode = context.takeOption(QStringLiteral("--mode"));
    if (!mode.isNull())
        input.mode.mode = parseMode(mode);
    for (const auto &[option, text] :
         {std::pair{"--cosf-min", &input.mode.cosfMin}, std::pair{"--cosf-max", &input.mode.cosfMax},
          std::pair{"--cosf-tr", &input.mode.cosfTr}, std::pair{"--kp", &input.kp}}) {
        const QString value = context.takeNumber(QLatin1String(option));
        if (!value.isNull())
            *text = value;
    }
    const QString type = context.takeOption(QStringLiteral("--type"));
    const QString company = context.takeOption(QStringLiteral("--company"));
    const bool allCompanies = context.takeFlag(QStringLiteral("--all-companies"));
    const bool clear = context.takeFlag(QStringLiteral("--clear"));
    QString sort = context.takeOption(QStringLiteral("--sort"));
    if (sort.isNull())
        sort = QStringLiteral("siSrok");
    else if (sort == QLatin1String("npv"))
        sort = QLatin1String(NpvSortIndex);
    QList<Drop> drops;
    for (QString d = context.takeOption(QStringLiteral("--drop")); !d.isNull();
         d = context.takeOption(QStringLiteral("--drop")))
        drops << parseDrop(d);
    if (int(!type.isNull()) + int(!company.isNull()) + int(allCompanies) > 1)
        throw KorvanError(QStringLiteral("Укажите только одно из --type, --company и --all-companies."));
    takeProject(context);
    context.requireNoArguments();
    // The dialog's checks, whatever is evaluated: the optimum and the range read the same fields.
    throwIf(checkSelectionInput(input.kp, input.mode));

    TDataModule1 &data = context.data();
    restrictAnalysisToProject(data);
    sortAnalysis(data, sort);
    const Progress progress = commandProgress("Оценка установок");
    CommandScope command(data.store(), {data.tblSel_KU});
    if (clear)
        deleteAllCandidates(data);
    if (!type.isNull()) {
        locateTypeByKod(data, type);
        addCandidate(data, input);
    } else if (!company.isNull()) {
        locateCompany(data, company);
        addCompanyCandidates(data, input, progress);
    } else if (allCompanies) {
        addCatalogueCandidates(data, input, progress);
    }
    for (const Drop &drop : drops)
        drop(data);
    throwIfInterrupted();
    command.commit();

    const std::optional<qint64> optimumNpv = gotoNpvOptimum(data);
    const std::optional<qint64> optimum = gotoOptimum(data, input.mode);
    const QString range = recommendedRangeText(data, input.mode);
    TTable &table = *data.tblSel_KU;
    // The money the npv order sorts by, shown with each row as the window's grid shows it.
    const EconomicParams params = currentEconomics(data);
    QList<QByteArray> rows;
    for (table.first(); !table.eof(); table.next())
        rows << json::row(
            table, candidateEconomicsMembers(data, params) +
                       QList<QPair<QString, QByteArray>>{
                           {QStringLiteral("harmonics"), candidateHarmonicsJson(data.store(), table.currentKod())}});
    return json::object(
        {{QStringLiteral("rows"), json::array(rows)},
         {QStringLiteral("optimum"), optimum ? QByteArray::number(*optimum) : QByteArray("null")},
         {QStringLiteral("optimum_npv"), optimumNpv ? QByteArray::number(*optimumNpv) : QByteArray("null")},
         {QStringLiteral("range"), json::string(range)}});
}

} // namespace korvan::cli
