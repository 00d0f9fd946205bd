#pragma once

#include <QIcon>
#include <QPixmap>

namespace korvan {

// The program's own pictures, drawn rather than shipped: the toolbar icons and the picture of
// the splash window and the About box.
enum class ToolIcon {
    Create,
    Open,
    Recalc,
    DailyGraphs,
    Diagrams,
    Report,
    AddGraph,
    EditGraph,
    KUAdd,
    KUEdit,
    KUDelete,
    KUSelectOne,
    KUSelectAll,
    KUReport,
    Help
};

QIcon toolIcon(ToolIcon kind);
// A capacitor bank with the power triangle it corrects, at the given size.
QPixmap programPicture(int width, int height);

} // namespace korvan
