#pragma once

#include <QList>

namespace korvan {

class TTable;

// While a command writes many periods of one project or variant, each post computes the totals
// as always but leaves them in the master's edit buffer; the guard posts the master once at the
// end. Every intermediate total is still computed in order (the payback keeps its last defined
// value), so the stored result is the same as posting the master after every period.
class TotalsBatch {
public:
    explicit TotalsBatch(TTable &master);
    ~TotalsBatch();
    TotalsBatch(const TotalsBatch &) = delete;
    TotalsBatch &operator=(const TotalsBatch &) = delete;

    // Posts the master if the periods changed its totals; without it the changes are dropped.
    void commit();

    static bool active(const TTable &master);

private:
    TTable &m_master;
    bool m_done = false;
    static QList<const TTable *> s_masters;
};

} // namespace korvan
