#include "reports/DocxStoryWriter.h"

#include "reports/WordDocument.h"

#include <algorithm>
#include <cmath>

namespace korvan {

using namespace docx;

namespace {

QString alignmentValue(WdParagraphAlignment alignment)
{
    switch (alignment) {
    case wdAlignParagraphCenter:
        return QStringLiteral("center");
    case wdAlignParagraphRight:
        return QStringLiteral("right");
    case wdAlignParagraphJustify:
        return QStringLiteral("both");
    case wdAlignParagraphLeft:
        break;
    }
    return QString();
}

// Advance widths of the Times family in thousandths of an em, for the characters the reports
// write most: digits, punctuation, Latin and Cyrillic letters. Others count as 0.6 em.
int advanceWidth(char16_t ch)
{
    static const char *const latinLower = "444500444500444333500500278278500278778500500500500333389278500500722500500444";
    static const char *const latinUpper = "722667667722611556722722333389722611889722722556722667556611722722944722722611";
    static const short cyrillicUpper[32] = {722, 574, 667, 578, 682, 611, 899, 525, 722, 722, 667, 678, 889, 722, 722, 722,
                                            556, 667, 611, 722, 757, 722, 722, 667, 1009, 1009, 736, 889, 574, 667, 1012, 656};
    static const short cyrillicLower[32] = {444, 509, 472, 410, 509, 444, 691, 395, 535, 535, 486, 499, 633, 535, 500, 535,
                                            500, 444, 437, 500, 648, 500, 535, 503, 770, 770, 517, 672, 456, 429, 747, 460};
    if (ch >= u'0' && ch <= u'9')
        return 500;
    if (ch >= u'a' && ch <= u'z')
        return (latinLower[(ch - u'a') * 3] - '0') * 100 + (latinLower[(ch - u'a') * 3 + 1] - '0') * 10 +
               (latinLower[(ch - u'a') * 3 + 2] - '0');
    if (ch >= u'A' && ch <= u'Z')
        return (latinUpper[(ch - u'A') * 3] - '0') * 100 + (latinUpper[(ch - u'A') * 3 + 1] - '0') * 10 +
               (latinUpper[(ch - u'A') * 3 + 2] - '0');
    if (ch >= 0x0410 && ch <= 0x042F)
        return cyrillicUpper[ch - 0x0410];
    if (ch >= 0x0430 && ch <= 0x044F)
        return cyrillicLower[ch - 0x0430];
    switch (ch) {
    case u' ':
    case u',':
    case u'.':
    case u';':
    case u':':
        return 250;
    case u'(':
    case u')':
    case u'-':
        return 333;
    case u'$':
        return 500;
    case u'/':
        return 278;
    default:
        return 600;
    }
}

// Estimated width of a text in twips, with a twentieth to spare for bold type and for a substitute
// font a little wider than Times, so that fitted columns rarely wrap.
int estimatedWidth(const WordStory &story, const QVector<WordStory::Glyph> &glyphs, qsizetype from,
                   qsizetype to)
{
    double width = 0;
    for (qsizetype i = from; i < to; ++i)
        width += story.format(glyphs[i].format).halfPoints * 10.0 * advanceWidth(glyphs[i].ch) / 1000.0;
    return int(std::ceil(width * 1.05));
}

} // namespace

DocxStoryWriter::DocxStoryWriter(const WordDocument &document, const WordStory &story, QXmlStreamWriter &xml,
                                 QVector<Relationship> &relationships, QSet<int> &usedPictures,
                                 int &drawingId)
    : m_document(document), m_story(story), m_xml(xml), m_relationships(relationships),
      m_usedPictures(usedPictures), m_drawingId(drawingId)
{
}

void DocxStoryWriter::writeRunProperties(QXmlStreamWriter &xml, const CharacterFormat &f)
{
    start(xml, QStringLiteral("w:rPr"));
    empty(xml, QStringLiteral("w:rFonts"),
          {{QStringLiteral("w:ascii"), f.name},
           {QStringLiteral("w:hAnsi"), f.name},
           {QStringLiteral("w:cs"), f.name}});
    if (f.bold)
        empty(xml, QStringLiteral("w:b"));
    if (f.italic)
        empty(xml, QStringLiteral("w:i"));
    empty(xml, QStringLiteral("w:sz"), {{QStringLiteral("w:val"), number(f.halfPoints)}});
    empty(xml, QStringLiteral("w:szCs"), {{QStringLiteral("w:val"), number(f.halfPoints)}});
    if (f.position != VerticalPosition::Baseline)
        empty(xml, QStringLiteral("w:vertAlign"),
              {{QStringLiteral("w:val"), f.position == VerticalPosition::Superscript
                                             ? QStringLiteral("superscript")
                                             : QStringLiteral("subscript")}});
    xml.writeEndElement();
}

void DocxStoryWriter::write()
{
    const auto &paragraphs = m_story.paragraphs();
    bool afterTable = false;
    for (int i = 0; i < paragraphs.size();) {
        if (!paragraphs[i].inTable()) {
            writeParagraph(paragraphs[i]);
            afterTable = false;
            ++i;
            continue;
        }
        if (afterTable) // two tables in a row would merge into one
            empty(m_xml, QStringLiteral("w:p"));
        int last = i;
        while (last + 1 < paragraphs.size() && paragraphs[last + 1].table == paragraphs[i].table)
            ++last;
        writeTable(i, last);
        afterTable = true;
        i = last + 1;
    }
    if (afterTable) // a body, header or footer ends with a paragraph
        empty(m_xml, QStringLiteral("w:p"));
}

QString DocxStoryWriter::pictureName(int index) const
{
    return QStringLiteral("image%1.%2").arg(index + 1).arg(m_document.pictures()[index].extension());
}

void DocxStoryWriter::writeParagraph(const WordStory::Paragraph &paragraph)
{
    start(m_xml, QStringLiteral("w:p"));
    start(m_xml, QStringLiteral("w:pPr"));
    const QString jc = alignmentValue(paragraph.alignment);
    if (!jc.isEmpty())
        empty(m_xml, QStringLiteral("w:jc"), {{QStringLiteral("w:val"), jc}});
    writeRunProperties(m_xml, m_story.format(paragraph.markFormat));
    m_xml.writeEndElement(); // w:pPr

    const auto &glyphs = paragraph.glyphs;
    for (qsizetype i = 0; i < glyphs.size();) {
        const WordStory::Glyph &g = glyphs[i];
        if (g.ch == WordStory::PictureChar) {
            writePicture(g);
            ++i;
        } else if (g.ch == WordStory::FieldChar) {
            writeField(g);
            ++i;
        } else {
            qsizetype end = i + 1;
            while (end < glyphs.size() && glyphs[end].ch != WordStory::PictureChar &&
                   glyphs[end].ch != WordStory::FieldChar &&
                   (glyphs[end].format == g.format ||
                    // never split a surrogate pair between runs
                    (QChar::isLowSurrogate(glyphs[end].ch) && QChar::isHighSurrogate(glyphs[end - 1].ch))))
                ++end;
            writeTextRun(glyphs, i, end);
            i = end;
        }
    }
    m_xml.writeEndElement(); // w:p
}

void DocxStoryWriter::writeText(const QString &text)
{
    if (text.isEmpty())
        return;
    start(m_xml, QStringLiteral("w:t"), {{QStringLiteral("xml:space"), QStringLiteral("preserve")}});
    m_xml.writeCharacters(text);
    m_xml.writeEndElement();
}

void DocxStoryWriter::writeTextRun(const QVector<WordStory::Glyph> &glyphs, qsizetype from, qsizetype to)
{
    start(m_xml, QStringLiteral("w:r"));
    writeRunProperties(m_xml, m_story.format(glyphs[from].format));
    QString text;
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = glyphs[i].ch;
        if (c == WordStory::TabChar || c == WordStory::LineBreakChar || c == WordStory::PageBreakChar) {
            writeText(text);
            text.clear();
            if (c == WordStory::TabChar)
                empty(m_xml, QStringLiteral("w:tab"));
            else if (c == WordStory::LineBreakChar)
                empty(m_xml, QStringLiteral("w:br"));
            else
                empty(m_xml, QStringLiteral("w:br"), {{QStringLiteral("w:type"), QStringLiteral("page")}});
        } else {
            text.append(QChar(c));
        }
    }
    writeText(text);
    m_xml.writeEndElement(); // w:r
}

