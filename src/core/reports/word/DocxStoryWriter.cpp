#include "core/reports/word/DocxStoryWriter.h"

#include "core/reports/word/FontMetrics.h"
#include "core/reports/word/WordDocument.h"

#include <QHash>
#include <algorithm>

namespace korvan {

using namespace docx;

namespace {

// What a cell adds to its text: the left and right cell margins, the borders and a little for
// rounding in the word processor.
constexpr int CellPaddingTwips = 2 * CellMarginTwips + 30;

// The width of a cell paragraph's text, whole and by its longest word, in ems: measured with the
// metrics of the document's font (Times New Roman), bold where the text is bold.
struct TextWidths {
    double whole = 0;
    double longestWord = 0;
    bool severalWords = false;
};

TextWidths measure(const WordStory &story, const WordStory::Paragraph &p)
{
    TextWidths result;
    double word = 0;
    for (const WordStory::Glyph &g : p.glyphs) {
        if (g.ch == u' ' || g.ch == WordStory::TabChar || g.ch == WordStory::LineBreakChar) {
            result.longestWord = std::max(result.longestWord, word);
            result.severalWords = result.severalWords || word > 0;
            word = 0;
            result.whole += g.ch == u' ' ? FontMetrics::times(story.format(g.format).bold).advance(u' ') / 1000.0 : 0;
            continue;
        }
        const double ems = FontMetrics::times(story.format(g.format).bold).advance(g.ch) / 1000.0;
        word += ems;
        result.whole += ems;
    }
    result.longestWord = std::max(result.longestWord, word);
    result.severalWords = result.severalWords && word > 0;
    return result;
}

// Text without blanks at its ends or two in a row needs no xml:space.
bool needsPreserve(const QString &text)
{
    return text.startsWith(u' ') || text.endsWith(u' ') || text.contains(QLatin1String("  "));
}

} // namespace

DocxStoryWriter::DocxStoryWriter(const WordDocument &document, const WordStory &story, const WordPageSetup &page,
                                 SectionWriter sectionWriter)
    : m_document(document), m_story(story), m_sectionWriter(std::move(sectionWriter))
{
    const auto &paragraphs = story.paragraphs();
    for (int i = 0; i < paragraphs.size(); ++i) {
        const int t = paragraphs[i].table;
        if (t < 0)
            continue;
        if (m_spans.size() <= t)
            m_spans.resize(t + 1, TableSpan{-1, -1});
        if (m_spans[t].first < 0)
            m_spans[t].first = i;
        m_spans[t].last = i;
    }
    m_layouts.resize(m_spans.size());

    const int textWidth = std::max(720, twips(page.textWidth()));
    int landscapeWidth = 0;
    if (m_sectionWriter && page.orientation() == wdOrientPortrait) {
        WordPageSetup turned = page;
        turned.setOrientation(wdOrientLandscape);
        landscapeWidth = std::max(720, twips(turned.textWidth()));
    }
    for (int t = 0; t < m_spans.size(); ++t) {
        if (m_spans[t].first < 0)
            continue;
        const WordStory::Table &table = story.table(t);
        if (!table.autoFit) {
            m_layouts[t].widths = QVector<int>(table.columns, std::max(1, twips(table.initialColumnWidth)));
            continue;
        }
        QVector<ColumnNeeds> needs(table.columns);
        int halfPoints = 0;
        for (int i = m_spans[t].first; i <= m_spans[t].last; ++i) {
            const WordStory::Paragraph &p = paragraphs[i];
            halfPoints = std::max(halfPoints, story.format(p.markFormat).halfPoints);
            for (const WordStory::Glyph &g : p.glyphs)
                halfPoints = std::max(halfPoints, story.format(g.format).halfPoints);
            const TextWidths w = measure(story, p);
            ColumnNeeds &c = needs[p.column];
            if (p.row < table.headingRows) {
                c.header = std::max(c.header, w.whole);
                c.headerWord = std::max(c.headerWord, w.longestWord);
            } else if (w.severalWords) {
                c.prose = std::max(c.prose, w.whole);
                c.longestWord = std::max(c.longestWord, w.longestWord);
            } else {
                c.unbreakable = std::max(c.unbreakable, w.whole);
            }
        }
        m_layouts[t] = fitTable(needs, halfPoints, CellPaddingTwips, textWidth, landscapeWidth);
    }
}

std::optional<DocxStyles::ParagraphFormat> DocxStoryWriter::commonestFormat() const
{
    QHash<qint64, int> counts;
    for (const WordStory::Paragraph &p : m_story.paragraphs()) {
        const int halfPoints = p.inTable() ? m_layouts[p.table].halfPoints : 0;
        ++counts[(qint64(p.markFormat) * 8 + int(p.alignment)) * 256 + halfPoints];
    }
    if (counts.isEmpty())
        return std::nullopt;
    // Ties go to the smaller key, so that the same document is always written the same way.
    qint64 key = counts.cbegin().key();
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > counts.value(key) || (it.value() == counts.value(key) && it.key() < key))
            key = it.key();
    }
    return DocxStyles::ParagraphFormat{resized(int(key / 256 / 8), int(key % 256)),
                                       alignmentValue(WdParagraphAlignment(key / 256 % 8))};
}

