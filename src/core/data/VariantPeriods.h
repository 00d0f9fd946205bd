#pragma once

#include "core/calc/ModuleSwitching.h"

#include <optional>

namespace korvan {

class TDataModule1;
class TTable;

// The selection mode stored with the variant at the cursor; nothing when its Rejim is none of
// the five captions (such a variant switches nothing on).
std::optional<ModeSettings> modeOfVariant(const TTable &variants);

// The module list of the current variant, from its module set.
ModuleList variantModuleList(TDataModule1 &data);

// Writes one compensated period per load period of the project into the current variant (whose
// compensated periods must be empty), each with the modules the mode switches on.
void buildVariantPeriods(TDataModule1 &data, const std::optional<ModeSettings> &mode);

// Runs the mode on the current compensated period: sets Qku, posts it and stores its switched
// modules anew.
void switchModules(TDataModule1 &data, const ModuleList &modules, const std::optional<ModeSettings> &mode);

} // namespace korvan
