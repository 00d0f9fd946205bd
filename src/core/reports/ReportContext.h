#pragma once

#include "core/data/ReportFrontTables.h"
#include "core/Progress.h"
#include "core/reports/ReportSettings.h"

#include <functional>

namespace korvan {

class TDataModule1;
class WordApplication;

// The progress bar of a report: reset to 0 with its maximum, one step at a time, never beyond
// the maximum.
class ReportProgress {
public:
    explicit ReportProgress(Progress callback = {}) : m_callback(std::move(callback)) {}
    void reset(int maximum);
    void step();
    // The closing steps: to the maximum, then back to 0.
    void finish();
    int value() const { return m_value; }
    int maximum() const { return m_maximum; }

private:
    void report() const;
    Progress m_callback;
    int m_value = 0;
    int m_maximum = 100;
};

// What every piece of a report works with: the shared cursors (their current records are the
// project, variant and periods reported), the document and the settings of this export.
struct ReportContext {
    TDataModule1 &data;
    WordApplication &word;
    ReportSettings settings;
    ReportProgress progress;
    // The project report (every variant) or the report on the current variant alone.
    bool allVariants = true;
    // What the settings record keeps beside report.DB.
    ReportFront front;
    ReportEngineer engineer;
    // The outline level of the section headings written now: 2 inside an installation of the
    // project report.
    int sectionLevel = 1;

    bool on(ReportFlag flag) const { return settings.on(flag); }
};

} // namespace korvan