void DocxStoryWriter::write(const Output &output)
{
    m_out = &output;
    const auto &paragraphs = m_story.paragraphs();
    QXmlStreamWriter &xml = output.xml;
    bool afterTable = false;
    // Landscape sections: their first paragraph and their last.
    QHash<int, int> sections;
    for (const TableSpan &section : landscapeSections())
        sections.insert(section.first, section.last);
    m_endsLandscape = false;
    int sectionEnd = -1; // the last paragraph of the landscape section being written
    // The blank paragraphs a body ends with are one point high: at the foot of a full page they
    // would otherwise carry an empty line over to a page of its own.
    const int end = int(paragraphs.size());
    int trailing = end;
    if (m_sectionWriter) {
        while (trailing > 1 && !paragraphs[trailing - 1].inTable() && paragraphs[trailing - 1].glyphs.isEmpty())
            --trailing;
    }
    for (int i = 0; i < end;) {
        if (sectionEnd < 0 && sections.contains(i)) {
            if (i > 0)
                writeSectionBreak(false);
            sectionEnd = sections.value(i);
            afterTable = false;
        }
        int next = i + 1;
        if (i >= trailing) {
            start(xml, QStringLiteral("w:p"));
            writeHairlineProperties(xml);
            xml.writeEndElement(); // w:pPr
            xml.writeEndElement(); // w:p
            afterTable = false;
        } else if (!paragraphs[i].inTable()) {
            // The blank paragraph between a table and its legend keeps them together.
            const bool keep =
                paragraphs[i].keepWithNext || (i > 0 && paragraphs[i - 1].inTable() && legendFollows(i - 1));
            writeParagraph(paragraphs[i], keep, 0);
            afterTable = false;
        } else {
            if (afterTable) // two tables in a row would merge into one
                empty(xml, QStringLiteral("w:p"));
            const TableSpan span = m_spans[paragraphs[i].table];
            writeTable(span, legendFollows(span.last));
            afterTable = true;
            next = span.last + 1;
        }
        if (sectionEnd >= 0 && next >= end) {
            // The body's own section properties close the landscape section.
            m_endsLandscape = true;
            sectionEnd = -1;
        } else if (sectionEnd >= 0 && next > sectionEnd) {
            writeSectionBreak(true);
            sectionEnd = -1;
            afterTable = false;
        }
        i = next;
    }
    if (afterTable && m_sectionWriter) {
        // A body ends with a paragraph: after a table that fills its page, a line of one point.
        start(xml, QStringLiteral("w:p"));
        writeHairlineProperties(xml);
        xml.writeEndElement(); // w:pPr
        xml.writeEndElement(); // w:p
    } else if (afterTable) {   // a header or footer ends with a paragraph
        empty(xml, QStringLiteral("w:p"));
    }
    m_out = nullptr;
}

