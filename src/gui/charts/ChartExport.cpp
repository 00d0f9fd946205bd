#include "gui/charts/ChartExport.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "core/data/TTable.h"
#include "core/Messages.h"
#include "core/reports/WordApplication.h"
#include "gui/charts/ChartCheckList.h"
#include "gui/charts/ChartView.h"
#include "gui/ui/CommandGuard.h"
#include "gui/ui/SavedNotice.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>

namespace korvan {

namespace {

ChartFileChooser &chooser()
{
    static ChartFileChooser installed;
    return installed;
}

QString askFile(QWidget *parent, const QString &suggested)
{
    if (chooser())
        return chooser()(parent, suggested);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Экспорт диаграммы"), suggested,
                                        QStringLiteral("Документ Word (*.docx)"));
}

} // namespace

void setChartFileChooser(ChartFileChooser c) { chooser() = std::move(c); }

QString exportViewer(QWidget *parent, TDataModule1 &data, const WordApplication &reports, ChartView &chart,
                     const ChartCheckList &list1, const QList<ChartItem> &items1, const ChartCheckList &list2,
                     const QList<ChartItem> &items2, const ChartCheckList &variants)
{
    const QString project = data.tblProj0->isEmpty() ? QString() : data.tblProj0->asString(fld::Name);
    const QString suggested = QDir(reports.folder())
                                  .filePath(WordApplication::fileNameFor(project + QStringLiteral(" диаграмма"),
                                                                         QDateTime::currentDateTime()) +
                                            QStringLiteral(".docx"));
    QString path = askFile(parent, suggested);
    if (path.isEmpty())
        return QString();
    if (!path.endsWith(QLatin1String(".docx"), Qt::CaseInsensitive))
        path += QStringLiteral(".docx");
    const bool done = runBusy([&] {
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

        // A document of its own, in the file the user named.
        WordApplication word;
        word.setTargetFile(path);
        ExportChartToWord(word, picture, chartLegendText(legend), chartVariantsText(variants.checkedTexts()));
    });
    if (!done)
        return QString();
    announceSaved(parent, path);
    return path;
}

} // namespace korvan
