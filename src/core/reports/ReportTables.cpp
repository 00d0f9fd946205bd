#include "core/reports/ReportTables.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "core/hints/Hints.h"
#include "core/reports/ReportContext.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/word/WordParagraphFormat.h"
#include "core/reports/WordApplication.h"
#include "core/reports/WordLayer.h"

namespace korvan {

namespace {

void appendCells(ReportContext &report, const QStringList &cells)
{
    QString text;
    for (const QString &cell : cells)
        text += cell + u'\t';
    report.word.activeDocument().selection().insertAfter(text);
}

} // namespace

void WriteDataSetTable(ReportContext &report, const QString &title, TTable &dataSet, const QList<GridColumn> *grid,
                       bool variantColumn, bool transposed, const QStringList &fields)
{
    if (dataSet.isEmpty())
        return;
    WriteWordHeading(report.word, title + QStringLiteral("\r\r"), 12, report.sectionLevel);
    CollapseWordSelection(report.word, wdCollapseEnd);
    QStringList cells;
    if (transposed) {
        for (const QString &field : fields)
            cells << LookUpHint(report.data, dataSet.tableName(), field)
                  << (grid ? gridColumnTitle(*grid, field) : QString()) << dataSet.asString(field);
        appendCells(report, cells);
        FinishReportTable(report.word, 3, wdAlignParagraphLeft);
        return;
    }
    if (variantColumn)
        cells << QStringLiteral("Вариант");
    for (const QString &field : fields)
        cells << dataSet.displayLabel(dataSet.fieldIndex(field));
    for (dataSet.first(); !dataSet.eof(); dataSet.next()) {
        if (variantColumn)
            cells << dataSet.asString(fld::VarNum);
        for (const QString &field : fields)
            cells << dataSet.asString(field);
    }
    appendCells(report, cells);
    FinishReportTable(report.word, int(fields.size()) + (variantColumn ? 1 : 0), wdAlignParagraphCenter, true);
}

void WriteGridTable(ReportContext &report, const QString &title, const QList<GridColumn> &grid)
{
    WriteWordHeading(report.word, title + QStringLiteral("\r\r"), 12, report.sectionLevel);
    CollapseWordSelection(report.word, wdCollapseEnd);
    const TTable &project = *report.data.tblProj0;
    const bool hasProject = project.recNo() >= 0;
    QStringList cells;
    for (const GridColumn &column : grid)
        cells << LookUpHint(report.data, project.tableName(), column.field) << column.title
              << (hasProject ? project.asString(column.field) : QString());
    appendCells(report, cells);
    FinishReportTable(report.word, 3, wdAlignParagraphLeft);
}

void WriteTableLegend(ReportContext &report, const QString &tableName, const QList<GridColumn> &columns,
                      bool variantLine)
{
    QStringList lines;
    if (variantLine)
        lines << QStringLiteral("Вариант - вариант компенсации реактивной мощности");
    // A column without a hint has nothing to explain; its line is left out rather than written
    // as a bare title run into the next one.
    for (const GridColumn &column : columns) {
        const QString hint = LookUpHint(report.data, tableName, column.field);
        if (!hint.isEmpty())
            lines << column.title + QStringLiteral(" - ") + HintLegendForm(hint);
    }
    if (lines.isEmpty())
        return;
    WordSelection &sel = report.word.activeDocument().selection();
    sel.insertAfter(QStringLiteral("где\r"));
    // The note holds together, up to its last line (a note longer than a page breaks where it
    // must); the document writer keeps the table's last row with it.
    sel.paragraphFormat().setKeepWithNext(true);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        sel.insertAfter(lines[i] + (last ? QStringLiteral(".\r\r") : QStringLiteral(";\r")));
        if (!last)
            sel.paragraphFormat().setKeepWithNext(true);
        FormatWordSelection(report.word, QStringLiteral("Times New Roman"), 10, false, false);
    }
}

} // namespace korvan
