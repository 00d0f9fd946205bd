// Lib: the shared routines of numeric fields, step buttons and hints.
#include "gui/ui/Lib.h"

#include "core/calc/Numbers.h"
#include "core/data/TTable.h"
#include "core/hints/Hints.h"
#include "core/Messages.h"
#include "core/NumericChecks.h"
#include "gui/dialogs/ModalDialog.h"
#include "gui/ui/CommandGuard.h"
#include "gui/ui/HintUnit.h"
#include "gui/ui/InputProblemBox.h"
#include "gui/widgets/CursorGrid.h"
#include "gui/widgets/StepButton.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>

namespace korvan {

namespace {

// Keys that type no character of their own: the field handles them (or the dialog does).
bool isEditingKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return true;
    default:
        return event->text().isEmpty();
    }
}

bool filterKey(const QKeyEvent *event, bool decimal)
{
    if (isEditingKey(event))
        return true;
    // Select all, copy, paste, cut and undo work as in any text field; a pasted text that is not
    // a number is caught by the field's check.
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return true;
    const QString text = event->text();
    const QChar c = text.size() == 1 ? text[0] : QChar();
    if ((c >= u'0' && c <= u'9') || (decimal && c == u','))
        return true;
    QApplication::beep();
    return false;
}

void focusField(QWidget *field)
{
    if (field->isEnabled() && field->focusPolicy() != Qt::NoFocus)
        field->setFocus(Qt::OtherFocusReason);
}

void conversionError(const QString &text) { Messages::error(QStringLiteral("\"%1\" не является числом.").arg(text)); }

bool check(QWidget *field, const std::optional<QString> &problem, bool report)
{
    if (!problem)
        return true;
    if (report) {
        Messages::error(*problem);
        focusField(field);
    }
    return false;
}

} // namespace

bool FilterDecimalKey(const QKeyEvent *event) { return filterKey(event, true); }
bool FilterWholeKey(const QKeyEvent *event) { return filterKey(event, false); }

bool isNumericField(const QWidget *field)
{
    if (qobject_cast<const QLineEdit *>(field))
        return true;
    const auto *combo = qobject_cast<const QComboBox *>(field);
    return combo && combo->isEditable();
}

QString fieldText(const QWidget *field)
{
    if (const auto *edit = qobject_cast<const QLineEdit *>(field))
        return edit->text();
    if (const auto *combo = qobject_cast<const QComboBox *>(field))
        return combo->currentText();
    return {};
}

void setFieldText(QWidget *field, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(field))
        edit->setText(text);
    else if (auto *combo = qobject_cast<QComboBox *>(field))
        combo->setEditText(text);
}

QString stepHint(double step) { return QStringLiteral("Изменение значения параметра на ") + numberText(step); }

bool readNumber(const QWidget *field, double &value)
{
    const QString text = fieldText(field);
    const auto v = parseNumber(text);
    if (!v) {
        conversionError(text);
        return false;
    }
    value = *v;
    return true;
}

void CheckNumberOnExit(QWidget *field)
{
    if (!isNumericField(field))
        return;
    if (!parseNumber(fieldText(field))) {
        refuseAt(field, QStringLiteral("Ошибочное значение для числового параметра."));
    }
}

bool CheckNumber(QWidget *field, const QString &description, bool report)
{
    if (!isNumericField(field))
        return false;
    return check(field, numberProblem(fieldText(field), description), report);
}

bool CheckPositiveNumber(QWidget *field, const QString &description, bool report)
{
    if (!isNumericField(field))
        return false;
    return check(field, positiveNumberProblem(fieldText(field), description), report);
}

void StepUp(StepButton *button, double step)
{
    QWidget *target = button->target();
    if (fieldText(target).isEmpty()) {
        setFieldText(target, numberText(step));
        return;
    }
    double v = 0;
    if (readNumber(target, v))
        setFieldText(target, numberText(v + step));
}

void StepDown(StepButton *button, double step)
{
    QWidget *target = button->target();
    if (fieldText(target).isEmpty()) {
        setFieldText(target, numberText(step));
        return;
    }
    double v = 0;
    if (!readNumber(target, v))
        return;
    if (v == 0)
        setFieldText(target, numberText(step));
    else if (v > step)
        setFieldText(target, numberText(v - step));
    // Otherwise the value is the last one above the step, or below zero: it stays.
}

void StepFieldUp(TTable &table, const QString &field, double step)
{
    if (!table.editing())
        table.edit();
    if (table.isNull(field)) {
        table.setValue(field, 0.0);
        return;
    }
    table.setValue(field, R(table.asFloat(field) + step, 2));
}

void StepFieldDown(TTable &table, const QString &field, double step)
{
    if (!table.editing())
        table.edit();
    if (table.isNull(field)) {
        table.setValue(field, 0.0);
        return;
    }
    const double v = R(table.asFloat(field), 2), s = R(step, 2);
    if (s < v)
        table.setValue(field, v - s);
}

// ---- field hints -----------------------------------------------------------------------------

HintKey GetHintKey(const QWidget *control)
{
    if (const auto *grid = qobject_cast<const CursorGrid *>(control))
        return {grid->table()->tableName(), grid->currentField()};
    if (!control)
        return {};
    const QString table = control->property("hintTable").toString();
    if (const auto *grid = qobject_cast<const QTableWidget *>(control)) {
        const QStringList fields = control->property("hintFields").toStringList();
        return {table, fields.value(grid->currentColumn())};
    }
    return {table, control->property("hintField").toString()};
}

QString GetGridHintAt(const TDataModule1 &data, const QWidget *grid, int x, int y)
{
    const auto *view = qobject_cast<const QAbstractItemView *>(grid);
    if (!view)
        return {};
    const bool current = x == -1 && y == -1;
    HintKey key;
    if (const auto *dataGrid = qobject_cast<const CursorGrid *>(grid)) {
        if (current) {
            key = GetHintKey(grid);
        } else {
            // The row indicator and the column titles lie outside the viewport.
            const QPoint at = view->viewport()->mapFrom(grid, QPoint(x, y));
            if (!view->viewport()->rect().contains(at))
                return {};
            key = {dataGrid->table()->tableName(), dataGrid->fieldAt(at)};
        }
    } else if (!current) {
        const QPoint at = view->viewport()->mapFrom(grid, QPoint(x, y));
        const QModelIndex index = view->indexAt(at);
        if (!index.isValid() || !view->viewport()->rect().contains(at))
            return {};
        key = {grid->property("hintTable").toString(),
               grid->property("hintFields").toStringList().value(index.column())};
    }
    return key.isEmpty() ? QString() : LookUpHint(data, key.table, key.field);
}

void EditHint(TDataModule1 &data, THintForm &form, QWidget *control)
{
    const HintKey key = GetHintKey(control);
    if (key.isEmpty())
        return;
    const std::optional<QString> existing = FindHint(data, key);
    form.prime(existing ? QStringLiteral("Редактирование подсказки.") : QStringLiteral("Ввод подсказки."),
               existing.value_or(QString()));
    openModal(&form, [&data, &form, key](int result) {
        if (result == QDialog::Accepted)
            runGuarded([&] { EditHint(data, key, form.hintText()); });
    });
}

void RemoveHint(TDataModule1 &data, QWidget *control)
{
    bool removed = false;
    if (!runGuarded([&] { removed = RemoveHint(data, GetHintKey(control)); }))
        return;
    if (!removed)
        Messages::information(QStringLiteral("Подсказка не подключена."));
}

} // namespace korvan
