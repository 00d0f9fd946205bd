#include "TotalsBatch.h"

#include "TTable.h"

namespace korvan {

QList<const TTable *> TotalsBatch::s_masters;

TotalsBatch::TotalsBatch(TTable &master) : m_master(master) { s_masters.append(&master); }

TotalsBatch::~TotalsBatch()
{
    s_masters.removeOne(&m_master);
    if (!m_done)
        m_master.cancel();
}

void TotalsBatch::commit()
{
    s_masters.removeOne(&m_master);
    m_done = true;
    if (m_master.editing())
        m_master.post();
}

bool TotalsBatch::active(const TTable &master) { return s_masters.contains(&master); }

} // namespace korvan
