// TEconomForm: the «Экономические параметры» dialog.
#pragma once

#include "core/project/EconomicsCommands.h"

#include <QDialog>

namespace korvan {

class NumericEdit;

// "Экономические параметры": the discount rate, the service life, the yearly upkeep and the
// installation cost of the current project. OK checks the four values in their order; the first
// that fails shows its message, puts the focus into its field and keeps the dialog open.
class TEconomForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 30;

    explicit TEconomForm(QWidget *parent = nullptr);

    void setInput(const EconomicInput &input);
    EconomicInput input() const;
    QWidget *fieldWidget(int field) const;

public slots:
    void accept() override;

private:
    NumericEdit *m_rate, *m_life, *m_maint, *m_mont;
};

} // namespace korvan
