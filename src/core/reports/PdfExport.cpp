#include "core/reports/PdfExport.h"

#include "core/ChildProcessGroup.h"
#include "core/Messages.h"
#include "core/OutputFile.h"
#include "core/ProgressControl.h"
#include "core/reports/PdfEstimate.h"
#include "core/reports/WordApplication.h"

#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

#include <algorithm>

namespace korvan {

namespace {

constexpr int ProgressScale = 100;
// The share of the bar the report itself takes before the conversion.
constexpr int ReportShare = 40;

QString lastLines(const QByteArray &output)
{
    const QStringList lines = QString::fromLocal8Bit(output).trimmed().split(u'\n', Qt::SkipEmptyParts);
    return lines.mid(std::max<qsizetype>(0, lines.size() - 3)).join(u'\n');
}

} // namespace

QString findLibreOffice()
{
    for (const char *name : {"soffice", "libreoffice"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    const QStringList known = {QStringLiteral("/usr/lib/libreoffice/program/soffice"),
                               QStringLiteral("/opt/libreoffice/program/soffice"),
                               QStringLiteral("/Applications/LibreOffice.app/Contents/MacOS/soffice"),
                               QStringLiteral("C:/Program Files/LibreOffice/program/soffice.exe")};
    for (const QString &path : known) {
        if (QFileInfo(path).isExecutable())
            return path;
    }
    return QString();
}

void ConvertToPdf(const QString &docxPath, const QString &pdfPath, ProgressControl *control)
{
    checkOutputFile(pdfPath);
    const QString soffice = findLibreOffice();
    if (soffice.isEmpty())
        throw KorvanError(
            QStringLiteral("Для экспорта отчета в PDF нужна программа LibreOffice, но она не установлена.\n"
                           "Установите LibreOffice Writer и повторите экспорт."));
    const auto report = [control](int value) {
        if (control)
            control->report(value, ProgressScale);
    };
    // No blanks in the folder's name: LibreOffice takes its profile as a URL.
    QTemporaryDir work(QDir::temp().filePath(QStringLiteral("korvan-pdf-XXXXXX")));
    if (!work.isValid())
        throw KorvanError(QStringLiteral("Не удалось создать временную папку для преобразования отчета в PDF."));
    // A plain name inside the work folder: LibreOffice names its output after its input.
    const QString input = work.filePath(QStringLiteral("report.docx"));
    if (!QFile::copy(docxPath, input))
        throw KorvanError(
            QStringLiteral("Не удалось прочитать документ \"%1\".").arg(QDir::toNativeSeparators(docxPath)));
    const QString outDir = work.filePath(QStringLiteral("pdf"));
    QDir().mkpath(outDir);

    const PdfEstimate estimate = PdfEstimate::ofDocx(input);
    if (control)
        control->setStep(QStringLiteral("Преобразование в PDF программой LibreOffice: %1.").arg(estimate.text()));
    report(0);

    ChildProcessGroup group;
    QProcess &p = group.process();
    p.setProcessChannelMode(QProcess::MergedChannels);
    // An open standard input keeps LibreOffice waiting for it.
    p.setStandardInputFile(QProcess::nullDevice());
    const QStringList arguments = {
        QStringLiteral("-env:UserInstallation=") +
            QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(QUrl::FullyEncoded),
        QStringLiteral("--headless"),
        QStringLiteral("--norestore"),
        QStringLiteral("--nolockcheck"),
        QStringLiteral("--convert-to"),
        QStringLiteral("pdf:writer_pdf_Export"),
        QStringLiteral("--outdir"),
        outDir,
        input};
    if (!group.start(soffice, arguments))
        throw KorvanError(QStringLiteral("Не удалось запустить LibreOffice (%1) для преобразования отчета в PDF.")
                              .arg(QDir::toNativeSeparators(soffice)));
    // The conversion says nothing of its advance: the bar follows the time against the estimate
    // and stays short of its end until LibreOffice is done. A cancel request (the report throws)
    // and the time limit end LibreOffice's whole group, through the group's destructor.
    const int limit = estimate.timeLimitSeconds();
    QElapsedTimer elapsed;
    elapsed.start();
    while (!p.waitForFinished(200)) {
        if (elapsed.elapsed() > qint64(limit) * 1000) {
            group.end();
            throw KorvanError(
                QStringLiteral("LibreOffice не закончила преобразование отчета в PDF за %1 мин (ожидалось %2); "
                               "преобразование остановлено.")
                    .arg((limit + 59) / 60)
                    .arg(estimate.text()));
        }
        const double share = double(elapsed.elapsed()) / (1000.0 * std::max(1, estimate.seconds));
        report(int(ProgressScale * std::min(0.95, share)));
    }
    // Whatever LibreOffice left running in its group goes with it.
    group.end();
    const QByteArray output = p.readAll();
    QFile pdf(QDir(outDir).filePath(QStringLiteral("report.pdf")));
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !pdf.open(QIODevice::ReadOnly))
        throw KorvanError(
            QStringLiteral("LibreOffice не смогла преобразовать отчет в PDF.\n%1").arg(lastLines(output)));
    const QByteArray bytes = pdf.readAll();
    if (!bytes.startsWith("%PDF"))
        throw KorvanError(QStringLiteral("LibreOffice не смогла преобразовать отчет в PDF: получен не PDF-файл."));

    writeOutputFile(pdfPath, bytes);
    report(ProgressScale);
}

void ExportProjectReportPdf(TDataModule1 &data, bool allVariants, const QString &pdfPath, ProgressControl *control)
{
    checkOutputFile(pdfPath);
    QTemporaryDir work;
    if (!work.isValid())
        throw KorvanError(QStringLiteral("Не удалось создать временную папку для отчета."));
    // The report's own advance fills the first part of the bar; the conversion sets its own.
    ReportFeedback reportFeedback;
    if (control) {
        control->setStep(QStringLiteral("Формирование отчета..."));
        reportFeedback.progress = [control](int value, int maximum) {
            control->report(maximum > 0 ? ReportShare * value / maximum : 0, ProgressScale);
        };
    }
    WordApplication word;
    const QString docx = work.filePath(QStringLiteral("report.docx"));
    word.setTargetFile(docx);
    ExportProjectReport(data, word, allVariants, reportFeedback);
    ConvertToPdf(docx, pdfPath, control);
}

} // namespace korvan