void DocxStoryWriter::writeHairlineProperties(QXmlStreamWriter &xml)
{
    start(xml, QStringLiteral("w:pPr"));
    empty(xml, QStringLiteral("w:spacing"),
          {{QStringLiteral("w:before"), QStringLiteral("0")},
           {QStringLiteral("w:after"), QStringLiteral("0")},
           {QStringLiteral("w:line"), QStringLiteral("20")},
           {QStringLiteral("w:lineRule"), QStringLiteral("exact")}});
    start(xml, QStringLiteral("w:rPr"));
    empty(xml, QStringLiteral("w:sz"), {{QStringLiteral("w:val"), QStringLiteral("2")}});
    xml.writeEndElement(); // w:rPr
}

void DocxStoryWriter::writeSectionBreak(bool landscape)
{
    // The paragraph that ends a section is one point high: at the foot of a full page it must
    // not carry over to a page of its own.
    QXmlStreamWriter &xml = m_out->xml;
    start(xml, QStringLiteral("w:p"));
    writeHairlineProperties(xml);
    m_sectionWriter(xml, landscape);
    xml.writeEndElement(); // w:pPr
    xml.writeEndElement(); // w:p
}

QVector<DocxStoryWriter::TableSpan> DocxStoryWriter::landscapeSections() const
{
    const auto &paragraphs = m_story.paragraphs();
    QVector<TableSpan> sections;
    for (int t = 0; t < m_spans.size(); ++t) {
        if (m_spans[t].first >= 0 && m_layouts[t].landscape)
            sections.append(landscapeSection(m_spans[t]));
    }
    std::sort(sections.begin(), sections.end(),
              [](const TableSpan &a, const TableSpan &b) { return a.first < b.first; });
    // Only blank paragraphs between two of them, before the first or after the last would make a
    // section of the page's own orientation with nothing on it: a blank page. They go with the
    // landscape section instead.
    const auto blank = [&paragraphs](int from, int to) {
        for (int i = from; i <= to; ++i) {
            if (paragraphs[i].inTable() || !paragraphs[i].glyphs.isEmpty())
                return false;
        }
        return true;
    };
    QVector<TableSpan> merged;
    for (const TableSpan &s : sections) {
        if (!merged.isEmpty() && blank(merged.last().last + 1, s.first - 1))
            merged.last().last = std::max(merged.last().last, s.last);
        else
            merged.append(s);
    }
    if (!merged.isEmpty()) {
        if (blank(0, merged.first().first - 1))
            merged.first().first = 0;
        // (the blank paragraphs at the very end go with it)
        if (blank(merged.last().last + 1, int(paragraphs.size()) - 1))
            merged.last().last = int(paragraphs.size()) - 1;
    }
    return merged;
}

bool DocxStoryWriter::legendFollows(int lastOfTable) const
{
    // A legend opens with "где" on a line of its own, kept with the lines below it.
    const auto &paragraphs = m_story.paragraphs();
    const int blank = lastOfTable + 1;
    if (blank + 1 >= paragraphs.size() || paragraphs[blank].inTable() || !paragraphs[blank].glyphs.isEmpty())
        return false;
    const WordStory::Paragraph &opening = paragraphs[blank + 1];
    static const QString Where = QStringLiteral("где");
    if (opening.inTable() || !opening.keepWithNext || opening.glyphs.size() != Where.size())
        return false;
    for (qsizetype k = 0; k < Where.size(); ++k) {
        if (opening.glyphs[k].ch != Where[k].unicode())
            return false;
    }
    return true;
}

