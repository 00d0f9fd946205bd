#pragma once

#include "core/compensation/VariantCommands.h"

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QLabel;

namespace korvan {

class NumericEdit;
class StepButton;
class TTable;

// The mode group " Режим подбора модулей КУ " and the three cos(f) fields of both mode dialogs.
// A field and its label are enabled exactly for the modes that use it; a disabled field keeps
// its text. Each field has step buttons by 0,1 and 0,01 that act only while it is enabled and
// never step above 1.
class ModePanel : public QWidget {
    Q_OBJECT
public:
    explicit ModePanel(QWidget *parent = nullptr);

    int mode() const;
    void setMode(int mode);
    ModeInput input() const;
    // The mode and cos(f) texts of a variant row; mode 0 and the defaults where it has none.
    void takeFromVariant(const TTable &variants);

    // The field of a problem (VariantParams::CosfMin, CosfMax, CosfTr), or nullptr.
    NumericEdit *field(int which) const;
    QGroupBox *modeGroup() const { return m_group; }

signals:
    void modeChanged(int mode);
    // The text of one of the cos(f) fields changed.
    void cosfTextChanged();

private:
    void enableFields();

    QGroupBox *m_group;
    QButtonGroup *m_buttons;
    NumericEdit *m_min, *m_max, *m_tr;
    QLabel *m_minLabel, *m_maxLabel, *m_trLabel;
    QList<StepButton *> m_steps;
};

} // namespace korvan
