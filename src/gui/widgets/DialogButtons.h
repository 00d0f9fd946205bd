#pragma once

#include <QString>

class QDialog;
class QHBoxLayout;
class QPushButton;

namespace korvan {

// The closing row of a dialog: its OK button (made by the dialog, which may need it later),
// "Отмена" and the help button that opens the dialog's help topic.
QHBoxLayout *dialogButtonRow(QDialog *dialog, QPushButton *ok, const QString &helpCaption, int helpContext);

} // namespace korvan
