#include "core/graphs/TypicalGraphCommands.h"
#include "core/data/CommandScope.h"
#include "core/data/Fields.h"

#include "core/calc/Numbers.h"
#include "core/data/Records.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/graphs/GraphTable.h"
#include "core/Messages.h"

#include <algorithm>
#include <cmath>

namespace korvan {

void addProjectGraphToCatalogue(TDataModule1 &data, const QString &industry, const QString &enterprise)
{
    TTable &periods = *data.tblProj1;
    if (periods.isEmpty())
        throw KorvanError(QStringLiteral("У текущего проекта нет суточного графика нагрузки."));
    const QList<LoadPeriod> graph = loadPeriodsOf(periods);
    double pmax = 0, qmax = 0;
    for (const LoadPeriod &period : graph) {
        pmax = std::max(pmax, period.P);
        qmax = std::max(qmax, period.Q);
    }
    // Percent of a zero maximum has no value: refuse before anything is written.
    if (pmax == 0)
        throw KorvanError(QStringLiteral("Наибольшая активная мощность суточного графика равна 0: "
                                         "график нельзя выразить в процентах и добавить в справочник."));
    if (qmax == 0)
        throw KorvanError(QStringLiteral("Наибольшая реактивная мощность суточного графика равна 0: "
                                         "график нельзя выразить в процентах и добавить в справочник."));

    TTable &industries = *data.tblSutGr0, &enterprises = *data.tblSutGr1, &typical = *data.tblSutGr2;
    CommandScope command(data.store(), {&typical, &enterprises, &industries});
    if (!industries.locate(fld::Otrasl, industry)) {
        industries.append();
        industries.setValue(fld::Otrasl, industry);
        industries.post();
    }
    enterprises.append();
    enterprises.setValue(fld::Name, enterprise);
    enterprises.post();
    QList<LoadPeriod> percent = graph;
    for (LoadPeriod &period : percent) {
        period.P = std::nearbyint(period.P / pmax * 100);
        period.Q = std::nearbyint(period.Q / qmax * 100);
    }
    appendPeriods(typical, percent);
    command.commit();
}

std::optional<QString> typicalGraphEditProblem(const TDataModule1 &data)
{
    if (data.tblSutGr0->editing() || data.tblSutGr1->editing())
        return QStringLiteral("Завершите работу с главной таблицей.");
    if (data.tblSutGr1->isEmpty())
        return QStringLiteral("Выберите предприятие, суточный график которого нужно изменить.");
    return std::nullopt;
}

void replaceTypicalGraph(TDataModule1 &data, const QList<LoadPeriod> &periods)
{
    if (const auto problem = typicalGraphEditProblem(data))
        throw KorvanError(*problem);
    TTable &graph = *data.tblSutGr2;
    CommandScope command(data.store(), {&graph});
    TDataModule1::deleteAllRows(graph);
    appendPeriods(graph, periods);
    command.commit();
}

} // namespace korvan
