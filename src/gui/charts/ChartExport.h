#pragma once

#include "core/charts/ChartItems.h"

#include <functional>

class QWidget;

namespace korvan {

class ChartCheckList;
class ChartView;
class TDataModule1;
class WordApplication;

// Where a chart export goes: the file the user names in a save dialog (suggested: beside the
// reports, named after the project); empty when the user gave up. Tests install their own answer.
using ChartFileChooser = std::function<QString(QWidget *parent, const QString &suggested)>;
// Installs a chooser; an empty one restores the save dialog.
void setChartFileChooser(ChartFileChooser chooser);

// The export of a viewer into a document of its own, never into an earlier report: its chart as a
// picture, then the legend of the checked items of its two parameter lists (hints in legend form)
// and the checked lines of its variant list. The picture goes through a temporary folder of its
// own, so nothing of the user's is overwritten. Runs as a guarded command: a failure is shown to
// the user; the saved file is announced (announceSaved). Returns the file, empty when none.
QString exportViewer(QWidget *parent, TDataModule1 &data, const WordApplication &reports, ChartView &chart,
                     const ChartCheckList &list1, const QList<ChartItem> &items1, const ChartCheckList &list2,
                     const QList<ChartItem> &items2, const ChartCheckList &variants);

} // namespace korvan
