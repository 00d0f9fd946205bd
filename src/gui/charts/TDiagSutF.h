// TDiagSutF: the «Просмотр суточных графиков нагрузки» window.
#pragma once

#include "core/charts/ChartItems.h"

#include <QDialog>

class QCategoryAxis;
class QCheckBox;
class QPushButton;
class QValueAxis;

namespace korvan {

class ChartCheckList;
class ChartView;
class TDataModule1;
class WordApplication;

// "Просмотр суточных графиков нагрузки.": the current project's per-period values without and
// with compensation, for the chosen variants, as step curves over the hours of the day, and
// their export with a legend into the Word document. Only reads the tables.
class TDiagSutF : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 7;

    TDiagSutF(TDataModule1 &data, WordApplication &word, QWidget *parent = nullptr);

    // List 3 anew, unchecked: one line per variant, written by the opening command.
    void setVariantLines(const QStringList &lines);

    void DrawDailyGraphs();
    void btnWordClick();

    ChartView *chartView() const { return m_chart; }
    // The chart title's lines ("Суточные графики:" and the drawn names).
    QStringList titleLines() const { return m_titleLines; }
    QString valueAxisTitle() const;

signals:
    // The field hint of the item under the mouse, for the main window's status line.
    void hintChanged(const QString &hint);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void autoDraw();
    void setTitle(const QStringList &lines);

    TDataModule1 &m_data;
    WordApplication &m_word;
    QList<ChartItem> m_items1, m_items2;
    ChartCheckList *m_list1, *m_list2, *m_list3;
    QCheckBox *m_chkAuto;
    ChartView *m_chart;
    QCategoryAxis *m_hours;
    QValueAxis *m_values;
    QStringList m_titleLines;
};

} // namespace korvan