DocxStoryWriter::TableSpan DocxStoryWriter::landscapeSection(const TableSpan &table) const
{
    const auto &paragraphs = m_story.paragraphs();
    TableSpan section = table;
    while (section.first > 0 && !paragraphs[section.first - 1].inTable() && paragraphs[section.first - 1].keepWithNext)
        --section.first;
    if (legendFollows(table.last)) {
        section.last = table.last + 2;
        while (section.last + 1 < paragraphs.size() && paragraphs[section.last].keepWithNext &&
               !paragraphs[section.last + 1].inTable())
            ++section.last;
    }
    return section;
}

QString DocxStoryWriter::pictureName(int index) const
{
    return QStringLiteral("image%1.%2").arg(index + 1).arg(m_document.pictures()[index].extension());
}

CharacterFormat DocxStoryWriter::resized(int format, int halfPoints) const
{
    CharacterFormat f = m_story.format(format);
    if (halfPoints > 0)
        f.halfPoints = halfPoints;
    return f;
}

void DocxStoryWriter::writeParagraph(const WordStory::Paragraph &paragraph, bool keepWithNext, int halfPoints)
{
    QXmlStreamWriter &xml = m_out->xml;
    const CharacterFormat mark = resized(paragraph.markFormat, halfPoints);
    start(xml, QStringLiteral("w:p"));
    const QString style = m_out->styles.paragraphStyle({mark, alignmentValue(paragraph.alignment)},
                                                       paragraph.inTable() ? 0 : paragraph.outlineLevel);
    if (!style.isEmpty() || keepWithNext) {
        start(xml, QStringLiteral("w:pPr"));
        if (!style.isEmpty())
            empty(xml, QStringLiteral("w:pStyle"), {{QStringLiteral("w:val"), style}});
        if (keepWithNext)
            empty(xml, QStringLiteral("w:keepNext"));
        xml.writeEndElement(); // w:pPr
    }

    const auto &glyphs = paragraph.glyphs;
    for (qsizetype i = 0; i < glyphs.size();) {
        const WordStory::Glyph &g = glyphs[i];
        if (g.ch == WordStory::PictureChar) {
            writePicture(g, mark);
            ++i;
        } else if (g.ch == WordStory::FieldChar) {
            writeField(g, mark);
            ++i;
        } else {
            qsizetype end = i + 1;
            while (end < glyphs.size() && glyphs[end].ch != WordStory::PictureChar &&
                   glyphs[end].ch != WordStory::FieldChar &&
                   (glyphs[end].format == g.format ||
                    // never split a surrogate pair between runs
                    (QChar::isLowSurrogate(glyphs[end].ch) && QChar::isHighSurrogate(glyphs[end - 1].ch))))
                ++end;
            writeTextRun(glyphs, i, end, mark, halfPoints);
            i = end;
        }
    }
    xml.writeEndElement(); // w:p
}

// Opens a run: in its paragraph's format it needs no properties, otherwise it names its style.
void DocxStoryWriter::writeRun(const CharacterFormat &format, const CharacterFormat &paragraphFormat)
{
    QXmlStreamWriter &xml = m_out->xml;
    start(xml, QStringLiteral("w:r"));
    if (format == paragraphFormat)
        return;
    start(xml, QStringLiteral("w:rPr"));
    empty(xml, QStringLiteral("w:rStyle"), {{QStringLiteral("w:val"), m_out->styles.characterStyle(format)}});
    xml.writeEndElement(); // w:rPr
}

void DocxStoryWriter::writeText(const QString &text)
{
    if (text.isEmpty())
        return;
    QXmlStreamWriter &xml = m_out->xml;
    if (needsPreserve(text))
        start(xml, QStringLiteral("w:t"), {{QStringLiteral("xml:space"), QStringLiteral("preserve")}});
    else
        start(xml, QStringLiteral("w:t"));
    xml.writeCharacters(text);
    xml.writeEndElement();
}

