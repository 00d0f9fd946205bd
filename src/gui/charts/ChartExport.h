#pragma once

#include "core/charts/ChartItems.h"

namespace korvan {

class ChartCheckList;
class ChartView;
class TDataModule1;
class WordApplication;

// The export of a viewer: its chart as a picture, then the legend of the checked items of its
// two parameter lists (hints in legend form) and the checked lines of its variant list. The
// picture goes through a temporary folder of its own, so nothing of the user's is overwritten.
// Runs as a guarded command: a failure is shown to the user.
void exportViewer(TDataModule1 &data, WordApplication &word, ChartView &chart, const ChartCheckList &list1,
                  const QList<ChartItem> &items1, const ChartCheckList &list2, const QList<ChartItem> &items2,
                  const ChartCheckList &variants);

} // namespace korvan
