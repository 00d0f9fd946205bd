// Writes the full report of a large project (96 periods, 20 variants) and prints its time, the
// memory it took and the size of its main part; then builds a document of the same order through
// the selection alone, saves it, and prints how long each step took.
#include "BenchTimer.h"
#include "core/reports/ProjectReport.h"
#include "core/reports/word/DocxWriter.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/word/WordFont.h"
#include "core/reports/word/WordParagraphFormat.h"
#include "core/reports/WordApplication.h"
#include "core/reports/WordLayer.h"
#include "LargeProject.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

using namespace korvan;

namespace {

void write(WordSelection &sel, const QString &text, bool superscript)
{
    sel.insertAfter(text);
    WordFont font = sel.font();
    font.setName(QStringLiteral("Times New Roman Cyr"));
    font.setSize(12);
    font.setSuperscript(superscript);
    sel.collapse(wdCollapseEnd);
}

void table(WordSelection &sel, int rows, int columns)
{
    QString cells;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c)
            cells += QStringLiteral("%1,%2\t").arg(r * 12.5).arg(c);
    }
    sel.insertAfter(cells);
    FinishReportTable(sel, columns, wdAlignParagraphCenter);
}

// The process's resident memory in KiB: now, or its peak so far.
long memoryKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').first().toLong();
    }
    return 0;
}

void largeReport()
{
    QTemporaryDir dir;
    auto store = Store::open(dir.path());
    TDataModule1 data(*store);
    bench::addLargeProject(data, bench::addTypes(data));
    data.TableReport->first(); // "Полный отчет"

    const long before = memoryKiB("VmRSS:");
    WordApplication word;
    const bench::Elapsed report = bench::timed([&] {
        word.setTargetFile(dir.filePath(QStringLiteral("report.docx")));
        ExportProjectReport(data, word, true);
    });
    const long peak = memoryKiB("VmHWM:");

    qint64 documentXml = 0;
    QList<std::pair<QString, QByteArray>> parts;
    const bench::Elapsed writing = bench::timed([&] { parts = DocxWriter(word.activeDocument()).parts(); });
    for (const auto &[name, bytes] : parts) {
        if (name == QLatin1String("word/document.xml"))
            documentXml = bytes.size();
    }
    std::printf("report of 96 periods x 20 variants (%s), ms by the clock / of the processor: %.0f / %.0f "
                "(writing the parts alone %.0f / %.0f), %.1f MiB, document.xml %.1f MB, file %.1f MB\n",
                qPrintable(data.TableReport->asString(QStringLiteral("Name"))), report.wallMs, report.cpuMs,
                writing.wallMs, writing.cpuMs, (peak - before) / 1024.0, documentXml / 1e6,
                QFileInfo(dir.filePath(QStringLiteral("report.docx"))).size() / 1e6);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int blocks = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;
    largeReport();

    QElapsedTimer timer;
    timer.start();
    WordDocument doc;
    WordSelection &sel = doc.selection();
    for (int b = 0; b < blocks; ++b) {
        table(sel, 24, 17);
        for (int line = 0; line < 20; ++line) {
            write(sel, QStringLiteral("S = (%1").arg(line), false);
            write(sel, QStringLiteral(" 2"), true);
            write(sel, QStringLiteral(" + 60"), false);
            write(sel, QStringLiteral(" 2"), true);
            write(sel, QStringLiteral(")"), false);
            write(sel, QStringLiteral(" 1/2"), true);
            write(sel, QStringLiteral(" = 116,62 кВА.\r"), false);
        }
    }
    const qint64 built = timer.restart();

    QTemporaryDir dir;
    doc.save(dir.filePath(QStringLiteral("bench.docx")));
    const qint64 saved = timer.elapsed();

    std::printf("%d blocks (%lld paragraphs): built in %lld ms, saved in %lld ms\n", blocks,
                qint64(doc.story(wdSeekMainDocument).paragraphs().size()), built, saved);
    return 0;
}
