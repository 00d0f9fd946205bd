// TProjForm: the «Параметры проекта» dialog.
#pragma once

#include "core/project/ProjectCommands.h"

#include <QDialog>

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;

namespace korvan {

class NumericEdit;
class StepButton;

// "Параметры проекта.": the nine parameters of a project, for creating and for editing one.
// OK runs the acceptance checks in their order; the first that fails shows its message, puts the
// focus into its field and keeps the dialog open.
class TProjForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 2;

    explicit TProjForm(QWidget *parent = nullptr);

    void setParams(const ProjectParams &params);
    ProjectParams params() const;
    // The widget of a parameter (ProjectParams::Field).
    QWidget *fieldWidget(int field) const;

public slots:
    void accept() override;

private:
    StepButton *addStep(NumericEdit *target, double step, const char *name);

    QLineEdit *m_name;
    QLineEdit *m_owner;
    QDateEdit *m_date;
    QTimeEdit *m_time;
    QPlainTextEdit *m_memo;
    NumericEdit *m_month;
    NumericEdit *m_year;
    NumericEdit *m_tarifA;
    NumericEdit *m_tarifQ;
};

} // namespace korvan
