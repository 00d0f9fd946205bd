#include "core/graphs/GraphEditorTable.h"

#include "core/calc/Numbers.h"
#include "core/NumericChecks.h"

namespace korvan {

namespace {

QStringList emptyRow() { return QStringList(GraphEditorTable::Columns); }

} // namespace

void GraphEditorTable::prime(const QStringList &headers, const QList<QStringList> &rows)
{
    m_headers = headers;
    while (m_headers.size() < Columns)
        m_headers << QString();
    m_rows.clear();
    for (QStringList row : rows) {
        while (row.size() < Columns)
            row << QString();
        m_rows << row.mid(0, Columns);
    }
    if (m_rows.isEmpty())
        m_rows << emptyRow();
    m_current = 0;
}

void GraphEditorTable::restore(const QList<QStringList> &rows, int currentRow)
{
    m_rows = rows.isEmpty() ? QList<QStringList>{emptyRow()} : rows;
    m_current = qBound(0, currentRow, int(m_rows.size()) - 1);
}

QList<QStringList> GraphEditorTable::rowsOf(const QList<LoadPeriod> &periods)
{
    QList<QStringList> out;
    for (const LoadPeriod &p : periods)
        out << QStringList{numberText(p.T1), numberText(p.T2), numberText(p.P), numberText(p.Q)};
    return out;
}

void GraphEditorTable::setCell(int row, int column, const QString &text)
{
    if (row >= 0 && row < m_rows.size() && column >= 0 && column < Columns)
        m_rows[row][column] = text;
}

void GraphEditorTable::setCurrentRow(int row) { m_current = qBound(0, row, rowCount() - 1); }

bool GraphEditorTable::percentMode() const
{
    return m_headers.value(2) == QLatin1String("P, %") && m_headers.value(3) == QLatin1String("Q, %");
}

bool GraphEditorTable::isEmpty() const
{
    return m_rows.size() == 1 &&
           std::all_of(m_rows[0].begin(), m_rows[0].end(), [](const QString &c) { return c.isEmpty(); });
}

std::optional<GraphTableProblem> GraphEditorTable::check() const { return checkGraphTable(m_rows, percentMode()); }

std::optional<InputProblem> GraphEditorTable::fill(const QString &start, const QString &end, const QString &step,
                                                   bool clearPQ)
{
    if (auto m = numberProblem(start, QStringLiteral("поля \"Начало замеров, ч\"")))
        return InputProblem{FillStart, *m};
    if (auto m = positiveNumberProblem(end, QStringLiteral("поля \"Окончание замеров, ч\"")))
        return InputProblem{FillEnd, *m};
    if (auto m = positiveNumberProblem(step, QStringLiteral("поля \"Период замеров, ч\"")))
        return InputProblem{FillStep, *m};
    const double b = numberValue(start), e = numberValue(end), s = numberValue(step);
    if (e > 24)
        return InputProblem{
            FillEnd, QStringLiteral("Значение поля \"Окончание замеров, ч\" должно быть меньше либо равно 24 часам.")};
    if (e <= b)
        return InputProblem{
            FillEnd,
            QStringLiteral(
                "Значение поля \"Окончание замеров, ч\" должно быть больше значения поля \"Начало замеров, ч\".")};
    if (e - b <= s)
        return InputProblem{
            FillStep, QStringLiteral("Значение поля \"Период замеров, ч\" должно быть меньше разности значений полей "
                                     "\"Окончание замеров, ч\" и \"Начало замеров, ч\".")};
    // Rounded in double: a tiny step would overflow an integer. Periods shorter than the
    // hundredth of an hour the bounds are rounded to would repeat their bounds.
    const double n = roundHalfEven((e - b) / s);
    if (n > MaxFillPeriods)
        return InputProblem{
            FillStep, QStringLiteral("Значение поля \"Период замеров, ч\" слишком мало: периодов получится больше %1.")
                          .arg(MaxFillPeriods)};
    QList<QStringList> rows;
    for (int i = 1; i <= int(n); ++i) {
        QStringList row = emptyRow();
        row[0] = numberText(R(b + double(i - 1) * s, 2));
        row[1] = numberText(R(b + double(i) * s, 2));
        if (!clearPQ && i - 1 < m_rows.size()) {
            row[2] = m_rows[i - 1][2];
            row[3] = m_rows[i - 1][3];
        }
        rows << row;
    }
    m_rows = rows;
    m_current = qMin(m_current, rowCount() - 1);
    return std::nullopt;
}

void GraphEditorTable::addRow()
{
    m_rows << emptyRow();
    m_current = rowCount() - 1;
}

void GraphEditorTable::insertRow() { m_rows.insert(m_current, emptyRow()); }

void GraphEditorTable::deleteRow()
{
    if (m_rows.size() == 1) {
        m_rows[0] = emptyRow();
        return;
    }
    m_rows.removeAt(m_current);
    m_current = qMin(m_current, rowCount() - 1);
}

void GraphEditorTable::copyRow()
{
    m_rowBuffer = m_rows[m_current];
    m_rowBufferUsed = true;
}

void GraphEditorTable::cutRow()
{
    copyRow();
    m_rows[m_current] = emptyRow();
}

void GraphEditorTable::pasteRow()
{
    if (m_rowBufferUsed)
        m_rows[m_current] = m_rowBuffer;
}

void GraphEditorTable::copyTable()
{
    m_tableBuffer = m_rows;
    m_tableBufferUsed = true;
}

void GraphEditorTable::pasteTable()
{
    if (!m_tableBufferUsed)
        return;
    m_rows = m_tableBuffer.isEmpty() ? QList<QStringList>{emptyRow()} : m_tableBuffer;
    m_current = qMin(m_current, rowCount() - 1);
}

void GraphEditorTable::clear()
{
    for (QStringList &row : m_rows)
        row = emptyRow();
}

void GraphEditorTable::insertTypical(const QList<LoadPeriod> &percent, double pmax, double qmax)
{
    QList<QStringList> rows;
    for (const LoadPeriod &p : percent)
        rows << QStringList{numberText(p.T1), numberText(p.T2), numberText(roundHalfAway(p.P * pmax / 100)),
                            numberText(roundHalfAway(p.Q * qmax / 100))};
    m_rows = rows.isEmpty() ? QList<QStringList>{emptyRow()} : rows;
    m_current = 0;
}

bool GraphEditorTable::canFill(const QString &start, const QString &end, const QString &step) const
{
    return !start.isEmpty() && !end.isEmpty() && !step.isEmpty();
}

bool GraphEditorTable::canCopyRow() const
{
    const QStringList &row = m_rows[m_current];
    return std::any_of(row.begin(), row.end(), [](const QString &c) { return !c.isEmpty(); });
}

QString GraphEditorTable::axisTitle() const { return m_headers.value(2) + QStringLiteral("; ") + m_headers.value(3); }

} // namespace korvan
