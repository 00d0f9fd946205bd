#include "core/reports/WordLayer.h"

#include "core/Messages.h"
#include "core/reports/PageMargins.h"
#include "core/reports/word/WordDocument.h"
#include "core/reports/word/WordFont.h"
#include "core/reports/word/WordParagraphFormat.h"
#include "core/reports/WordApplication.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace korvan {

namespace {

const QString CyrFont = QStringLiteral("Times New Roman Cyr");
const QString HeadingFont = QStringLiteral("Times New Roman");

WordSelection &selection(WordApplication &word) { return word.activeDocument().selection(); }

bool storyHasPageField(const WordStory &story)
{
    for (const WordStory::Paragraph &p : story.paragraphs())
        for (const WordStory::Glyph &g : p.glyphs)
            if (g.ch == WordStory::FieldChar && g.object == wdFieldPage)
                return true;
    return false;
}

void addPageNumber(WordDocument &document, const QString &pageNum)
{
    const WdSeekView view =
        pageNum == QStringLiteral("в верхнем колонтитуле") ? wdSeekCurrentPageHeader : wdSeekCurrentPageFooter;
    // A report appended to the current document finds its page number already there; a second
    // field beside it would print every number twice.
    if (storyHasPageField(document.story(view)))
        return;
    document.seekView(view);
    WordSelection &sel = document.selection();
    sel.addField(wdFieldPage);
    sel.paragraphFormat().setAlignment(wdAlignParagraphCenter);
    document.seekView(wdSeekMainDocument);
}

} // namespace

float MillimetresToPoints(int millimetres)
{
    // Exact in integers: mm × 2836 thousandths of a point, so a half is a true half.
    const long long thousandths = (long long)millimetres * 2836;
    long long whole = thousandths / 1000;
    long long rest = thousandths % 1000;
    if (rest < 0) {
        --whole;
        rest += 1000;
    }
    if (rest > 500 || (rest == 500 && whole % 2 != 0))
        ++whole;
    return float(whole);
}

void OpenWordDocument(WordApplication &word)
{
    word.connect();
    if (word.documentsCount() == 0)
        word.addDocument();
}

void PrepareReportDocument(WordApplication &word, const ReportPageSettings &page)
{
    // Checked in the millimetres the user typed, before anything is written.
    if (const auto problem = checkPageMargins(page))
        throw KorvanError(problem->message);
    word.connect();
    if (word.documentsCount() == 0 || page.wordDoc == QStringLiteral("новый"))
        word.addDocument();
    WordDocument &document = word.activeDocument();

    WordFont font = document.selection().font();
    font.setName(CyrFont);
    font.setSize(12);

    WordPageSetup &setup = document.pageSetup();
    if (page.paperSize == QLatin1String("A3"))
        setup.setPaperSize(wdPaperA3);
    else if (page.paperSize == QLatin1String("A4"))
        setup.setPaperSize(wdPaperA4);
    else if (page.paperSize == QLatin1String("A5"))
        setup.setPaperSize(wdPaperA5);
    if (page.paperOrient == QStringLiteral("книжная"))
        setup.setOrientation(wdOrientPortrait);
    else if (page.paperOrient == QStringLiteral("альбомная"))
        setup.setOrientation(wdOrientLandscape);
    setup.setTopMargin(MillimetresToPoints(page.topMargin));
    setup.setBottomMargin(MillimetresToPoints(page.bottomMargin));
    setup.setLeftMargin(MillimetresToPoints(page.leftMargin));
    setup.setRightMargin(MillimetresToPoints(page.rightMargin));
    setup.setHeaderDistance(MillimetresToPoints(page.headerDistance));
    setup.setFooterDistance(MillimetresToPoints(page.footerDistance));

    if (page.pageNum != QStringLiteral("нет"))
        addPageNumber(document, page.pageNum);
}

void DisconnectWord(WordApplication &word, bool exportFailed) { word.disconnect(exportFailed); }

void InsertWordText(WordApplication &word, const QString &text) { selection(word).insertAfter(text); }

