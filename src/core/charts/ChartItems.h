#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace korvan {

class TDataModule1;
class WordApplication;

// One item of a viewer's check list: the grid title the user sees and the table field it stands
// for (found by the title among the main window's grid columns).
struct ChartItem {
    QString text;
    QString table;
    QString field;
};

// The item's text up to its first comma, or all of it: "P, кВт" → "P", "cos(f)" → "cos(f)".
QString ChartShortName(const QString &text);

// The hint of the item's field as stored; with lowerFirst its legend form (first letter lower).
QString FieldHintText(const TDataModule1 &data, const ChartItem &item, bool lowerFirst);

// Daily graph viewer: the load period grid's titles from its third column on (project1.db) and
// the compensated period grid's from its fifth on (project3.DB).
QList<ChartItem> dailyGraphItemsWithout();
QList<ChartItem> dailyGraphItemsWith();

// Parameter diagrams: the choices of the parameter list and, for one of them, the characteristic
// grids' titles (project0.db) and the variant grid's titles (project2.db) it offers.
QStringList diagramParamChoices();
QList<ChartItem> diagramItemsWithout(const QString &choice);
QList<ChartItem> diagramItemsWith(const QString &choice);

// The lines of the variant lists, "VarNum - TipKU" per variant of the current project in table
// order. Walks the shared variant cursor, which is left on the last variant.
QStringList WalkVariantLines(TDataModule1 &data);

// The two legend texts written under an exported chart, "\r" marking paragraphs.
// A: "Диаграммы:" and one line "text - hint;" per item, the last ";" turned into ".", then an
// empty paragraph. B: "Варианты компенсации:" and one line per variant line the same way.
QString chartLegendText(const QStringList &lines);
QString chartVariantsText(const QStringList &lines);

// Appends the picture (the file is removed) and the two texts in Times New Roman 10 to the
// current document, then releases it; a failure still releases what was written and is raised.
void ExportChartToWord(WordApplication &word, const QString &pictureFile, const QString &legendText,
                       const QString &variantsText);

} // namespace korvan
