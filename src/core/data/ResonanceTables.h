#pragma once

#include "core/calc/Resonance.h"

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <QHash>
#include <optional>
#include <vector>

namespace korvan {

class Store;

// The tables of the resonance check, kept beside the program's own tables so that those keep
// their fields: the supply of a project, the detuning of a catalogue type, the check's values
// of every variant and analysis row, and the report settings' switch of its block. Each row is
// keyed by the Kod of the row it belongs to; triggers delete it with that row, whichever code
// deletes it.
namespace resonance_tables {

// Creates the tables and their triggers (a new store, and the migration of an older one).
void create(Store &store);

std::optional<SupplyData> supply(Store &store, qint64 projectKod);
void setSupply(Store &store, qint64 projectKod, const std::optional<SupplyData> &supply);

// The detuning p, %, of a catalogue type; none when not detuned.
std::optional<double> detuning(Store &store, qint64 typeKod);
// Those of every detuned type, by the type's key.
QHash<qint64, double> detunings(Store &store);
void setDetuning(Store &store, qint64 typeKod, std::optional<double> detuning);

// The stored values of the check (Hours_lead 0 and the rest none when nothing is stored).
ResonanceValues variantValues(Store &store, qint64 variantKod);
ResonanceValues candidateValues(Store &store, qint64 rowKod);
void setCandidateValues(Store &store, qint64 rowKod, const ResonanceValues &values);

// The check of a variant worked out now from its stored compensated periods, its type's detuning
// and its project's supply, with the unrounded figures; the type's detuning p is put in *detuning.
ResonanceValues computeVariant(Store &store, qint64 variantKod, std::optional<double> *detuning = nullptr);
// Works out the check of a variant from its stored compensated periods, its type's detuning and
// its project's supply, and stores it.
void refreshVariant(Store &store, qint64 variantKod);
// The same from the variant's periods as given (in key order), its project and its type.
ResonanceValues computeVariant(Store &store, qint64 projectKod, const QVariant &typeKod,
                               const std::vector<ResonancePeriod> &periods, std::optional<double> *detuning = nullptr);
void storeVariantValues(Store &store, qint64 variantKod, const ResonanceValues &values);
// The same for every variant of a project, and for the variants of one catalogue type.
void refreshProject(Store &store, qint64 projectKod);
void refreshVariantsOfType(Store &store, qint64 typeKod);

// The report settings' switch of the resonance block; off when nothing is stored for them.
bool reportFlag(Store &store, qint64 settingsKod);
void setReportFlag(Store &store, qint64 settingsKod, bool on);

// "5, 7, 11, 13"; parsed back by parseHarmonics (commas, semicolons or spaces between).
QString harmonicsText(const std::vector<int> &orders);
std::optional<std::vector<int>> parseHarmonics(const QString &text);

} // namespace resonance_tables
} // namespace korvan
