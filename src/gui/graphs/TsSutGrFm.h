// TsSutGrFm: the «Характерные суточные графики нагрузки» catalogue window.
#pragma once

#include "core/graphs/GraphTable.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace korvan {

class CursorGrid;
class NumericEdit;
class DBNavigator;
class StepChart;
class TAddSutGrF;
class TDataModule1;

// "Характерные суточные графики нагрузки.": the catalogue of typical daily graphs by industry and
// enterprise, in percent of their own maxima. In view mode it only maintains the catalogue; in
// selection mode the caller takes the current enterprise's graph and the two maxima after OK.
class TsSutGrFm : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 11;

    explicit TsSutGrFm(TDataModule1 &data, QWidget *parent = nullptr);

    // The editor that edits a typical graph.
    void setEditor(TAddSutGrF *editor) { m_editor = editor; }
    void setSelectionMode(bool on);
    bool selectionMode() const { return m_selection; }

    // The current enterprise's graph in percent, in the catalogue's order.
    QList<LoadPeriod> currentGraph() const;
    // The maxima typed; valid after an OK close.
    double pmax() const;
    double qmax() const;

    StepChart *chart() const { return m_chart; }
    CursorGrid *grid(int level) const { return m_grids[level]; }
    DBNavigator *navigator(int level) const { return m_navigators[level]; }

    void DrawCatalogueGraph();

public slots:
    void accept() override;
    void done(int result) override;
    void btnEditSutGrClick();
    void btnCopyClick();
    void btnPasteClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    NumericEdit *maximum(const char *name, const QString &hint);
    void drawWhenBrowsing();

    TDataModule1 &m_data;
    TAddSutGrF *m_editor = nullptr;
    bool m_selection = false;
    CursorGrid *m_grids[3];
    DBNavigator *m_navigators[2];
    QCheckBox *m_chkP, *m_chkQ;
    StepChart *m_chart;
    QWidget *m_maxima;
    NumericEdit *m_editPmax, *m_editQmax;
    QPushButton *m_btnOK, *m_btnCancel, *m_btnPaste;
    // The copied graph: T1, T2, P, Q of each period as shown; kept for the whole run.
    QStringList m_buffer;
};

} // namespace korvan
