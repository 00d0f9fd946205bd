#pragma once

namespace korvan {

// F1 in a dialog opens that dialog's help page, as its help button («btnHelp») does.
void installDialogHelpKey();

} // namespace korvan
