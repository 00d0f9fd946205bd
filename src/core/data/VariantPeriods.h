#pragma once

#include "core/calc/Compensation.h"
#include "core/calc/ModuleSwitching.h"

#include <QList>
#include <optional>

namespace korvan {

class TDataModule1;
class TTable;

// The selection mode stored with the variant at the cursor; nothing when its Rejim is none of
// the five captions (such a variant switches nothing on).
std::optional<ModeSettings> modeOfVariant(const TTable &variants);

// The module list of a module set (project5.DB rows, or a catalogue type's sKU2.DB rows with
// their own field names).
ModuleList moduleListOf(const TTable &set, const QString &powerField, const QString &countField);
// The module list of the current variant, from its module set.
ModuleList variantModuleList(TDataModule1 &data);

// What a variant's periods are computed with: its installation and its project's tariffs.
struct VariantResultsInput {
    VariantInput variant;
    TariffInput tariff;
};
// That of the variant at the cursor (project2.db) in the project at the other cursor (project0.db).
VariantResultsInput variantResultsInput(const TTable &variants, const TTable &project);

// Writes one compensated period per load period into the variant that is the master of
// `compensated` (whose compensated periods must be empty), each with the modules the mode switches
// on, stored in `switched` (a detail of `compensated`). With `results` each row is written with its
// values too; without, they come from the project's refresh.
void buildPeriods(const QList<LoadPeriod> &graph, TTable &compensated, TTable &switched, const ModuleList &modules,
                  const std::optional<ModeSettings> &mode, const std::optional<VariantResultsInput> &results = {});
// The same for the current variant of the data module, over the current project's load graph.
void buildVariantPeriods(TDataModule1 &data, const std::optional<ModeSettings> &mode);

// Runs the mode on the current compensated period: sets Qku, posts it and stores its switched
// modules anew.
void switchModules(TDataModule1 &data, const ModuleList &modules, const std::optional<ModeSettings> &mode);

} // namespace korvan
