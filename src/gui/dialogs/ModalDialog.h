#pragma once

#include <functional>

class QDialog;

namespace korvan {

// Shows a dialog modally without a nested event loop: the caller goes on at once and `done`
// runs with the dialog's result when it closes. Tests drive such a dialog through its widgets.
void openModal(QDialog *dialog, std::function<void(int result)> done);

} // namespace korvan
