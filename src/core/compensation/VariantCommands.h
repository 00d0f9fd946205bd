#pragma once

#include "core/calc/ModuleSwitching.h"
#include "core/InputProblem.h"

#include <QString>
#include <optional>

namespace korvan {

class TDataModule1;

// The selection mode and the three cos(f) fields as typed; only the fields the mode uses count.
struct ModeInput {
    int mode = FullCompensation;
    QString cosfMin = QStringLiteral("0,92");
    QString cosfMax = QStringLiteral("0,98");
    QString cosfTr = QStringLiteral("0,97");

    static bool usesMin(int mode) { return mode == CosNotBelow || mode == CosInRange; }
    static bool usesMax(int mode) { return mode == CosNotAbove || mode == CosInRange; }
    static bool usesTr(int mode) { return mode == CosNearest; }

    // The mode with the numbers of its fields; the others are left empty.
    ModeSettings settings() const;
};

// The variant fields of the installation selection dialog.
struct VariantParams {
    enum Field { VarNum, Kp, CosfMin, CosfMax, CosfTr };
    QString varNum;
    QString kp = QStringLiteral("0,12");
    ModeInput mode;
};

// The cos(f) checks of both mode dialogs: positive numbers, at most 1, minimum not above maximum.
std::optional<InputProblem> checkModeInput(const ModeInput &input);
// The loss coefficient and then the cos(f) checks (also run before every evaluation of a candidate).
std::optional<InputProblem> checkSelectionInput(const QString &kp, const ModeInput &input);
// Every closing check of the selection dialog, the variant number's uniqueness in the project last.
// Adding, a variant found with the same number becomes current; editing, the current variant is
// the one being edited and keeps its own number.
std::optional<InputProblem> checkVariantParams(TDataModule1 &data, const VariantParams &params, bool adding);

// Adds a variant of the catalogue's current installation type to the current project and builds
// its compensated periods. The new variant becomes current.
void addVariant(TDataModule1 &data, const VariantParams &params);
// Rebinds the current variant to the catalogue's current type with these parameters and builds it anew.
void editVariant(TDataModule1 &data, const VariantParams &params);
// Deletes the current variant with its periods and modules (the caller asks first).
void deleteVariant(TDataModule1 &data);
// Stores the mode in the current variant (or every variant) and switches the modules of each of
// its compensated periods anew. The current variant and compensated period stay current.
void reselectModules(TDataModule1 &data, const ModeInput &input, bool allVariants);

// The text the dialog proposes as the next variant number.
QString nextVariantNumber(const TDataModule1 &data);

} // namespace korvan
