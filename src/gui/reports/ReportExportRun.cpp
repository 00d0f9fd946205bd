#include "gui/reports/ReportExportRun.h"

#include "core/data/Fields.h"
#include "core/data/Store.h"
#include "core/data/TDataModule1.h"
#include "core/Messages.h"
#include "core/reports/PdfExport.h"
#include "core/reports/ProjectReport.h"
#include "core/reports/WordApplication.h"
#include "gui/widgets/LongWork.h"

#include <QTemporaryDir>

namespace korvan {

namespace {

// The rows a report starts from: the window's current project, variant and report settings.
struct ReportRows {
    QVariant project, variant, settings;

    static ReportRows of(const TDataModule1 &data)
    {
        return {data.tblProj0->value(fld::Kod), data.tblProj2->isEmpty() ? QVariant() : data.tblProj2->value(fld::Kod),
                data.TableReport->isEmpty() ? QVariant() : data.TableReport->value(fld::Kod)};
    }

    void placeOn(TDataModule1 &data) const
    {
        if (!data.tblProj0->locate(fld::Kod, project))
            throw KorvanError(QStringLiteral("Проект не найден: возможно, его удалили."));
        if (!variant.isNull() && !data.tblProj2->locate(fld::Kod, variant))
            throw KorvanError(QStringLiteral("Конденсаторная установка не найдена: возможно, ее удалили."));
        if (!settings.isNull())
            data.TableReport->locate(fld::Kod, settings);
    }
};

} // namespace

QString runReportExport(QWidget *parent, TDataModule1 &data, WordApplication &word, bool allVariants, bool pdf)
{
    LongWork work(parent,
                  pdf ? QStringLiteral("Экспорт отчета в PDF") : QStringLiteral("Экспорт отчета в Microsoft Word"));
    ProgressControl &control = work.control();
    word.setDocumentTitle(data.tblProj0->asString(fld::Name));
    const QString pdfPath = pdf ? word.newDocumentPath(QStringLiteral("pdf")) : QString();
    QTemporaryDir temp;
    if (pdf && !temp.isValid())
        throw KorvanError(QStringLiteral("Не удалось создать временную папку для отчета."));
    const QString docx = temp.filePath(QStringLiteral("report.docx"));
    WordApplication pdfWord;
    pdfWord.setTargetFile(docx);
    WordApplication &target = pdf ? pdfWord : word;
    // The document is opened by the caller, in the window's thread.
    word.setOpening(false);
    struct Reopen {
        WordApplication &word;
        ~Reopen() { word.setOpening(true); }
    } reopen{word};

    control.setStep(QStringLiteral("Формирование отчета..."));
    const Store &store = data.store();
    if (!store.filePath().isEmpty()) {
        // A read-only connection of its own to the same file: the window's cursors stay the window's.
        const ReportRows rows = ReportRows::of(data);
        const QString folder = store.dataDirectory();
        work.beside([&] {
            const std::unique_ptr<Store> own = Store::open(folder, Store::Access::ReadOnly);
            TDataModule1 module(*own);
            rows.placeOn(module);
            ExportProjectReport(module, target, allVariants, {control.progress(), {}});
        });
    } else {
        // A server's or an in-memory store's connection cannot be opened again without asking:
        // the report is read here, the window repainting at each of its steps.
        work.here([&] { ExportProjectReport(data, target, allVariants, {work.progress(), {}}); });
    }
    if (!pdf)
        return word.documentPath();
    work.beside([&] { ConvertToPdf(docx, pdfPath, &control); });
    return pdfPath;
}

} // namespace korvan
