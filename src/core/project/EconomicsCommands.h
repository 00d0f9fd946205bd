#pragma once

#include "core/calc/Economics.h"
#include "core/data/TTable.h"
#include "core/InputProblem.h"

#include <QString>
#include <optional>

namespace korvan {

class Store;
class TDataModule1;

// The lifecycle economics of a project: its parameters and the figures of its variants and of its
// analysis rows. The figures are computed whenever they are read, from the stored price and yearly
// saving and the project's parameters, so they can never fall behind a recalculation, a price or
// a change of the parameters.

// The four values of the parameters dialog, the numbers as typed.
struct EconomicInput {
    enum Field { Rate, Life, Maint, Mont };
    QString rate, life, maint, mont;

    static EconomicInput of(const EconomicParams &params);
};

// The dialog's captions of the four fields.
QString economicFieldCaption(EconomicInput::Field field);

// The checks of the dialog, in field order: a number within its range, the life a whole number.
std::optional<InputProblem> checkEconomicInput(const EconomicInput &input);
// The checked values (call after checkEconomicInput passed).
EconomicParams economicParams(const EconomicInput &input);

// The parameters of a project; the defaults when they were never set.
EconomicParams projectEconomics(Store &store, qint64 projectKod);
// The parameters of the current project.
EconomicParams currentEconomics(const TDataModule1 &data);

// Stores the current project's parameters in one transaction (InputError, nothing written, when a
// value is refused) and has the variant and analysis cursors re-read their rows, so the windows
// show the figures recomputed with them.
void setProjectEconomics(TDataModule1 &data, const EconomicInput &input);
// Gives the copy of a project the parameters of its source (inside the copy's transaction).
void copyProjectEconomics(Store &store, qint64 sourceKod, qint64 copyKod);

// The figures of a variant (a project2.db row: its Cena and D$Ws_g).
EconomicFigures variantEconomics(const TTable &variants, const TTable::Row &row, const EconomicParams &params);
EconomicFigures currentVariantEconomics(const TDataModule1 &data);
// The figures of an analysis row (a sel_ku.DB row: the price of its catalogue type, its DSWskg).
// A type no longer in the catalogue has no price.
EconomicFigures candidateEconomics(Store &store, const TTable &table, const TTable::Row &row,
                                   const EconomicParams &params);

// The analysis table's sort by the net present value, largest first.
inline constexpr const char *NpvSortIndex = "siNPV";
// Makes the analysis cursor know that order (it reads the parameters of the row's own project).
void installNpvOrder(TDataModule1 &data);

// The message of "Оптимум по ЧДД" when no row qualifies.
QString noNpvOptimumMessage();
// Goes to the row with the largest NPV among the current project's rows that the filter on the
// daily cos(f) criteria would keep, the first in the current order on a tie, and returns its Kod;
// nothing when no row qualifies (rows without an NPV never do).
std::optional<qint64> gotoNpvOptimum(TDataModule1 &data);

} // namespace korvan
