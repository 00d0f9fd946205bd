#pragma once

#include "gui/widgets/CursorModel.h"

namespace korvan {

class TDataModule1;

// The lifecycle columns "ЧДД, грн", "ВНД, %", "Срок диск., лет" of the variant grid and of the
// analysis grid, computed from each row with the current project's economic parameters. A
// discounted payback beyond the service life is shown in red.
QVector<CursorModel::Column> variantEconomicsColumns(TDataModule1 &data, const QColor &background);
QVector<CursorModel::Column> analysisEconomicsColumns(TDataModule1 &data, const QColor &background = {});

} // namespace korvan
