// Lib: the shared routines of numeric fields, step buttons and hints.
#pragma once

#include "core/hints/HintCommands.h"

#include <QString>

class QKeyEvent;
class QWidget;

namespace korvan {

class StepButton;
class TDataModule1;
class THintForm;
class TTable;

// The shared routines of the numeric fields. A numeric field is a line edit or an editable
// combo box whose text is the number, written with a decimal comma whatever the machine's locale.

// Key filters: true when the key may reach the field. Digits, backspace and tab pass, the decimal
// filter also lets the comma through; any other character (a point, a minus, the control
// characters of the clipboard shortcuts) is dropped with a beep. Keys that type nothing
// (arrows, Delete, Enter) are not characters and pass.
bool FilterDecimalKey(const QKeyEvent *event);
bool FilterWholeKey(const QKeyEvent *event);

// On leaving a field whose text is not a number: the error and the focus back into the field.
void CheckNumberOnExit(QWidget *field);

// The number checks with their messages built from the field's description in the genitive.
// With report false they only answer. Any other kind of widget fails them.
bool CheckNumber(QWidget *field, const QString &description, bool report);
bool CheckPositiveNumber(QWidget *field, const QString &description, bool report);

// The plain steps on the button's target field: up adds the step (an empty field becomes the
// step); down subtracts it only while the value stays above the step (an empty field or 0
// becomes the step). A text that is not a number is reported and left as it is.
void StepUp(StepButton *button, double step);
void StepDown(StepButton *button, double step);

// The steps on a table field (data-bound fields): the table goes into the edit state; a null
// value becomes 0; up gives R(v + s, 2); down gives R(v, 2) - R(s, 2) while R(s, 2) < R(v, 2).
void StepFieldUp(TTable &table, const QString &field, double step);
void StepFieldDown(TTable &table, const QString &field, double step);

// Helpers of the above, for dialogs that need them.
bool isNumericField(const QWidget *field);
QString fieldText(const QWidget *field);
void setFieldText(QWidget *field, const QString &text);
// "Изменение значения параметра на 0,01".
QString stepHint(double step);
// The value of a field's text; reports the conversion error and answers false when it is none.
bool readNumber(const QWidget *field, double &value);

// Field hints. A control names its key through properties: a data grid by its table and current
// column; a string grid by "hintTable" and "hintFields" (the field of each column); a data-bound
// edit by "hintTable" and "hintField". Any other control has an empty key.
HintKey GetHintKey(const QWidget *control);
// The hint of the column under a point of the grid (its own coordinates): empty over the row
// indicator or outside the cells. (-1, -1) asks for the grid's current column; a string grid
// answers that with an empty text.
QString GetGridHintAt(const TDataModule1 &data, const QWidget *grid, int x, int y);
// "Подключение подсказки...": the hint dialog primed with the control's hint, stored on OK.
void EditHint(TDataModule1 &data, THintForm &form, QWidget *control);
// "Отключение подсказки": the control's hint is removed at once, or the user is told it has none.
void RemoveHint(TDataModule1 &data, QWidget *control);

} // namespace korvan
