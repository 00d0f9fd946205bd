#include "core/compensation/AnalysisTable.h"
#include "core/data/Fields.h"

#include "core/compensation/AnalysisCommands.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"

namespace korvan {

QString analysisFilterOf(const TDataModule1 &data)
{
    return QStringLiteral("Kod0='%1'").arg(data.tblProj0->currentKod());
}

void ensureAnalysisRestricted(TDataModule1 &data)
{
    const TTable &table = *data.tblSel_KU;
    if (!table.filtered() || table.filter() != analysisFilterOf(data))
        restrictAnalysisToProject(data);
}

StoredCandidate storedCandidate(const TTable &table)
{
    StoredCandidate row;
    row.Rejim = table.asString(fld::Rejim);
    row.Cosf_sr = table.asOptional(fld::Cosf_sr);
    row.Cosf_min = table.asOptional(fld::Cosf_min);
    row.Cosf_max = table.asOptional(fld::Cosf_max);
    row.PCosf_min = table.asOptional(fld::PCosf_min);
    row.PCosf_max = table.asOptional(fld::PCosf_max);
    return row;
}

int dropCandidates(TDataModule1 &data, const std::function<bool(const TTable &)> &condemned, const Progress &progress)
{
    ensureAnalysisRestricted(data);
    TTable &table = *data.tblSel_KU;
    const int count = table.recordCount();
    int seen = 0, dropped = 0;
    Store::Transaction tx(data.store());
    if (progress)
        progress(0, count);
    table.first();
    while (!table.eof()) {
        if (condemned(table)) {
            table.remove();
            ++dropped;
        } else {
            table.next();
        }
        if (progress)
            progress(++seen, count);
    }
    tx.commit();
    return dropped;
}

} // namespace korvan
