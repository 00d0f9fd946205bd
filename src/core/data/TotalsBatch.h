#pragma once

#include <QList>

namespace korvan {

class TTable;

// While a command writes many periods of one project or variant, the posts leave the master's
// totals alone; the guard computes them once, from the rows the command leaves, and posts the
// master. The totals are those of the command's result, never of a state half written (the
// payback in particular: it is kept from before the command when the final saving gives none),
// and a command costs one walk over the periods instead of one per period.
class TotalsBatch {
public:
    using Totals = void (*)(TTable &periods);

    explicit TotalsBatch(TTable &master);
    ~TotalsBatch();
    TotalsBatch(const TotalsBatch &) = delete;
    TotalsBatch &operator=(const TotalsBatch &) = delete;

    // Computes and posts the totals if a period was posted; without it they are left undone.
    void commit();

    // Called by the after-post hook of a detail: true when a batch on the detail's master takes
    // the totals over, to compute them with `totals` over `periods` at its commit.
    static bool defer(const TTable &master, TTable &periods, Totals totals);

private:
    TTable &m_master;
    TTable *m_periods = nullptr;
    Totals m_totals = nullptr;
    static QList<TotalsBatch *> s_active;
};

} // namespace korvan
