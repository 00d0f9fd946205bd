#pragma once

#include "gui/widgets/CursorModel.h"

namespace korvan {

class Store;
class TDataModule1;

// The resonance check's columns at the end of the variant grid and of the analysis grid:
// "hрез мин", "hрез макс", "Резонанс" (red where a harmonic is at risk), "dU, %", "Ч опер., ч".
enum class ResonanceRows { Variants, Candidates };
QVector<CursorModel::Column> resonanceColumns(Store &store, ResonanceRows rows);

// The catalogue's "p, %" column of the installation types, typed in place.
CursorModel::Column detuningColumn(TDataModule1 &data);

} // namespace korvan