void DocxStoryWriter::writeTextRun(const QVector<WordStory::Glyph> &glyphs, qsizetype from, qsizetype to,
                                   const CharacterFormat &paragraphFormat, int halfPoints)
{
    QXmlStreamWriter &xml = m_out->xml;
    writeRun(resized(glyphs[from].format, halfPoints), paragraphFormat);
    QString text;
    text.reserve(to - from);
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = glyphs[i].ch;
        if (c == WordStory::TabChar || c == WordStory::LineBreakChar || c == WordStory::PageBreakChar) {
            writeText(text);
            text.clear();
            if (c == WordStory::TabChar)
                empty(xml, QStringLiteral("w:tab"));
            else if (c == WordStory::LineBreakChar)
                empty(xml, QStringLiteral("w:br"));
            else
                empty(xml, QStringLiteral("w:br"), {{QStringLiteral("w:type"), QStringLiteral("page")}});
        } else {
            text.append(QChar(c));
        }
    }
    writeText(text);
    xml.writeEndElement(); // w:r
}

void DocxStoryWriter::writeContents(const WordStory::Glyph &g, const CharacterFormat &paragraphFormat)
{
    QXmlStreamWriter &xml = m_out->xml;
    const auto fieldChar = [&](const QString &type) {
        writeRun(m_story.format(g.format), paragraphFormat);
        empty(xml, QStringLiteral("w:fldChar"), {{QStringLiteral("w:fldCharType"), type}});
        xml.writeEndElement(); // w:r
    };
    fieldChar(QStringLiteral("begin"));
    writeRun(m_story.format(g.format), paragraphFormat);
    start(xml, QStringLiteral("w:instrText"), {{QStringLiteral("xml:space"), QStringLiteral("preserve")}});
    xml.writeCharacters(QStringLiteral(" TOC \\o \"1-2\" \\h \\z \\u "));
    xml.writeEndElement(); // w:instrText
    xml.writeEndElement(); // w:r
    fieldChar(QStringLiteral("separate"));
    // The list as it stands when written, one entry a paragraph, without page numbers (only the
    // word processor knows them): Word brings it up to date on opening (updateFields).
    bool first = true;
    for (const WordStory::Paragraph &p : m_story.paragraphs()) {
        if (p.outlineLevel <= 0 || p.outlineLevel > 2 || p.inTable())
            continue;
        QString text;
        for (const WordStory::Glyph &h : p.glyphs) {
            if (h.ch >= 0x20)
                text.append(QChar(h.ch));
        }
        if (!first) {
            xml.writeEndElement(); // w:p
            start(xml, QStringLiteral("w:p"));
            start(xml, QStringLiteral("w:pPr"));
            empty(xml, QStringLiteral("w:pStyle"),
                  {{QStringLiteral("w:val"), QStringLiteral("TOC%1").arg(p.outlineLevel)}});
            xml.writeEndElement(); // w:pPr
        }
        first = false;
        writeRun(m_story.format(g.format), paragraphFormat);
        writeText(text.trimmed());
        xml.writeEndElement(); // w:r
    }
    fieldChar(QStringLiteral("end"));
}

void DocxStoryWriter::writeField(const WordStory::Glyph &g, const CharacterFormat &paragraphFormat)
{
    if (g.object == wdFieldTOC) {
        m_hasContents = true;
        writeContents(g, paragraphFormat);
        return;
    }
    QXmlStreamWriter &xml = m_out->xml;
    // Only the page number exists; Word and LibreOffice put the real number in on layout.
    start(xml, QStringLiteral("w:fldSimple"), {{QStringLiteral("w:instr"), QStringLiteral(" PAGE ")}});
    writeRun(m_story.format(g.format), paragraphFormat);
    writeText(QStringLiteral("1"));
    xml.writeEndElement(); // w:r
    xml.writeEndElement(); // w:fldSimple
}

