#include "core/compensation/VariantPeriods.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "core/data/TotalsBatch.h"

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

ModuleList variantModuleList(TDataModule1 &data)
{
    TTable &set = *data.tblProj5;
    std::vector<ModuleGroup> groups;
    for (set.first(); !set.eof(); set.next())
        groups.push_back({set.asFloat(fld::Stup), int(set.asInteger(fld::Kol_vo))});
    ModuleList list;
    BuildModuleList(groups, list);
    return list;
}

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

void buildVariantPeriods(TDataModule1 &data, const std::optional<ModeSettings> &mode)
{
    TTable &periods = *data.tblProj1, &compensated = *data.tblProj3;
    const ModuleList modules = variantModuleList(data);
    const auto mark = periods.bookmark();
    TotalsBatch batch(*data.tblProj2);
    for (periods.first(); !periods.eof(); periods.next()) {
        compensated.append();
        for (const QString &f : {fld::T1, fld::T2, fld::P, fld::Q})
            compensated.setValue(f, periods.value(f));
        const SwitchedList switched = selectInto(compensated, modules, mode);
        compensated.post();
        storeSwitched(*data.tblProj4, switched);
    }
    batch.commit();
    periods.gotoBookmark(mark);
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
