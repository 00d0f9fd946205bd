#pragma once

#include "core/calc/CandidateEvaluation.h"
#include "core/Messages.h"

#include <QHash>

namespace korvan {

class TDataModule1;

// The current project as the evaluation of candidates reads it: its load graph in table order,
// tariffs, day counts and stored total payments. Read once per command.
CandidateProject candidateProject(const TDataModule1 &data);

// The evaluation of a candidate has no defined result; nothing was written.
class UndefinedCandidate : public KorvanError {
public:
    using KorvanError::KorvanError;
};

// Why a candidate has no row, as the user reads it.
QString candidateFailureText(const CandidateFailure &failure, const CandidateProject &project, const QString &typeName);

enum class CandidateWrite { Append, Replace };

// What a candidate's row reads of its catalogue type besides the type's own row.
struct CandidateType {
    ModuleList modules;
    std::optional<double> detuning;
};
// That of every type of the catalogue's current company, by the type's key, read at once.
QHash<qint64, CandidateType> companyCandidateTypes(const TDataModule1 &data);

// Evaluates the catalogue's current installation type over the project with the mode and the
// loss coefficient, and appends a row of the analysis table for the current project or
// overwrites the table's current row. The mode's cos(f) values are stored with the row; those
// the mode does not use are null. Throws UndefinedCandidate, writing nothing, when the
// arithmetic has no defined result. The type's modules and detuning are read unless given.
void EvaluateCandidate(TDataModule1 &data, const CandidateProject &project, double Kp, const ModeSettings &mode,
                       CandidateWrite write, const CandidateType *given = nullptr);

} // namespace korvan
