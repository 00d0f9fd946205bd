#include "core/data/CommandScope.h"
#include "core/data/Fields.h"
#include "core/project/ProjectCommands.h"

#include "core/data/ResonanceTables.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/project/EconomicsCommands.h"

#include <QDateTime>
#include <memory>
#include <vector>

namespace korvan {

namespace {

// Appends a copy of the source's current row, every field from the third on; the key is the
// store's and, in a detail, Kod0 comes from the link to the copied master.
void copyRecord(const TTable &source, TTable &target)
{
    target.append();
    for (int i = 2; i < source.fieldCount(); ++i)
        target.setValue(source.fieldName(i), source.value(i));
    target.post();
}

// The same from a row read beforehand.
void copyRow(const TTable::Row &source, TTable &target)
{
    target.append();
    for (int i = 2; i < source.size(); ++i)
        target.setValue(i, source[i]);
    target.post();
}

} // namespace

qint64 copyProject(TDataModule1 &data, const QString &name, const Progress &progress)
{
    TTable &project = *data.tblProj0;
    if (project.isEmpty())
        throw KorvanError(QStringLiteral("Нет текущего проекта."));
    Store &store = data.store();

    // A second set of cursors, linked like the shared ones and without their hooks: the copy
    // keeps every stored value as it is.
    auto open = [&](const QString &table, TTable *master) {
        auto t = std::make_unique<TTable>(store, table);
        t->setMaster(master);
        t->open();
        return t;
    };
    auto proj0 = open(tbl::project0, nullptr);
    auto proj1 = open(tbl::project1, proj0.get());
    auto proj2 = open(tbl::project2, proj0.get());
    auto proj5 = open(tbl::project5, proj2.get());
    auto proj3 = open(tbl::project3, proj2.get());
    auto proj4 = open(tbl::project4, proj3.get());

    TTable &periods = *data.tblProj1, &variants = *data.tblProj2, &modules = *data.tblProj5;
    TTable &compensated = *data.tblProj3, &switched = *data.tblProj4;
    const qint64 sourceKod = project.currentKod();

    CommandScope command(store, {proj4.get(), proj3.get(), proj5.get(), proj2.get(), proj1.get(), proj0.get()});
    // The shared cursor saw the copy's rows being written: undone, it reads the store again.
    command.afterRollback([&] {
        project.refresh();
        project.locate(fld::Kod, sourceKod);
    });
    copyRecord(project, *proj0);
    const int maximum = periods.recordCount() + variants.recordCount();
    int step = 0;
    if (progress)
        progress(0, maximum);
    for (periods.first(); !periods.eof(); periods.next()) {
        copyRecord(periods, *proj1);
        if (progress)
            progress(++step, maximum);
    }
    // Each copied variant with its type and periods, in the order the copies were keyed: its
    // resonance check is worked out from them, not read back (on a server a read waits for
    // everything the command has sent).
    struct CopiedVariant {
        qint64 kod;
        QVariant type;
        std::vector<ResonancePeriod> periods;
    };
    std::vector<CopiedVariant> copied;
    for (variants.first(); !variants.eof(); variants.next()) {
        copyRecord(variants, *proj2);
        CopiedVariant &variant =
            copied.emplace_back(CopiedVariant{proj2->currentKod(), variants.value(fld::KodKU1), {}});
        for (modules.first(); !modules.eof(); modules.next())
            copyRecord(modules, *proj5);
        // The switched modules of all the variant's periods at once: on a server, reading them
        // period by period cost a round trip each.
        const QHash<qint64, QVector<TTable::Row>> switchedOf = switched.rowsForEachMasterRow();
        for (compensated.first(); !compensated.eof(); compensated.next()) {
            copyRecord(compensated, *proj3);
            variant.periods.push_back({compensated.value(fld::T1).toDouble(), compensated.value(fld::T2).toDouble(),
                                       compensated.value(fld::Qku).toDouble(), compensated.value(fld::Q1).toDouble()});
            for (const TTable::Row &row : switchedOf.value(compensated.currentKod()))
                copyRow(row, *proj4);
        }
        if (progress)
            progress(++step, maximum);
    }
    const QDateTime now = QDateTime::currentDateTime();
    proj0->edit();
    proj0->setValue(fld::Name, name);
    proj0->setValue(fld::ProjDate, now.date());
    proj0->setValue(fld::ProjTime, QTime(now.time().hour(), now.time().minute(), now.time().second()));
    proj0->post();
    const qint64 copyKod = proj0->currentKod();
    copyProjectEconomics(store, sourceKod, copyKod);
    // The supply goes with the project; the copied variants are checked against it.
    resonance_tables::setSupply(store, copyKod, resonance_tables::supply(store, sourceKod));
    for (const CopiedVariant &v : copied)
        resonance_tables::storeVariantValues(store, v.kod,
                                             resonance_tables::computeVariant(store, copyKod, v.type, v.periods));
    command.commit();
    project.refresh();
    project.locate(fld::Kod, copyKod);
    return copyKod;
}

} // namespace korvan