void DocxStoryWriter::writePicture(const WordStory::Glyph &g, const CharacterFormat &paragraphFormat)
{
    const int index = g.object;
    const WordPicture &picture = m_document.pictures()[index];
    m_out->usedPictures.insert(index);
    const QString id = QStringLiteral("rId%1").arg(m_out->relationships.size() + 1);
    m_out->relationships.append({id, RelImage, QStringLiteral("media/") + pictureName(index)});
    const QString drawingId = number(++m_out->drawingId);
    const QString cx = number(picture.widthEmu());
    const QString cy = number(picture.heightEmu());
    const QString zero = QStringLiteral("0");
    QXmlStreamWriter &xml = m_out->xml;

    writeRun(m_story.format(g.format), paragraphFormat);
    start(xml, QStringLiteral("w:drawing"));
    start(xml, QStringLiteral("wp:inline"),
          {{QStringLiteral("distT"), zero},
           {QStringLiteral("distB"), zero},
           {QStringLiteral("distL"), zero},
           {QStringLiteral("distR"), zero}});
    empty(xml, QStringLiteral("wp:extent"), {{QStringLiteral("cx"), cx}, {QStringLiteral("cy"), cy}});
    empty(xml, QStringLiteral("wp:effectExtent"),
          {{QStringLiteral("l"), zero},
           {QStringLiteral("t"), zero},
           {QStringLiteral("r"), zero},
           {QStringLiteral("b"), zero}});
    empty(xml, QStringLiteral("wp:docPr"),
          {{QStringLiteral("id"), drawingId}, {QStringLiteral("name"), QStringLiteral("Рисунок ") + drawingId}});
    start(xml, QStringLiteral("wp:cNvGraphicFramePr"));
    empty(xml, QStringLiteral("a:graphicFrameLocks"),
          {{QStringLiteral("xmlns:a"), NsA}, {QStringLiteral("noChangeAspect"), QStringLiteral("1")}});
    xml.writeEndElement(); // wp:cNvGraphicFramePr
    start(xml, QStringLiteral("a:graphic"), {{QStringLiteral("xmlns:a"), NsA}});
    start(xml, QStringLiteral("a:graphicData"), {{QStringLiteral("uri"), NsPic}});
    start(xml, QStringLiteral("pic:pic"), {{QStringLiteral("xmlns:pic"), NsPic}});
    start(xml, QStringLiteral("pic:nvPicPr"));
    empty(xml, QStringLiteral("pic:cNvPr"),
          {{QStringLiteral("id"), zero}, {QStringLiteral("name"), pictureName(index)}});
    empty(xml, QStringLiteral("pic:cNvPicPr"));
    xml.writeEndElement(); // pic:nvPicPr
    start(xml, QStringLiteral("pic:blipFill"));
    empty(xml, QStringLiteral("a:blip"), {{QStringLiteral("r:embed"), id}});
    start(xml, QStringLiteral("a:stretch"));
    empty(xml, QStringLiteral("a:fillRect"));
    xml.writeEndElement(); // a:stretch
    xml.writeEndElement(); // pic:blipFill
    start(xml, QStringLiteral("pic:spPr"));
    start(xml, QStringLiteral("a:xfrm"));
    empty(xml, QStringLiteral("a:off"), {{QStringLiteral("x"), zero}, {QStringLiteral("y"), zero}});
    empty(xml, QStringLiteral("a:ext"), {{QStringLiteral("cx"), cx}, {QStringLiteral("cy"), cy}});
    xml.writeEndElement(); // a:xfrm
    start(xml, QStringLiteral("a:prstGeom"), {{QStringLiteral("prst"), QStringLiteral("rect")}});
    empty(xml, QStringLiteral("a:avLst"));
    xml.writeEndElement(); // a:prstGeom
    xml.writeEndElement(); // pic:spPr
    xml.writeEndElement(); // pic:pic
    xml.writeEndElement(); // a:graphicData
    xml.writeEndElement(); // a:graphic
    xml.writeEndElement(); // wp:inline
    xml.writeEndElement(); // w:drawing
    xml.writeEndElement(); // w:r
}

