#include "core/reports/PdfExport.h"

#include "core/Messages.h"
#include "core/OutputFile.h"
#include "core/reports/WordApplication.h"

#include <QDeadlineTimer>
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

// A first start of LibreOffice with a new profile takes a while on a slow machine.
constexpr int ConversionMinutes = 5;
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

void ConvertToPdf(const QString &docxPath, const QString &pdfPath, const Progress &progress)
{
    checkOutputFile(pdfPath);
    const QString soffice = findLibreOffice();
    if (soffice.isEmpty())
        throw KorvanError(
            QStringLiteral("Для экспорта отчета в PDF нужна программа LibreOffice, но она не установлена.\n"
                           "Установите LibreOffice Writer и повторите экспорт."));
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

    QProcess p;
    p.setProgram(soffice);
    p.setArguments({QStringLiteral("-env:UserInstallation=") +
                        QUrl::fromLocalFile(work.filePath(QStringLiteral("profile"))).toString(QUrl::FullyEncoded),
                    QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--nolockcheck"),
                    QStringLiteral("--convert-to"), QStringLiteral("pdf:writer_pdf_Export"), QStringLiteral("--outdir"),
                    outDir, input});
    p.setProcessChannelMode(QProcess::MergedChannels);
    // An open standard input keeps LibreOffice waiting for it.
    p.setStandardInputFile(QProcess::nullDevice());
    p.start();
    if (!p.waitForStarted(30000))
        throw KorvanError(QStringLiteral("Не удалось запустить LibreOffice (%1) для преобразования отчета в PDF.")
                              .arg(QDir::toNativeSeparators(soffice)));
    // The conversion says nothing of its advance: the bar creeps on towards its end meanwhile.
    int value = 0;
    const QDeadlineTimer deadline(ConversionMinutes * 60 * 1000);
    while (!p.waitForFinished(250)) {
        if (deadline.hasExpired()) {
            p.kill();
            p.waitForFinished(5000);
            throw KorvanError(QStringLiteral("LibreOffice не закончила преобразование отчета в PDF за %1 мин.")
                                  .arg(ConversionMinutes));
        }
        value += (ProgressScale - value) / 20;
        if (progress)
            progress(value, ProgressScale);
    }
    const QByteArray output = p.readAll();
    QFile pdf(QDir(outDir).filePath(QStringLiteral("report.pdf")));
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !pdf.open(QIODevice::ReadOnly))
        throw KorvanError(
            QStringLiteral("LibreOffice не смогла преобразовать отчет в PDF.\n%1").arg(lastLines(output)));
    const QByteArray bytes = pdf.readAll();
    if (!bytes.startsWith("%PDF"))
        throw KorvanError(QStringLiteral("LibreOffice не смогла преобразовать отчет в PDF: получен не PDF-файл."));

    writeOutputFile(pdfPath, bytes);
    if (progress)
        progress(ProgressScale, ProgressScale);
}

void ExportProjectReportPdf(TDataModule1 &data, bool allVariants, const QString &pdfPath,
                            const ReportFeedback &feedback)
{
    checkOutputFile(pdfPath);
    QTemporaryDir work;
    if (!work.isValid())
        throw KorvanError(QStringLiteral("Не удалось создать временную папку для отчета."));
    // One bar for both: the report fills its share, the conversion the rest; it never goes back.
    int shown = 0;
    const auto show = [&](int value) {
        shown = std::max(shown, std::min(value, ProgressScale));
        if (feedback.progress)
            feedback.progress(shown, ProgressScale);
    };
    ReportFeedback reportFeedback;
    reportFeedback.progress = [&](int value, int maximum) {
        if (maximum > 0)
            show(ReportShare * value / maximum);
    };
    if (feedback.busy)
        feedback.busy(true);
    try {
        if (feedback.progress)
            feedback.progress(0, ProgressScale);
        WordApplication word;
        const QString docx = work.filePath(QStringLiteral("report.docx"));
        word.setTargetFile(docx);
        ExportProjectReport(data, word, allVariants, reportFeedback);
        ConvertToPdf(docx, pdfPath, [&](int value, int maximum) {
            show(ReportShare + (ProgressScale - ReportShare) * value / std::max(1, maximum));
        });
    } catch (...) {
        if (feedback.progress)
            feedback.progress(0, ProgressScale);
        if (feedback.busy)
            feedback.busy(false);
        throw;
    }
    if (feedback.progress)
        feedback.progress(0, ProgressScale);
    if (feedback.busy)
        feedback.busy(false);
}

} // namespace korvan