void DocxStoryWriter::writeField(const WordStory::Glyph &g)
{
    // Only the page number exists; Word and LibreOffice put the real number in on layout.
    start(m_xml, QStringLiteral("w:fldSimple"), {{QStringLiteral("w:instr"), QStringLiteral(" PAGE ")}});
    start(m_xml, QStringLiteral("w:r"));
    writeRunProperties(m_xml, m_story.format(g.format));
    writeText(QStringLiteral("1"));
    m_xml.writeEndElement(); // w:r
    m_xml.writeEndElement(); // w:fldSimple
}

void DocxStoryWriter::writePicture(const WordStory::Glyph &g)
{
    const int index = g.object;
    const WordPicture &picture = m_document.pictures()[index];
    m_usedPictures.insert(index);
    const QString id = QStringLiteral("rId%1").arg(m_relationships.size() + 1);
    m_relationships.append({id, RelImage, QStringLiteral("media/") + pictureName(index)});
    const QString drawingId = number(++m_drawingId);
    const QString cx = number(picture.widthEmu());
    const QString cy = number(picture.heightEmu());
    const QString zero = QStringLiteral("0");

    start(m_xml, QStringLiteral("w:r"));
    writeRunProperties(m_xml, m_story.format(g.format));
    start(m_xml, QStringLiteral("w:drawing"));
    start(m_xml, QStringLiteral("wp:inline"),
          {{QStringLiteral("distT"), zero},
           {QStringLiteral("distB"), zero},
           {QStringLiteral("distL"), zero},
           {QStringLiteral("distR"), zero}});
    empty(m_xml, QStringLiteral("wp:extent"), {{QStringLiteral("cx"), cx}, {QStringLiteral("cy"), cy}});
    empty(m_xml, QStringLiteral("wp:effectExtent"),
          {{QStringLiteral("l"), zero},
           {QStringLiteral("t"), zero},
           {QStringLiteral("r"), zero},
           {QStringLiteral("b"), zero}});
    empty(m_xml, QStringLiteral("wp:docPr"),
          {{QStringLiteral("id"), drawingId},
           {QStringLiteral("name"), QStringLiteral("Рисунок ") + drawingId}});
    start(m_xml, QStringLiteral("wp:cNvGraphicFramePr"));
    empty(m_xml, QStringLiteral("a:graphicFrameLocks"),
          {{QStringLiteral("xmlns:a"), NsA}, {QStringLiteral("noChangeAspect"), QStringLiteral("1")}});
    m_xml.writeEndElement(); // wp:cNvGraphicFramePr
    start(m_xml, QStringLiteral("a:graphic"), {{QStringLiteral("xmlns:a"), NsA}});
    start(m_xml, QStringLiteral("a:graphicData"), {{QStringLiteral("uri"), NsPic}});
    start(m_xml, QStringLiteral("pic:pic"), {{QStringLiteral("xmlns:pic"), NsPic}});
    start(m_xml, QStringLiteral("pic:nvPicPr"));
    empty(m_xml, QStringLiteral("pic:cNvPr"),
          {{QStringLiteral("id"), zero}, {QStringLiteral("name"), pictureName(index)}});
    empty(m_xml, QStringLiteral("pic:cNvPicPr"));
    m_xml.writeEndElement(); // pic:nvPicPr
    start(m_xml, QStringLiteral("pic:blipFill"));
    empty(m_xml, QStringLiteral("a:blip"), {{QStringLiteral("r:embed"), id}});
    start(m_xml, QStringLiteral("a:stretch"));
    empty(m_xml, QStringLiteral("a:fillRect"));
    m_xml.writeEndElement(); // a:stretch
    m_xml.writeEndElement(); // pic:blipFill
    start(m_xml, QStringLiteral("pic:spPr"));
    start(m_xml, QStringLiteral("a:xfrm"));
    empty(m_xml, QStringLiteral("a:off"), {{QStringLiteral("x"), zero}, {QStringLiteral("y"), zero}});
    empty(m_xml, QStringLiteral("a:ext"), {{QStringLiteral("cx"), cx}, {QStringLiteral("cy"), cy}});
    m_xml.writeEndElement(); // a:xfrm
    start(m_xml, QStringLiteral("a:prstGeom"), {{QStringLiteral("prst"), QStringLiteral("rect")}});
    empty(m_xml, QStringLiteral("a:avLst"));
    m_xml.writeEndElement(); // a:prstGeom
    m_xml.writeEndElement(); // pic:spPr
    m_xml.writeEndElement(); // pic:pic
    m_xml.writeEndElement(); // a:graphicData
    m_xml.writeEndElement(); // a:graphic
    m_xml.writeEndElement(); // wp:inline
    m_xml.writeEndElement(); // w:drawing
    m_xml.writeEndElement(); // w:r
}

