// The report command of the command-line program: the project or variant report as a .docx file,
// as a PDF file, or both.
#include "cli/CliCommandList.h"
#include "cli/CliContext.h"
#include "cli/CliSupport.h"
#include "cli/Interrupt.h"
#include "cli/JsonText.h"
#include "core/data/Fields.h"

#include "core/data/TDataModule1.h"
#include "core/Messages.h"
#include "core/OutputFile.h"
#include "core/reports/PdfExport.h"
#include "core/reports/ProjectReport.h"
#include "core/reports/WordApplication.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <tuple>

namespace korvan::cli {

QByteArray reportCommand(Context &context)
{
    const QString out = context.takeOption(QStringLiteral("--out"));
    const QString pdf = context.takeOption(QStringLiteral("--pdf"));
    const QString variant = context.takeOption(QStringLiteral("--variant"));
    const QString settings = context.takeOption(QStringLiteral("--settings"));
    const qint64 kod = takeProject(context);
    context.requireNoArguments();
    if (out.isEmpty() && pdf.isEmpty())
        throw KorvanError(QStringLiteral("Не указан файл отчета: --out ФАЙЛ.docx или --pdf ФАЙЛ.pdf."));
    for (const QString &file : {out, pdf})
        if (!file.isEmpty())
            checkOutputFile(file);
    TDataModule1 &data = context.data();

    if (!settings.isNull() && !data.TableReport->locate(fld::Name, settings))
        throw KorvanError(QStringLiteral("Параметры отчета «%1» не найдены.").arg(settings));
    const bool allVariants = variant.isNull();
    if (allVariants) {
        // The program offers the project report only for a project with a load graph.
        if (data.tblProj1->isEmpty())
            throw KorvanError(QStringLiteral("В проекте нет суточного графика нагрузки."));
    } else {
        bool ok = false;
        const qint64 number = variant.toLongLong(&ok);
        if (!ok)
            throw KorvanError(QStringLiteral("Номер варианта «%1» должен быть целым числом.").arg(variant));
        if (!data.tblProj2->locate(fld::VarNum, number))
            throw KorvanError(QStringLiteral("Вариант компенсации %1 не найден в проекте.").arg(number));
    }

    QList<QPair<QString, QByteArray>> result = {{fld::Kod, QByteArray::number(kod)}};
    // Everything is made in a folder of its own and the user's files are written at the end, once
    // the whole command has succeeded: a failed conversion leaves no new document behind.
    QTemporaryDir work;
    if (!work.isValid())
        throw KorvanError(QStringLiteral("Не удалось создать временную папку для отчета."));
    const QString docxPath = work.filePath(QStringLiteral("report.docx"));
    const QString pdfPath = work.filePath(QStringLiteral("report.pdf"));
    if (!out.isEmpty()) {
        WordApplication word;
        word.setTargetFile(docxPath);
        ExportProjectReport(data, word, allVariants);
    }
    if (!pdf.isEmpty()) {
        // The PDF of the document just written, or of one written for it alone.
        if (out.isEmpty())
            ExportProjectReportPdf(data, allVariants, pdfPath, &commandControl());
        else
            ConvertToPdf(docxPath, pdfPath, &commandControl());
    }
    for (const auto &[target, made, key] :
         {std::tuple{out, docxPath, QStringLiteral("file")}, std::tuple{pdf, pdfPath, QStringLiteral("pdf")}}) {
        if (target.isEmpty())
            continue;
        QFile file(made);
        if (!file.open(QIODevice::ReadOnly))
            throw KorvanError(
                QStringLiteral("Не удалось прочитать подготовленный отчет «%1».").arg(QDir::toNativeSeparators(made)));
        const QString path = QFileInfo(target).absoluteFilePath();
        writeOutputFile(path, file.readAll());
        result.append({key, json::string(QDir::toNativeSeparators(path))});
    }
    return json::object(result);
}

} // namespace korvan::cli
