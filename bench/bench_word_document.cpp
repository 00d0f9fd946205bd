// Builds a document the size of a large project report through the selection, then saves it,
// and prints how long each step took.
#include "reports/WordDocument.h"
#include "reports/WordLayer.h"
#include "reports/WordFont.h"
#include "reports/WordParagraphFormat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int blocks = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100;

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
