#include "core/charts/ChartItems.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "core/data/TTable.h"
#include "core/hints/Hints.h"
#include "core/Messages.h"
#include "core/project/MainGrids.h"
#include "core/reports/WordApplication.h"
#include "core/reports/WordLayer.h"

namespace korvan {

namespace {

const QString Project0 = tbl::project0;
const QString Project1 = tbl::project1;
const QString Project2 = tbl::project2;
const QString Project3 = tbl::project3;

// The field comes from the first grid (in the order given) holding a column with the item's
// title, so a list item always stands for what the main window shows under that title.
QString fieldOfTitle(const QList<const QList<GridColumn> *> &grids, const QString &title)
{
    for (const QList<GridColumn> *grid : grids)
        for (const GridColumn &c : *grid)
            if (c.title == title)
                return c.field;
    return {};
}

QList<ChartItem> itemsOf(const QList<GridColumn> &shown, const QList<const QList<GridColumn> *> &grids,
                         const QString &table)
{
    QList<ChartItem> items;
    for (const GridColumn &c : shown)
        items.append({c.title, table, fieldOfTitle(grids, c.title)});
    return items;
}

QString listText(const QString &heading, const QStringList &lines)
{
    QString text = heading + QStringLiteral(":\r");
    for (const QString &line : lines)
        text += line + QStringLiteral(";\r");
    text.chop(2);
    return text + u'.';
}

} // namespace

QString ChartShortName(const QString &text)
{
    const qsizetype comma = text.indexOf(u',');
    return comma < 0 ? text : text.left(comma);
}

QString FieldHintText(const TDataModule1 &data, const ChartItem &item, bool lowerFirst)
{
    const QString hint = LookUpHint(data, item.table, item.field);
    return lowerFirst ? HintLegendForm(hint) : hint;
}

QList<ChartItem> dailyGraphItemsWithout()
{
    const QList<GridColumn> &grid = loadPeriodColumns();
    return itemsOf(grid.mid(2), {&grid}, Project1);
}

QList<ChartItem> dailyGraphItemsWith()
{
    const QList<GridColumn> &grid = compensatedPeriodColumns();
    return itemsOf(grid.mid(4), {&grid}, Project3);
}

QStringList diagramParamChoices()
{
    return {QStringLiteral("все"), QStringLiteral("суточные"), QStringLiteral("месячные"), QStringLiteral("годовые")};
}

QList<ChartItem> diagramItemsWithout(const QString &choice)
{
    const QList<const QList<GridColumn> *> grids = {&dailyCharacteristicColumns(), &monthlyCharacteristicColumns(),
                                                    &yearlyCharacteristicColumns()};
    QList<GridColumn> shown;
    const bool all = choice == QStringLiteral("все");
    if (all || choice == QStringLiteral("суточные"))
        shown += dailyCharacteristicColumns();
    if (all || choice == QStringLiteral("месячные"))
        shown += monthlyCharacteristicColumns();
    if (all || choice == QStringLiteral("годовые"))
        shown += yearlyCharacteristicColumns();
    return itemsOf(shown, grids, Project0);
}

QList<ChartItem> diagramItemsWith(const QString &choice)
{
    const QList<GridColumn> &grid = variantColumns();
    QList<GridColumn> shown;
    const bool all = choice == QStringLiteral("все");
    if (all || choice == QStringLiteral("суточные"))
        shown += gridColumnRange(grid, fld::Cosf_i, fld::DPayWsk);
    if (all || choice == QStringLiteral("месячные"))
        shown += gridColumnRange(grid, fld::Wp_m, fld::DPayWs_m);
    if (all || choice == QStringLiteral("годовые"))
        shown += gridColumnRange(grid, fld::Wp_g, fld::Srok);
    return itemsOf(shown, {&grid}, Project2);
}

QStringList WalkVariantLines(TDataModule1 &data)
{
    QStringList lines;
    TTable &variants = *data.tblProj2;
    for (variants.first(); !variants.eof(); variants.next())
        lines << variants.asString(fld::VarNum) + QStringLiteral(" - ") + variants.asString(fld::TipKU);
    return lines;
}

QString chartLegendText(const QStringList &lines)
{
    return listText(QStringLiteral("Диаграммы"), lines) + QStringLiteral("\r\r");
}

QString chartVariantsText(const QStringList &lines)
{
    return listText(QStringLiteral("Варианты компенсации"), lines) + QStringLiteral("\r");
}

void ExportChartToWord(WordApplication &word, const QString &pictureFile, const QString &legendText,
                       const QString &variantsText)
{
    try {
        OpenWordDocument(word);
        InsertWordPicture(word, pictureFile);
        for (const QString &text : {legendText, variantsText}) {
            InsertWordText(word, text);
            FormatWordSelection(word, QStringLiteral("Times New Roman"), 10, false, false);
        }
    } catch (...) {
        // A chart that failed halfway is dropped, never shown as if it were whole.
        DisconnectWord(word, true);
        throw;
    }
    DisconnectWord(word);
}

} // namespace korvan
