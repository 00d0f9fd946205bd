#pragma once

#include "core/graphs/GraphTable.h"
#include "core/InputProblem.h"

#include <QStringList>

namespace korvan {

// The load graph editor's table as text: four columns (T1, T2, P, Q) under the caller's headers,
// at least one data row, the current row, and the row and table buffers that outlive each use
// of the editor (the editor is made once per run). The dialog shows it and calls these commands.
class GraphEditorTable {
public:
    static constexpr int Columns = 4;
    enum FillField { FillStart, FillEnd, FillStep };
    // The most periods a fill makes: a day in hundredths of an hour, the precision of the bounds.
    static constexpr int MaxFillPeriods = 2400;

    // Primes the table for one use: headers and rows; no rows gives one empty row.
    void prime(const QStringList &headers, const QList<QStringList> &rows);
    // Rows from numbers, each cell in general format.
    // Puts back rows the table had (an undo), keeping the headers and the copy buffers.
    void restore(const QList<QStringList> &rows, int currentRow);
    static QList<QStringList> rowsOf(const QList<LoadPeriod> &periods);

    const QStringList &headers() const { return m_headers; }
    const QList<QStringList> &rows() const { return m_rows; }
    int rowCount() const { return int(m_rows.size()); }
    QString cell(int row, int column) const { return m_rows.value(row).value(column); }
    void setCell(int row, int column, const QString &text);

    int currentRow() const { return m_current; }
    void setCurrentRow(int row);

    // Typical graphs are in percent, told apart by the headers "P, %" and "Q, %" alone.
    bool percentMode() const;
    bool isEmpty() const;

    // The table's check; the problem names the cell to make current.
    std::optional<GraphTableProblem> check() const;

    // Fills T1 and T2 from the start, end and step texts; a refusal changes nothing.
    std::optional<InputProblem> fill(const QString &start, const QString &end, const QString &step, bool clearPQ);

    void addRow();    // an empty row at the end, made current
    void insertRow(); // an empty row at the current one
    void deleteRow(); // the only row is cleared instead
    void copyRow();
    void cutRow();
    void pasteRow();
    void copyTable();
    void pasteTable();
    void clear();
    // Replaces the table by a typical graph in percent scaled to the maxima, each power written
    // without decimals, halves away from zero.
    void insertTypical(const QList<LoadPeriod> &percent, double pmax, double qmax);

    // What the editor's buttons may do now.
    bool canFill(const QString &start, const QString &end, const QString &step) const;
    bool canDeleteOrCopyTable() const { return !isEmpty(); }
    bool canCopyRow() const;
    bool canPasteRow() const { return m_rowBufferUsed; }
    bool canPasteTable() const { return m_tableBufferUsed; }

    // The value-axis title: "P, кВт; Q, кВАр".
    QString axisTitle() const;

private:
    QStringList m_headers{QStringLiteral("Т1, ч"), QStringLiteral("Т2, ч"), QStringLiteral("P, кВт"),
                          QStringLiteral("Q, кВАр")};
    QList<QStringList> m_rows{QStringList(Columns)};
    int m_current = 0;
    QStringList m_rowBuffer{QStringList(Columns)};
    QList<QStringList> m_tableBuffer;
    bool m_rowBufferUsed = false, m_tableBufferUsed = false;
};

} // namespace korvan
