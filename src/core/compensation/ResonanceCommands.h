#pragma once

#include "core/calc/Resonance.h"
#include "core/InputProblem.h"
#include "core/Progress.h"

#include <QString>
#include <optional>

namespace korvan {

class TDataModule1;

// The four values of the supply dialog, as typed. An empty Ssc_net is an infinitely strong network.
struct SupplyInput {
    enum Field { Str, Uk, SscNet, Harmonics };
    QString str;
    QString uk;
    QString sscNet;
    QString harmonics = QStringLiteral("5, 7, 11, 13");
};

// The dialog's checks in field order; the first that fails, naming its field.
std::optional<InputProblem> checkSupplyInput(const SupplyInput &input);
// The checked input as numbers (call after checkSupplyInput passed).
SupplyData supplyData(const SupplyInput &input);
// The current project's supply as the dialog shows it; the defaults when it has none.
SupplyInput currentSupplyInput(TDataModule1 &data);
bool currentProjectHasSupply(TDataModule1 &data);

// Sets or clears the current project's supply and checks its variants anew; one transaction,
// nothing written when the input is refused (InputError).
void setSupply(TDataModule1 &data, const SupplyInput &input);
void clearSupply(TDataModule1 &data);

// The detuning p, % of a catalogue type as typed: empty or 0 for a type without reactors,
// otherwise a number above 0 and below 100.
std::optional<InputProblem> checkDetuningText(const QString &text);
// Sets a catalogue type's detuning (the current one's) and checks the variants of that type anew.
void setTypeDetuning(TDataModule1 &data, qint64 typeKod, const QString &text);
void setCurrentTypeDetuning(TDataModule1 &data, const QString &text);
QString currentTypeDetuningText(TDataModule1 &data);

// The analysis filter "Удалить установки с риском резонанса": rows whose check found a harmonic
// at risk. Returns the number of rows deleted.
int dropResonanceRisk(TDataModule1 &data, const Progress &progress = {});

// "5, 7" or "нет"; empty when the check was not made (no supply data).
QString resonanceText(const std::optional<std::vector<int>> &orders);

} // namespace korvan
