#include "VariantPeriods.h"

#include "data/TDataModule1.h"
#include "data/TotalsBatch.h"

namespace korvan {

std::optional<ModeSettings> modeOfVariant(const TTable &variants)
{
    const auto mode = selectionModeNumber(variants.asString(QStringLiteral("Rejim")));
    if (!mode)
        return std::nullopt;
    ModeSettings s;
    s.mode = *mode;
    s.Cosf_min = variants.asOptional(QStringLiteral("Cosf_min"));
    s.Cosf_max = variants.asOptional(QStringLiteral("Cosf_max"));
    s.Cosf_tr = variants.asOptional(QStringLiteral("Cosf_tr"));
    return s;
}

ModuleList variantModuleList(TDataModule1 &data)
{
    TTable &set = *data.tblProj5;
    std::vector<ModuleGroup> groups;
    for (set.first(); !set.eof(); set.next())
        groups.push_back({set.asFloat(QStringLiteral("Stup")), int(set.asInteger(QStringLiteral("Kol_vo")))});
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
        qku = SelectModules(*mode, modules, switched, period.asFloat(QStringLiteral("P")), period.asFloat(QStringLiteral("Q")));
    period.setOptional(QStringLiteral("Qku"), qku);
    return switched;
}

void storeSwitched(TTable &switchedTable, const SwitchedList &switched)
{
    for (const SwitchedModules &m : switched) {
        switchedTable.append();
        switchedTable.setValue(QStringLiteral("Stup"), m.power);
        switchedTable.setValue(QStringLiteral("Kol_vo"), m.count);
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
        for (const char *f : {"T1", "T2", "P", "Q"})
            compensated.setValue(QLatin1String(f), periods.value(QLatin1String(f)));
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
