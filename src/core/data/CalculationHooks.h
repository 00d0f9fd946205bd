#pragma once

namespace korvan {

class TDataModule1;
class TTable;

// Binds the characteristics to the store: posting a load period computes it and then the
// project's totals; posting a compensated period computes it and then the variant's totals,
// savings and payback.
void installCalculationHooks(TDataModule1 &data);

// The same reads and writes, for cursors other than the shared ones (hooks read the masters of
// the cursor being posted).
void calcLoadPeriod(TTable &periods);
void calcProjectTotals(TTable &periods);
void calcCompensatedPeriod(TTable &periods);
void calcVariantTotals(TTable &periods);

} // namespace korvan
