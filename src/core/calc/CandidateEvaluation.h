#pragma once

#include "core/calc/Characteristics.h"
#include "core/calc/ModuleSwitching.h"
#include "core/calc/Resonance.h"

#include <optional>
#include <vector>

namespace korvan {

// A candidate installation evaluated over a project's daily load graph for the analysis table.
// It has arithmetic of its own, close to that of a variant but not the same: the reactive power
// left after compensation is not rounded, the period cos(f) has two decimals, and only the
// payments of the whole day are summed. Pure: plain values in and out.

// What the evaluation reads of the project.
struct CandidateProject {
    std::vector<LoadPeriod> periods; // in table order
    TariffInput tariff;
    double PayWs = 0;                 // $Ws, the stored daily total payment
    double PayWs_m = 0;               // $Ws_m
    double PayWs_g = 0;               // $Ws_g
    std::optional<SupplyData> supply; // for the resonance check of each candidate
};

// What the evaluation reads of the catalogue type, with the dialog's mode and loss coefficient.
struct CandidateSettings {
    ModuleList modules;
    double Pp = 0;
    std::optional<double> Cena;
    double Kp = 0;
    ModeSettings mode;
};

struct CandidateValues {
    double Qku_min = 0, Qku_max = 0;
    double Cosf_sr = 0, Cosf_min = 0, Cosf_max = 0, Tgf_sr = 0;
    double DSWsk = 0, DSWskm = 0, DSWskg = 0;
    std::optional<double> Srok;           // none without a price or with no yearly saving
    std::vector<ResonancePeriod> periods; // switched power and what is left, for the resonance check
};

// Why a candidate has no row: a division the arithmetic cannot make.
struct CandidateFailure {
    enum Kind {
        NoPeriods,        // the project has no load graph
        MissingMode,      // the mode is unknown or lacks a cos(f) value it needs
        ZeroCurrent,      // a period draws no current without compensation
        ZeroPeriodEnergy, // a period has no apparent energy with compensation
        ZeroActiveEnergy, // the day has no active energy with compensation
    } kind = NoPeriods;
    int period = -1; // index of the period concerned, or -1
};

struct CandidateOutcome {
    std::optional<CandidateValues> values;
    CandidateFailure failure; // meaningful when there are no values
};

CandidateOutcome evaluateCandidate(const CandidateProject &project, const CandidateSettings &settings);

// The first period that draws no current without compensation; such a graph gives no candidate a
// defined result, whatever its modules.
std::optional<int> periodWithoutCurrent(const std::vector<LoadPeriod> &periods);

} // namespace korvan