void DocxStoryWriter::writeTable(const TableSpan &span, bool keepLastRow)
{
    QXmlStreamWriter &xml = m_out->xml;
    const auto &paragraphs = m_story.paragraphs();
    const int table = paragraphs[span.first].table;
    const WordStory::Table &t = m_story.table(table);
    const TableLayout &layout = m_layouts[table];

    start(xml, QStringLiteral("w:tbl"));
    start(xml, QStringLiteral("w:tblPr"));
    empty(xml, QStringLiteral("w:tblW"),
          {{QStringLiteral("w:w"), number(layout.width())}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    start(xml, QStringLiteral("w:tblBorders"));
    for (const char *side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"})
        empty(xml, QString::fromLatin1(side),
              {{QStringLiteral("w:val"), QStringLiteral("single")},
               {QStringLiteral("w:sz"), QStringLiteral("4")},
               {QStringLiteral("w:space"), QStringLiteral("0")},
               {QStringLiteral("w:color"), QStringLiteral("auto")}});
    xml.writeEndElement(); // w:tblBorders
    // The widths are final: a word processor must not widen a column past them.
    empty(xml, QStringLiteral("w:tblLayout"), {{QStringLiteral("w:type"), QStringLiteral("fixed")}});
    start(xml, QStringLiteral("w:tblCellMar"));
    empty(xml, QStringLiteral("w:left"),
          {{QStringLiteral("w:w"), number(CellMarginTwips)}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(xml, QStringLiteral("w:right"),
          {{QStringLiteral("w:w"), number(CellMarginTwips)}, {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    xml.writeEndElement(); // w:tblCellMar
    xml.writeEndElement(); // w:tblPr
    start(xml, QStringLiteral("w:tblGrid"));
    for (const int w : layout.widths)
        empty(xml, QStringLiteral("w:gridCol"), {{QStringLiteral("w:w"), number(w)}});
    xml.writeEndElement(); // w:tblGrid

    // Paragraphs of a table run row by row and cell by cell; every cell has at least one. Rows
    // never split across pages; the header row repeats on each page and stays with the first row
    // below it; the last row stays with the legend below the table.
    const int lastRow = paragraphs[span.last].row;
    for (int i = span.first; i <= span.last;) {
        const int row = paragraphs[i].row;
        const bool heading = row < t.headingRows;
        const bool keep = (heading && row < lastRow) || (keepLastRow && row == lastRow);
        start(xml, QStringLiteral("w:tr"));
        start(xml, QStringLiteral("w:trPr"));
        empty(xml, QStringLiteral("w:cantSplit"));
        if (heading)
            empty(xml, QStringLiteral("w:tblHeader"));
        xml.writeEndElement(); // w:trPr
        while (i <= span.last && paragraphs[i].row == row) {
            const int column = paragraphs[i].column;
            start(xml, QStringLiteral("w:tc"));
            // The first row carries the widths, for word processors that size columns by cells.
            if (i == span.first || row == paragraphs[span.first].row) {
                start(xml, QStringLiteral("w:tcPr"));
                empty(xml, QStringLiteral("w:tcW"),
                      {{QStringLiteral("w:w"), number(layout.widths.value(column))},
                       {QStringLiteral("w:type"), QStringLiteral("dxa")}});
                xml.writeEndElement(); // w:tcPr
            }
            while (i <= span.last && paragraphs[i].row == row && paragraphs[i].column == column)
                writeParagraph(paragraphs[i++], keep, layout.halfPoints);
            xml.writeEndElement(); // w:tc
        }
        xml.writeEndElement(); // w:tr
    }
    xml.writeEndElement(); // w:tbl
}

} // namespace korvan
