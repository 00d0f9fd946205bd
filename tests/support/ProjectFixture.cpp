#include "ProjectFixture.h"

#include "core/graphs/GraphCommands.h"
#include "core/project/ProjectCommands.h"

namespace korvan::test {

QList<LoadPeriod> examplePeriods() { return {{0, 8, 100, 80}, {8, 24, 50, 30}}; }

void createExampleProject(TDataModule1 &data, const QString &name)
{
    ProjectParams p = newProjectParams(data);
    p.name = name;
    createProject(data, p);
    replaceProjectGraph(data, examplePeriods());
}

qint64 addCatalogueType(TDataModule1 &data, const QString &company, const QString &name, double q, double pp,
                        const QVariant &price, const QList<QPair<double, int>> &modules)
{
    appendRow(*data.tblsKU0, {{"Company", company}});
    const qint64 kod = appendRow(*data.tblsKU1, {{"Name", name}, {"Q", q}, {"Pp", pp}, {"Unom", 400}, {"Cena", price}});
    for (const auto &[power, count] : modules)
        appendRow(*data.tblsKU2, {{"Qstup", power}, {"Kol_vo", count}});
    return kod;
}

int rowsIn(Store &store, const QString &table)
{
    TTable t(store, table);
    t.open();
    return t.recordCount();
}

} // namespace korvan::test
