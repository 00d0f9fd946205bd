#include "core/graphs/GraphTable.h"
#include "core/data/Fields.h"

#include "core/calc/Numbers.h"
#include "core/data/Records.h"
#include "core/data/TTable.h"

namespace korvan {

std::optional<GraphTableProblem> checkGraphTable(const QList<QStringList> &rows, bool percent)
{
    const auto cell = [&](int r, int c) { return c < rows[r].size() ? rows[r][c] : QString(); };
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < rows.size(); ++r)
            if (cell(r, c).isEmpty())
                return GraphTableProblem{r, c, QStringLiteral("Заполнение всех ячеек таблицы обязательно.")};
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < rows.size(); ++r)
            if (!parseNumber(cell(r, c)))
                return GraphTableProblem{r, c, QStringLiteral("Ошибочное значение для числового параметра.")};
    const QList<LoadPeriod> periods = graphPeriods(rows);
    for (int r = 0; r < periods.size(); ++r)
        if (!(periods[r].T2 <= 24))
            return GraphTableProblem{
                r, 1,
                QStringLiteral("Для периода замеров значение поля \"Т2\" должно быть меньше либо равно 24 часам.")};
    for (int r = 0; r < periods.size(); ++r)
        if (!(periods[r].T1 < periods[r].T2))
            return GraphTableProblem{
                r, 0,
                QStringLiteral("Для периода замеров значение поля \"Т1\" должно быть меньше значения поля \"Т2\".")};
    for (int r = 0; r + 1 < periods.size(); ++r)
        if (periods[r].T2 != periods[r + 1].T1)
            return GraphTableProblem{r + 1, 0,
                                     QStringLiteral("Значение поля \"Т2\" предыдущего периода замеров должно равняться "
                                                    "значению поля \"Т1\" последующего периода.")};
    if (percent)
        for (int c = 2; c < 4; ++c)
            for (int r = 0; r < periods.size(); ++r)
                if ((c == 2 ? periods[r].P : periods[r].Q) > 100)
                    return GraphTableProblem{
                        r, c,
                        QStringLiteral("Значения полей \"P, %\" и \"Q, %\" должны быть в пределах от 0 до 100 %.")};
    return std::nullopt;
}

void appendPeriods(TTable &table, const QList<LoadPeriod> &periods)
{
    for (const LoadPeriod &g : periods) {
        table.append();
        setLoadPeriod(table, g);
        table.post();
    }
}

QList<LoadPeriod> graphPeriods(const QList<QStringList> &rows)
{
    QList<LoadPeriod> out;
    for (const QStringList &row : rows) {
        const auto v = [&](int c) { return c < row.size() ? parseNumber(row[c]).value_or(0.0) : 0.0; };
        out.append({v(0), v(1), v(2), v(3)});
    }
    return out;
}

} // namespace korvan
