// TSelKompF: the «Режим подбора модулей КУ» dialog.
#pragma once

#include "core/compensation/VariantCommands.h"

#include <QDialog>

namespace korvan {

class ModePanel;
class TDataModule1;

// "Режим подбора модулей КУ.": the mode and cos(f) values for switching the modules of the
// current variant or of all variants anew. Shown, it takes them from the current variant.
class TSelKompF : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 4;

    explicit TSelKompF(TDataModule1 &data, QWidget *parent = nullptr);

    ModePanel *modePanel() const { return m_mode; }
    ModeInput input() const;

public slots:
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    TDataModule1 &m_data;
    ModePanel *m_mode;
};

} // namespace korvan
