// TAddSutGrF: the «Редактирование суточного графика» dialog.
#pragma once

#include "core/graphs/GraphEditorTable.h"
#include "gui/widgets/TypingGrid.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTimer;
class QUndoStack;

namespace korvan {

class GraphCellDelegate;
class GraphEditorModel;
class MeterImportDialog;
class StepChart;
class TsSutGrFm;

// "Редактирование суточного графика.": the daily load graph as a table of periods, typed in place,
// filled from the measurement parameters, edited by rows and as a whole, checked, drawn. The
// caller primes it, shows it and on OK reads rows(); the table is then known to pass the check.
// Made once; its row and table buffers serve every use, in both modes.
class TAddSutGrF : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 5;

    explicit TAddSutGrF(QWidget *parent = nullptr);
    ~TAddSutGrF() override;

    // The catalogue window that "Справочник..." opens.
    void setCatalogue(TsSutGrFm *catalogue) { m_catalogue = catalogue; }
    // Headers, rows (no rows gives one empty row) and whether a typical graph may be inserted
    // (a project's graph in kW and kVAr; also the meter file import).
    void prime(const QStringList &headers, const QList<QStringList> &rows, bool spravEnabled);
    const QList<QStringList> &rows() const { return m_table.rows(); }
    const GraphEditorTable &table() const { return m_table; }
    TypingGrid *grid() const { return m_grid; }
    StepChart *chart() const { return m_chart; }
    MeterImportDialog *importDialog() const { return m_import; }

    // The edits, fills and deletions since the table was primed, undone with Ctrl+Z and redone
    // with Ctrl+Y; the table is modified while the stack is not at its clean state.
    QUndoStack *undoStack() const { return m_undo; }
    bool isModified() const;

    // The table's check; a failure is shown, its cell made current and the table focused.
    bool CheckTable();
    void UpdateButtons();
    void ClearGraph();
    void DrawGraph();

public slots:
    void accept() override;
    // Closing with unsaved changes asks «Сохранить изменения?»: Да keeps them (as OK does),
    // Нет gives them up, Отмена goes back to the table.
    void reject() override;
    void btnPutClick();
    void btnAddRowClick();
    void btnInsertRowClick();
    void btnDeleteRowClick();
    void btnCopyClick();
    void btnCutClick();
    void btnPasteClick();
    void btnCopyTableClick();
    void btnPasteTableClick();
    void btnClearClick();
    void btnSpravClick();
    void btnImportClick();
    void btnTestClick();
    void Button1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QPushButton *button(const QString &caption, const char *name, const QString &hint);
    // Ends typing in a cell, so the commands see its text.
    void commitCell();
    // Shows the table anew after a command and puts the current cell on the table's current row.
    void showTable(int column = -1);
    // Ends a command that changed the table.
    void tableChanged(int column = -1);
    void followCurrentCell();
    // Puts the keyboard on the first cell of the current row, ready for typing.
    void focusRowStart();
    // Makes the change since the last record one step of the undo stack.
    void record(const QString &what);
    // Puts back rows of the undo stack.
    void restoreRows(const QList<QStringList> &rows, int currentRow);
    // Draws the graph when the table passes its check, otherwise leaves the chart empty.
    void refreshChart();

    GraphEditorTable m_table;
    GraphEditorModel *m_model;
    GraphCellDelegate *m_delegate;
    TypingGrid *m_grid;
    QLineEdit *m_editB, *m_editE, *m_editShag;
    QCheckBox *m_clearPQ, *m_chkP, *m_chkQ;
    QPushButton *m_btnPut, *m_btnDeleteRow, *m_btnCopy, *m_btnCut, *m_btnPaste, *m_btnCopyTable, *m_btnPasteTable,
        *m_btnClear, *m_btnSprav, *m_btnImport;
    StepChart *m_chart;
    MeterImportDialog *m_import;
    TsSutGrFm *m_catalogue = nullptr;
    QUndoStack *m_undo;
    QList<QStringList> m_recorded; // the rows as of the last step of the undo stack
    QTimer *m_chartTimer;
    friend class GraphEditStep;
};

} // namespace korvan
