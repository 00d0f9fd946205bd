#pragma once

#include "core/Progress.h"

#include <QString>

#include <functional>

namespace korvan {

class TDataModule1;
class WordApplication;
struct ReportContext;

// What the window shows while a report runs: the progress bar ("Процесс:") and the busy cursor,
// switched on at the start and off however the report ends.
struct ReportFeedback {
    Progress progress;
    std::function<void(bool busy)> busy;
};

// The report of the current project to a Word document, with the sections the current report.DB
// record switches on. allVariants: the project report with every compensation variant; otherwise
// the variant report of the current variant. Only reads the tables; the current variant is the
// same afterwards, the load periods and compensated periods stand on their last records.
// However it ends, the document is released (saved and opened, DisconnectWord) with what was
// written; a failure then raises its KorvanError.
void ExportProjectReport(TDataModule1 &data, WordApplication &word, bool allVariants,
                         const ReportFeedback &feedback = {});

// The characteristic of the current variant's installation (its type, power, modules, losses,
// price and selection mode), then its compensated load periods with what the settings add to them.
void WriteInstallationCharacteristic(ReportContext &report, bool variantLine);

// The text of the selection mode line: the mode and its cos(f) limits, e.g.
// "cos(f) в заданном диапазоне значений (минимально допустимый cos(f) = 0,92;  максимально ...)".
QString selectionModeText(const QString &rejim, const QString &cosfMin, const QString &cosfMax, const QString &cosfTr);

} // namespace korvan