void WriteWordText(WordApplication &word, const QString &text)
{
    WordSelection &sel = selection(word);
    sel.insertAfter(text);
    WordFont font = sel.font();
    font.setName(CyrFont);
    font.setSize(12);
    font.setSubscript(false);
    font.setSuperscript(false);
    sel.collapse(wdCollapseEnd);
}

void WriteWordSuperscript(WordApplication &word, const QString &text)
{
    WordSelection &sel = selection(word);
    sel.insertAfter(QStringLiteral(" ") + text);
    WordFont font = sel.font();
    font.setName(CyrFont);
    font.setSize(12);
    font.setSuperscript(true);
    sel.collapse(wdCollapseEnd);
}

void FormatWordSelection(WordApplication &word, const QString &fontName, int size, bool bold, bool italic)
{
    WordSelection &sel = selection(word);
    WordFont font = sel.font();
    font.setName(fontName);
    font.setSize(size);
    font.setBold(bold);
    font.setItalic(italic);
    sel.collapse(wdCollapseEnd);
}

void CollapseWordSelection(WordApplication &word, WdCollapseDirection direction)
{
    selection(word).collapse(direction);
}

void MoveWordSelectionDown(WordApplication &word, WdUnits unit, int count, WdMovementType extend)
{
    selection(word).moveDown(unit, count, extend);
}

void FinishReportTable(WordApplication &word, int columns, WdParagraphAlignment alignment, bool headerRow)
{
    FinishReportTable(selection(word), columns, alignment, headerRow);
}

void FinishReportTable(WordSelection &sel, int columns, WdParagraphAlignment alignment, bool headerRow)
{
    sel.convertToTable(wdSeparateByTabs, columns, 16);
    sel.font().setSize(12);
    sel.paragraphFormat().setAlignment(alignment);
    sel.autoFitCells();
    if (headerRow) {
        sel.collapse(wdCollapseStart);
        sel.selectRow();
        sel.setHeadingFormat(true);
    }
    // Every cell text ended in a tab, so the last one opened an extra row: remove it.
    sel.collapse(wdCollapseStart);
    sel.selectColumn();
    sel.collapse(wdCollapseEnd);
    sel.selectRow();
    sel.deleteRows();
    sel.moveDown(wdLine, 1, wdMove);
    sel.insertAfter(QStringLiteral("\r"));
    sel.collapse(wdCollapseEnd);
}

void InsertWordPicture(WordApplication &word, const QString &fileName)
{
    const QString path = QFileInfo(fileName).absoluteFilePath();
    WordSelection &sel = selection(word);
    sel.addPicture(path);
    if (QFile::exists(path))
        QFile::remove(path);
    sel.insertAfter(QStringLiteral("\r\r"));
    sel.collapse(wdCollapseEnd);
}

void WriteWordHeading(WordApplication &word, const QString &text, int size, int level)
{
    WordSelection &sel = selection(word);
    sel.insertAfter(text);
    sel.paragraphFormat().setKeepWithNext(true);
    if (level > 0)
        sel.paragraphFormat().setOutlineLevel(level);
    FormatWordSelection(word, HeadingFont, size, true, false);
}

void WriteWordParagraph(WordApplication &word, const QString &text, int size)
{
    selection(word).insertAfter(text);
    FormatWordSelection(word, HeadingFont, size, false, false);
}

void WriteWordLeadLine(WordApplication &word, const QString &text)
{
    WordStory &story = word.activeDocument().story(wdSeekMainDocument);
    const int first = story.paragraphAt(selection(word).start());
    WriteWordFormula(word, text);
    // Every paragraph of the line, up to the one the insertion point has moved on to.
    const int next = story.paragraphAt(selection(word).start());
    for (int i = first; i < next; ++i)
        story.setKeepWithNext(i, true);
}

void WriteWordFormula(WordApplication &word, const QString &text)
{
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype open = text.indexOf(QStringLiteral("^{"), from);
        const qsizetype close = open < 0 ? -1 : text.indexOf(u'}', open + 2);
        if (open < 0 || close < 0) {
            WriteWordText(word, text.mid(from));
            return;
        }
        if (open > from)
            WriteWordText(word, text.mid(from, open - from));
        WriteWordSuperscript(word, text.mid(open + 2, close - open - 2));
        from = close + 1;
    }
}

} // namespace korvan
