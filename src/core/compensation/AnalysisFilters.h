#pragma once

#include "core/calc/AnalysisRules.h"
#include "core/InputProblem.h"
#include "core/Progress.h"

#include <QString>
#include <optional>

namespace korvan {

class TDataModule1;

// The six filters of the analysis table. Each walks the current project's rows in the current
// order, deletes the rows it condemns in one transaction and returns how many it deleted.

// Rows that fail their own stored mode's limits on the daily cos(f) / on the period cos(f).
int dropByDailyCriteria(TDataModule1 &data, const Progress &progress = {});
int dropByPeriodCriteria(TDataModule1 &data, const Progress &progress = {});
// Rows that switch nothing on in any period (Qku_min and Qku_max both 0).
int dropInvalidCandidates(TDataModule1 &data, const Progress &progress = {});
// Rows that never run at full power (Qku_max below Qk).
int dropNotFullPower(TDataModule1 &data, const Progress &progress = {});

// The value filters' field EditCosf, for the focus of its messages.
inline constexpr int EditCosfField = 5;
// The check of EditCosf: a positive number not above 1.
std::optional<InputProblem> checkFilterCosf(const QString &text);
// Rows whose daily cos(f) compares with the value; rows whose smallest or largest period cos(f)
// does. Throw InputError, deleting nothing, when the value fails its check.
int dropByDailyValue(TDataModule1 &data, Comparison op, const QString &cosf, const Progress &progress = {});
int dropByPeriodValue(TDataModule1 &data, Comparison op, const QString &cosf, const Progress &progress = {});

} // namespace korvan
