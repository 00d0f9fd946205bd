#pragma once

#include "core/compensation/VariantCommands.h"
#include "core/InputProblem.h"
#include "core/Progress.h"

#include <QList>
#include <QString>
#include <optional>

namespace korvan {

class TDataModule1;

// The commands on the analysis table of the installation selection dialog. The table's shared
// cursor shows the current project's rows only; every command makes sure of that first, so none
// can touch another project's rows. Commands that write run in one transaction and throw
// InputError or KorvanError, writing nothing then.

// Restricts the analysis table to the current project's rows and goes to its first row.
void restrictAnalysisToProject(TDataModule1 &data);

// The dialog's fields that the evaluation reads: the loss coefficient and the mode as typed.
struct SelectionInput {
    QString kp = QStringLiteral("0,12");
    ModeInput mode;
};

// Adds a row for the catalogue's current type.
void addCandidate(TDataModule1 &data, const SelectionInput &input);
// Adds a row for every type of the catalogue's current company, from the first to the last,
// leaving the catalogue on the last. A type whose evaluation has no defined result gets no row;
// the others are added and a warning names the ones left out. Returns the number of rows added.
int addCompanyCandidates(TDataModule1 &data, const SelectionInput &input, const Progress &progress = {});
// The same for every type of every company of the catalogue, with one progress and one warning.
int addCatalogueCandidates(TDataModule1 &data, const SelectionInput &input, const Progress &progress = {});
// Overwrites the table's current row with the evaluation of the catalogue's current type.
void replaceCandidate(TDataModule1 &data, const SelectionInput &input);
// Deletes the current row; deletes every row of the project.
void deleteCandidate(TDataModule1 &data);
void deleteAllCandidates(TDataModule1 &data, const Progress &progress = {});

// The message of the two find commands.
QString candidateNotFoundMessage();
// Moves the catalogue to the company and type of the table's current row; the table to the first
// row of the catalogue's current company and type. Each shows the message above and returns
// false when the search fails, leaving the cursors where it left them.
bool findCandidateInCatalogue(TDataModule1 &data);
bool findCandidateInTable(TDataModule1 &data);

// The sort orders of the table: the combo box's captions and their index names, siSrok last.
struct AnalysisSortOrder {
    QString caption;
    QString indexName;
};
const QList<AnalysisSortOrder> &analysisSortOrders();
// Sorts the table by one of those indexes, staying on the current row.
void sortAnalysis(TDataModule1 &data, const QString &indexName);

// Goes to the optimal row for the dialog's mode (not the rows' own) in the current order and
// returns its Kod; nothing for an empty table. A cos(f) field the mode needs that holds no
// number is refused with its message.
std::optional<qint64> gotoOptimum(TDataModule1 &data, const ModeInput &mode);

// The recommended range of installation power for the mode, as shown in EditDiapQku. Empty while
// a cos(f) field the mode uses does not hold a number in (0, 1].
QString recommendedRangeText(const TDataModule1 &data, const ModeInput &mode);

// Which of the dialog's buttons are enabled, from the catalogue's current company and type, the
// table and the texts of the fields.
struct AnalysisButtons {
    bool add = false, addAll = false, replace = false, addCatalogue = false;
    bool remove = false, removeAll = false, findInCatalogue = false, optimum = false;
    bool criteriaFilters = false, parameterFilters = false;
    bool findInTable = false, valueFilters = false;
    bool ok = false;
};
AnalysisButtons analysisButtons(const TDataModule1 &data, const SelectionInput &input, const QString &cosf);

} // namespace korvan