// Column widths in twips. Fitted columns get the width of their longest paragraph, shrunk
// towards the longest word when the table would be wider than the text.
QVector<int> DocxStoryWriter::columnWidths(int table, int first, int last) const
{
    const WordStory::Table &t = m_story.table(table);
    if (!t.autoFit)
        return QVector<int>(t.columns, std::max(1, twips(t.initialColumnWidth)));

    const int padding = 2 * CellMarginTwips + 30;
    QVector<int> natural(t.columns, padding);
    QVector<int> minimum(t.columns, padding);
    for (int i = first; i <= last; ++i) {
        const WordStory::Paragraph &p = m_story.paragraphs()[i];
        const int column = p.column;
        natural[column] =
            std::max(natural[column], padding + estimatedWidth(m_story, p.glyphs, 0, p.glyphs.size()));
        qsizetype wordStart = 0;
        for (qsizetype k = 0; k <= p.glyphs.size(); ++k) {
            if (k == p.glyphs.size() || p.glyphs[k].ch == u' ' || p.glyphs[k].ch == WordStory::TabChar) {
                minimum[column] =
                    std::max(minimum[column], padding + estimatedWidth(m_story, p.glyphs, wordStart, k));
                wordStart = k + 1;
            }
        }
    }
    const int available = std::max(720, twips(m_document.pageSetup().textWidth()));
    qint64 naturalSum = 0;
    qint64 minimumSum = 0;
    for (int c = 0; c < t.columns; ++c) {
        minimum[c] = std::min(minimum[c], natural[c]);
        naturalSum += natural[c];
        minimumSum += minimum[c];
    }
    if (naturalSum <= available)
        return natural;
    QVector<int> widths(t.columns);
    if (minimumSum >= available) {
        // Words, numbers above all, must not break inside. As Word does with a fitted table, let
        // it run into the right margin, up to 5 mm from the paper's edge, before squeezing it.
        const WordPageSetup &page = m_document.pageSetup();
        const int paper = std::max(available, page.pageWidthTwips() - twips(page.leftMargin()) - 284);
        if (minimumSum <= paper)
            return minimum;
        for (int c = 0; c < t.columns; ++c)
            widths[c] = std::max(1, int(qint64(minimum[c]) * paper / minimumSum));
        return widths;
    }
    const qint64 extra = available - minimumSum;
    const qint64 stretch = naturalSum - minimumSum;
    for (int c = 0; c < t.columns; ++c)
        widths[c] = minimum[c] + int(extra * (natural[c] - minimum[c]) / stretch);
    return widths;
}

