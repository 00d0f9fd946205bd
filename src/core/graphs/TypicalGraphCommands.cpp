#include "TypicalGraphCommands.h"

#include "Messages.h"
#include "calc/Numbers.h"
#include "data/Store.h"
#include "data/TDataModule1.h"

#include <algorithm>
#include <cmath>

namespace korvan {

void addProjectGraphToCatalogue(TDataModule1 &data, const QString &industry, const QString &enterprise)
{
    TTable &periods = *data.tblProj1;
    if (periods.isEmpty())
        throw KorvanError(QStringLiteral("У текущего проекта нет суточного графика нагрузки."));
    const int t1 = periods.fieldIndex(QStringLiteral("T1")), t2 = periods.fieldIndex(QStringLiteral("T2"));
    const int p = periods.fieldIndex(QStringLiteral("P")), q = periods.fieldIndex(QStringLiteral("Q"));
    double pmax = 0, qmax = 0;
    for (const TTable::Row &row : periods.rows()) {
        pmax = std::max(pmax, row[p].toDouble());
        qmax = std::max(qmax, row[q].toDouble());
    }
    // Percent of a zero maximum has no value: refuse before anything is written.
    if (pmax == 0)
        throw KorvanError(QStringLiteral("Наибольшая активная мощность суточного графика равна 0: "
                                         "график нельзя выразить в процентах и добавить в справочник."));
    if (qmax == 0)
        throw KorvanError(QStringLiteral("Наибольшая реактивная мощность суточного графика равна 0: "
                                         "график нельзя выразить в процентах и добавить в справочник."));

    TTable &industries = *data.tblSutGr0, &enterprises = *data.tblSutGr1, &graph = *data.tblSutGr2;
    Store::Transaction tx(data.store());
    try {
        if (!industries.locate(QStringLiteral("Otrasl"), industry)) {
            industries.append();
            industries.setValue(QStringLiteral("Otrasl"), industry);
            industries.post();
        }
        enterprises.append();
        enterprises.setValue(QStringLiteral("Name"), enterprise);
        enterprises.post();
        for (const TTable::Row &row : periods.rows()) {
            graph.append();
            graph.setValue(QStringLiteral("T1"), row[t1]);
            graph.setValue(QStringLiteral("T2"), row[t2]);
            graph.setValue(QStringLiteral("P"), std::nearbyint(row[p].toDouble() / pmax * 100));
            graph.setValue(QStringLiteral("Q"), std::nearbyint(row[q].toDouble() / qmax * 100));
            graph.post();
        }
        tx.commit();
    } catch (...) {
        for (TTable *t : {&graph, &enterprises, &industries})
            t->cancel();
        throw;
    }
}

std::optional<QString> typicalGraphEditProblem(const TDataModule1 &data)
{
    if (data.tblSutGr0->editing() || data.tblSutGr1->editing())
        return QStringLiteral("Завершите работу с главной таблицей.");
    if (data.tblSutGr1->isEmpty())
        return QStringLiteral("Выберите предприятие, суточный график которого нужно изменить.");
    return std::nullopt;
}

void replaceTypicalGraph(TDataModule1 &data, const QList<GraphPeriod> &periods)
{
    if (const auto problem = typicalGraphEditProblem(data))
        throw KorvanError(*problem);
    TTable &graph = *data.tblSutGr2;
    Store::Transaction tx(data.store());
    try {
        TDataModule1::deleteAllRows(graph);
        appendPeriods(graph, periods);
        tx.commit();
    } catch (...) {
        graph.cancel();
        throw;
    }
}

} // namespace korvan
