// TDiagParF: the «Просмотр диаграмм» window (characteristics as bars).
#pragma once

#include "core/charts/ChartItems.h"

#include <QDialog>

class QBarCategoryAxis;
class QCheckBox;
class QComboBox;
class QValueAxis;

namespace korvan {

class ChartCheckList;
class ChartView;
class TDataModule1;
class WordApplication;

// "Просмотр диаграмм.": the current project's daily, monthly and yearly characteristics without
// compensation (category "0") beside those of the chosen variants (one category each) as bars,
// with a program zoom and the export with a legend into the Word document. Only reads the tables.
class TDiagParF : public QDialog {
    Q_OBJECT
public:
    static constexpr int HelpContext = 6;
    static const QString NoCompensationLine; // "0 - без компенсации"

    TDiagParF(TDataModule1 &data, WordApplication &word, QWidget *parent = nullptr);

    // List 3 anew, unchecked: one line per variant, written by the opening command.
    void setVariantLines(const QStringList &lines);

    void DrawDiagrams();
    void btnWordClick();

    ChartView *chartView() const { return m_chart; }
    QValueAxis *valueAxis() const { return m_values; }
    QBarCategoryAxis *categoryAxis() const { return m_categories; }

signals:
    // The field hint of the item under the mouse, for the main window's status line.
    void hintChanged(const QString &hint);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillParameterLists();
    void autoDraw();
    void list3Toggled(int row);

    TDataModule1 &m_data;
    WordApplication &m_word;
    QList<ChartItem> m_items1, m_items2;
    QComboBox *m_cmbParams, *m_cmbLabel;
    ChartCheckList *m_list1, *m_list2, *m_list3;
    QCheckBox *m_chkAuto;
    ChartView *m_chart;
    QBarCategoryAxis *m_categories;
    QValueAxis *m_values;
};

} // namespace korvan
