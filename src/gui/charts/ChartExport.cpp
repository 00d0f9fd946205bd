#include "gui/charts/ChartExport.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "core/data/TTable.h"
#include "core/Messages.h"
#include "core/reports/WordApplication.h"
#include "gui/charts/ChartCheckList.h"
#include "gui/charts/ChartView.h"
#include "gui/ui/CommandGuard.h"

#include <QApplication>
#include <QTemporaryDir>

namespace korvan {

void exportViewer(TDataModule1 &data, WordApplication &word, ChartView &chart, const ChartCheckList &list1,
                  const QList<ChartItem> &items1, const ChartCheckList &list2, const QList<ChartItem> &items2,
                  const ChartCheckList &variants)
{
    runBusy([&] {
        QStringList legend;
        for (const auto &[list, items] : {std::pair{&list1, &items1}, std::pair{&list2, &items2}})
            for (int row : list->checkedRows())
                legend << list->text(row) + QStringLiteral(" - ") + FieldHintText(data, items->at(row), true);

        const QTemporaryDir folder;
        if (!folder.isValid())
            throw KorvanError(QStringLiteral("Не удалось создать временную папку для рисунка диаграммы."));
        const QString picture = folder.filePath(QStringLiteral("diagram.png"));
        if (!chart.savePicture(picture))
            throw KorvanError(QStringLiteral("Не удалось сохранить рисунок диаграммы."));

        if (!data.tblProj0->isEmpty())
            word.setDocumentTitle(data.tblProj0->asString(fld::Name));
        ExportChartToWord(word, picture, chartLegendText(legend), chartVariantsText(variants.checkedTexts()));
    });
}

} // namespace korvan
