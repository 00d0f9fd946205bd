// TSupplyForm: the «Питание и гармоники» dialog.
#pragma once

#include "core/compensation/ResonanceCommands.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace korvan {

class NumericEdit;

// "Питание и гармоники": the supply transformer and network of the project and the harmonic
// orders its load draws, for the resonance check of its installations. OK runs the checks in
// field order (the first that fails shows its message and takes the focus); "Очистить" asks for
// the project to go without supply data.
class TSupplyForm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 27;
    // What the dialog was closed with, besides Rejected.
    enum Result { Set = QDialog::Accepted, Clear = 2 };

    explicit TSupplyForm(QWidget *parent = nullptr);

    void setInput(const SupplyInput &input, bool hasSupply);
    SupplyInput input() const;
    QWidget *fieldWidget(int field) const;

public slots:
    void accept() override;

private:
    NumericEdit *m_str;
    NumericEdit *m_uk;
    NumericEdit *m_sscNet;
    QLineEdit *m_harmonics;
    QPushButton *m_clear;
};

} // namespace korvan
