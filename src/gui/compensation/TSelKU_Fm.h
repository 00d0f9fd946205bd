// TSelKU_Fm: the «Выбор конденсаторной установки» dialog with the analysis table.
#pragma once

#include "core/compensation/AnalysisCommands.h"
#include "core/compensation/VariantCommands.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace korvan {

class CommandProgressBar;
class CursorGrid;
class ModePanel;
class NumericEdit;
class TDataModule1;
class TsKUForm;

// "Выбор конденсаторной установки.": the variant number, the loss coefficient and the mode of a
// variant, the installation chosen on the catalogue's shared cursors, and the analysis table of
// candidate installations of the current project. Shown, it takes the mode from the current
// variant; OK runs the closing checks, the duplicate number rule by whether it adds or edits.
class TSelKU_Fm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 12;

    // The command buttons of the analysis table, in their row.
    enum Command {
        cmdAdd,
        cmdAddAll,
        cmdReplace,
        cmdDelete,
        cmdDeleteAll,
        cmdFindInCatalogue,
        cmdFindInTable,
        cmdOptimum,
        cmdDailyCriteria,
        cmdPeriodCriteria,
        cmdInvalid,
        cmdNotFull,
        cmdDailyValue,
        cmdPeriodValue,
        cmdResonance,
        CommandCount
    };

    TSelKU_Fm(TDataModule1 &data, TsKUForm *catalogue, QWidget *parent = nullptr);

    // Primes the variant fields and whether OK adds a variant or edits the current one.
    void setVariantFields(const QString &varNum, const QString &kp);
    void setAdding(bool adding) { m_adding = adding; }
    bool adding() const { return m_adding; }
    VariantParams params() const;
    SelectionInput selectionInput() const;

    ModePanel *modePanel() const { return m_mode; }
    QToolButton *commandButton(Command c) const { return m_commands[c]; }
    // "Добавить все установки справочника" and "Оптимум по ЧДД", beside "Добавить все" and "Оптимум".
    QToolButton *addCatalogueButton() const { return m_addCatalogue; }
    QToolButton *optimumNpvButton() const { return m_optimumNpv; }
    QPushButton *okButton() const { return m_ok; }
    CommandProgressBar *progressBar() const { return m_progress; }

public slots:
    void accept() override;
    void btnSprClick();
    void runCommand(int command);
    void btnAddCatalogueClick();
    void btnOptimumNpvClick();
    void UpdateSelectionButtons();
    void UpdateDiapQku();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildVariantFields();
    QWidget *buildCatalogue();
    QWidget *buildAnalysis();
    QWidget *fieldOf(int which) const;
    // The loss coefficient and the cos(f) fields; on failure the message and the focus.
    bool checkInput();
    void runLong(const std::function<void(const Progress &)> &command);
    // The catalogue shows the type of the analysis row the user chose (a click, the keys,
    // «Оптимум»): OK then makes the variant of that type.
    void followCandidate();

    TDataModule1 &m_data;
    TsKUForm *m_catalogue;
    bool m_adding = true;
    NumericEdit *m_var = nullptr;
    NumericEdit *m_kp = nullptr;
    ModePanel *m_mode = nullptr;
    QLineEdit *m_qmin = nullptr, *m_qmax = nullptr, *m_diapQku = nullptr;
    QComboBox *m_sort = nullptr, *m_comparison = nullptr;
    NumericEdit *m_cosf = nullptr;
    CommandProgressBar *m_progress = nullptr;
    QToolButton *m_commands[CommandCount] = {};
    QToolButton *m_addCatalogue = nullptr, *m_optimumNpv = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace korvan
