#include "core/data/VariantPeriods.h"
#include "core/data/Fields.h"

#include "core/data/ProjectResults.h"
#include "core/data/Records.h"
#include "core/data/TDataModule1.h"

namespace korvan {

std::optional<ModeSettings> modeOfVariant(const TTable &variants)
{
    const auto mode = selectionModeNumber(variants.asString(fld::Rejim));
    if (!mode)
        return std::nullopt;
    ModeSettings s;
    s.mode = *mode;
    s.Cosf_min = variants.asOptional(fld::Cosf_min);
    s.Cosf_max = variants.asOptional(fld::Cosf_max);
    s.Cosf_tr = variants.asOptional(fld::Cosf_tr);
    return s;
}

ModuleList moduleListOf(const TTable &set, const QString &powerField, const QString &countField)
{
    const int power = set.fieldIndex(powerField), count = set.fieldIndex(countField);
    std::vector<ModuleGroup> groups;
    for (const TTable::Row &row : set.rows())
        groups.push_back({row[power].toDouble(), int(row[count].toLongLong())});
    ModuleList list;
    BuildModuleList(groups, list);
    return list;
}

ModuleList variantModuleList(TDataModule1 &data) { return moduleListOf(*data.tblProj5, fld::Stup, fld::Kol_vo); }

namespace {

// Sets Qku of the compensated period being written and returns what was switched on.
SwitchedList selectInto(TTable &period, const ModuleList &modules, const std::optional<ModeSettings> &mode)
{
    SwitchedList switched;
    std::optional<double> qku;
    if (mode)
        qku = SelectModules(*mode, modules, switched, period.asFloat(fld::P), period.asFloat(fld::Q));
    period.setOptional(fld::Qku, qku);
    return switched;
}

void storeSwitched(TTable &switchedTable, const SwitchedList &switched)
{
    for (const SwitchedModules &m : switched) {
        switchedTable.append();
        switchedTable.setValue(fld::Stup, m.power);
        switchedTable.setValue(fld::Kol_vo, m.count);
        switchedTable.post();
    }
}

} // namespace

VariantResultsInput variantResultsInput(const TTable &variants, const TTable &project)
{
    return {{variants.asFloat(fld::Pp), variants.asFloat(fld::Kp), variants.asOptional(fld::Cena),
             variants.asOptional(fld::Srok)},
            tariffOf(project)};
}

void buildPeriods(const QList<LoadPeriod> &graph, TTable &compensated, TTable &switched, const ModuleList &modules,
                  const std::optional<ModeSettings> &mode, const std::optional<VariantResultsInput> &results)
{
    for (const LoadPeriod &p : graph) {
        compensated.append();
        setLoadPeriod(compensated, p);
        const SwitchedList on = selectInto(compensated, modules, mode);
        if (results)
            setCompensatedResults(compensated, computeCompensatedPeriod({p, compensated.asFloat(fld::Qku)},
                                                                        results->variant, results->tariff));
        compensated.post();
        storeSwitched(switched, on);
    }
}

void buildVariantPeriods(TDataModule1 &data, const std::optional<ModeSettings> &mode)
{
    buildPeriods(loadPeriodsOf(*data.tblProj1), *data.tblProj3, *data.tblProj4, variantModuleList(data), mode,
                 variantResultsInput(*data.tblProj2, *data.tblProj0));
}

void switchModules(TDataModule1 &data, const ModuleList &modules, const std::optional<ModeSettings> &mode)
{
    TTable &compensated = *data.tblProj3;
    compensated.edit();
    const SwitchedList switched = selectInto(compensated, modules, mode);
    compensated.post();
    TDataModule1::deleteAllRows(*data.tblProj4);
    storeSwitched(*data.tblProj4, switched);
}

} // namespace korvan
