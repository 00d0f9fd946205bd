#include "core/data/TotalsBatch.h"

#include "core/data/CommandScope.h"
#include "core/data/TTable.h"

namespace korvan {

QList<TotalsBatch *> TotalsBatch::s_active;

TotalsBatch::TotalsBatch(TTable &master) : m_master(master) { s_active.append(this); }

TotalsBatch::~TotalsBatch() { s_active.removeOne(this); }

void TotalsBatch::commit()
{
    s_active.removeOne(this);
    if (!m_totals)
        return;
    EditBuffers master{&m_master};
    m_totals(*m_periods);
    master.release();
}

bool TotalsBatch::defer(const TTable &master, TTable &periods, Totals totals)
{
    for (TotalsBatch *b : std::as_const(s_active))
        if (&b->m_master == &master) {
            b->m_periods = &periods;
            b->m_totals = totals;
            return true;
        }
    return false;
}

} // namespace korvan