void DocxStoryWriter::writeBorders()
{
    start(m_xml, QStringLiteral("w:tblBorders"));
    for (const char *side : {"w:top", "w:left", "w:bottom", "w:right", "w:insideH", "w:insideV"})
        empty(m_xml, QString::fromLatin1(side),
              {{QStringLiteral("w:val"), QStringLiteral("single")},
               {QStringLiteral("w:sz"), QStringLiteral("4")},
               {QStringLiteral("w:space"), QStringLiteral("0")},
               {QStringLiteral("w:color"), QStringLiteral("auto")}});
    m_xml.writeEndElement();
}

void DocxStoryWriter::writeTable(int first, int last)
{
    const auto &paragraphs = m_story.paragraphs();
    const int table = paragraphs[first].table;
    const QVector<int> widths = columnWidths(table, first, last);
    const bool autoFit = m_story.table(table).autoFit;

    start(m_xml, QStringLiteral("w:tbl"));
    start(m_xml, QStringLiteral("w:tblPr"));
    empty(m_xml, QStringLiteral("w:tblW"),
          {{QStringLiteral("w:w"), QStringLiteral("0")}, {QStringLiteral("w:type"), QStringLiteral("auto")}});
    writeBorders();
    empty(m_xml, QStringLiteral("w:tblLayout"),
          {{QStringLiteral("w:type"), autoFit ? QStringLiteral("autofit") : QStringLiteral("fixed")}});
    start(m_xml, QStringLiteral("w:tblCellMar"));
    empty(m_xml, QStringLiteral("w:left"),
          {{QStringLiteral("w:w"), number(CellMarginTwips)},
           {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    empty(m_xml, QStringLiteral("w:right"),
          {{QStringLiteral("w:w"), number(CellMarginTwips)},
           {QStringLiteral("w:type"), QStringLiteral("dxa")}});
    m_xml.writeEndElement(); // w:tblCellMar
    m_xml.writeEndElement(); // w:tblPr
    start(m_xml, QStringLiteral("w:tblGrid"));
    for (const int w : widths)
        empty(m_xml, QStringLiteral("w:gridCol"), {{QStringLiteral("w:w"), number(w)}});
    m_xml.writeEndElement(); // w:tblGrid

    // Paragraphs of a table run row by row and cell by cell; every cell has at least one.
    for (int i = first; i <= last;) {
        const int row = paragraphs[i].row;
        start(m_xml, QStringLiteral("w:tr"));
        while (i <= last && paragraphs[i].row == row) {
            const int column = paragraphs[i].column;
            start(m_xml, QStringLiteral("w:tc"));
            start(m_xml, QStringLiteral("w:tcPr"));
            empty(m_xml, QStringLiteral("w:tcW"),
                  {{QStringLiteral("w:w"), number(widths[column])},
                   {QStringLiteral("w:type"), QStringLiteral("dxa")}});
            m_xml.writeEndElement(); // w:tcPr
            while (i <= last && paragraphs[i].row == row && paragraphs[i].column == column)
                writeParagraph(paragraphs[i++]);
            m_xml.writeEndElement(); // w:tc
        }
        m_xml.writeEndElement(); // w:tr
    }
    m_xml.writeEndElement(); // w:tbl
}

} // namespace korvan
